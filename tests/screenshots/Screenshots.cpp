// Shows every window and dialog of Sitrova offscreen with realistic contents and writes one
// PNG each:   sitrova_screenshots OUTPUT-FOLDER [--language ja|en] [--texts FILE]
// With --texts it also writes the texts every window shows (titles, labels, buttons, menus,
// column headers, choices, tips), window by window; in English, a text still in Japanese or
// cut off by its control counts as a failure.
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QMainWindow>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QTimer>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QProgressBar>
#include <QTreeWidget>
#include <memory>
#include <cstdio>
#include <filesystem>

#include "app/InputRules.h"
#include "app/PageAnalysis.h"
#include "app/qt/AdRemovalView.h"
#include "app/qt/CpuPopup.h"
#include "app/qt/MainMenu.h"
#include "albumfetcher/qt/AlbumWindow.h"
#include "app/qt/MainWindow.h"
#include "app/qt/TraceSelectWindow.h"
#include "download/qt/FileSaveView.h"
#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "engine/qt/ProgressView.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileUtil.h"
#include "records/SectionFile.h"
#include "records/qt/RecordWindows.h"
#include "records/qt/SavedSiteView.h"
#include "rerevu/TitleProgress.h"
#include "scheduler/qt/JobDialog.h"
#include "scheduler/qt/ScheduleWindow.h"
#include "scheduler/qt/SchedulerDialogs.h"
#include <gtest/gtest.h>  // the saved-site fixtures use its assertions

#include "tests/records/qt/SavedSiteFiles.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WindowTexts.h"
#include "platform/UiLanguage.h"
#include "platform/qt/UiText.h"

using namespace engine::mode;

namespace {

std::string g_out;
int g_written = 0;
int g_failed = 0;
FILE* g_texts = nullptr;

void Save(QWidget* widget, const std::string& name) {
    widget->show();
    QApplication::processEvents();
    if (g_texts) g_failed += windowtexts::WriteTexts(g_texts, widget, name, platform::InEnglish());
    const std::string path = g_out + "/" + name + ".png";
    if (widget->grab().save(QString::fromStdString(path))) {
        ++g_written;
        std::printf("wrote %s\n", path.c_str());
    } else {
        ++g_failed;
        std::fprintf(stderr, "could not write %s\n", path.c_str());
    }
}

void SetUpFonts() {
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    QApplication::setFont(font);
}

void ShowInputView(const std::string& programFolder) {
    engine::SaveJob job;
    job.SetProgramFolder(programFolder);
    job.SetModeBits(ModeNormal | ModePresetUrl);
    job.SetStartUrl("https://www.example.jp/docs/index.html");
    job.SetSaveTarget(programFolder + "/saves/docs.html");
    appqt::MainWindow window(job, ModeNormal);
    window.resize(640, 580);
    Save(&window, "main-input");
    if (auto* options = window.findChild<QPushButton*>(QStringLiteral("ctl522"))) options->click();
    Save(&window, "main-input-options");
}

void ShowProgressView(const std::string& programFolder) {
    engine::SaveJob job;
    job.SetProgramFolder(programFolder);
    job.SetModeBits(ModeNormal | datafolder | qdxfile);
    job.SetStartUrl("https://www.example.jp/docs/index.html");
    job.SetSaveTarget(programFolder + "/saves/docs.html");
    job.SetLankLimit(1);
    job.SetJobSummary(engine::BuildJobSummary(job));
    job.SetCpuSleepMs(3);
    job.SetStartTick(platform::TickCount() - 95000);  // 1 minute 35 seconds into the save
    job.AddFound(148);
    job.LinkDone(61);
    const char* pages[] = {"index.html", "about.html", "docs/guide.html", "docs/install.html", "news/2026.html"};
    for (const char* p : pages) {
        job.AppendSimpleLog(std::string("https://www.example.jp/docs/") + p);
        job.AppendLog(std::string("https://www.example.jp/docs/") + p + "からＤＬ中…");
        job.AppendLog("  階層ナンバー: 1   (R.Func:2 )");
        job.AppendLog("  コードを変換＆リンク先を調査中…50％･･･100％");
        job.AppendLog("  12個のリンク先が見つかりました。");
    }
    QMainWindow window;
    appqt::BuildInputMenuBar(window.menuBar(), false, [](int) {});
    auto* view = new engineqt::ProgressView(job, &window);
    window.setCentralWidget(view);
    view->CreateControls();
    window.resize(640, 580);
    window.show();
    view->OnCommand(engineqt::ProgressView::DetailButton);
    view->Tick();
    Save(&window, "progress");
}

void ShowSavedSite(const testsupport::Sandbox& box, const std::string& programFolder) {
    const recordsqttest::SavedSite site = recordsqttest::WriteSavedSite(box, 0x301 | arias, 1, 42);
    records::SectionFile record;
    // The related links and the comment are the user's own words, in the user's language.
    const bool english = platform::InEnglish();
    if (record.Load(site.qdxPath) == 1) {
        (void)records::AddLink(record, english ? "Manual (PDF)" : "マニュアル (PDF)", "https://www.example.jp/manual.pdf");
        (void)records::AddLink(record, english ? "Notes on this save" : "保存メモ", site.folder + "memo.txt");
        (void)records::WriteComment(record, english ? "Check for updates on the 1st of each month.\r\n"
                                                      "Pictures are kept in another folder too."
                                                    : "毎月1日に更新をチェックする。\r\n画像は別フォルダにも保存済み。");
    }
    engine::SaveJob job;
    recordsqttest::PrepareJob(job, site, programFolder);
    QMainWindow window;
    window.resize(360, 480);
    recordsqt::CreateSavedSiteView(&window, job, [] {});
    Save(&window, "saved-site");

    recordsqt::CommentEditor comment(&window, job);
    Save(&comment, "dialog-QdxComment");
    recordsqt::LinkAddWindow add(&window, job);
    Save(&add, "dialog-QdxLinkAdd");
    recordsqt::LinkDelWindow del(&window, job);
    Save(&del, "dialog-QdxLinkDel");
    records::RelatedLink link{english ? "Manual (PDF)" : "マニュアル (PDF)", "https://www.example.jp/manual.pdf", ""};
    recordsqt::LinkActionWindow action(&window, link, [](const std::string&) { return 1; }, {600000, 600000});
    Save(&action, "dialog-QdxLinkAction");
}

// A saved site of twelve pages, some still carrying hosting banners, cleaned by the ad-removal run.
void ShowAdRemoval(const testsupport::Sandbox& box, const std::string& programFolder) {
    const recordsqttest::SavedSite site = recordsqttest::WriteSavedSite(box, 0x301, 1, 12);
    for (int i = 0; i < 12; ++i) {
        const std::string ad = i % 3 == 0 ? "<!-- start AD --><a href=\"http://ad.example/\">AD</a><!-- end AD -->" : "";
        testsupport::Sandbox::WriteFile(site.folder + "site.files/p" + std::to_string(i) + ".html",
                                        "<html><body>" + ad + "<p>page</p></body></html>");
    }
    engine::SaveJob job;
    job.SetProgramFolder(programFolder);
    job.SetQdxPath(site.qdxPath);
    job.SetModeBits(ModeAdRemoval);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Sitrova"));
    auto* view = new appqt::AdRemovalView(job, false, &window);
    window.setCentralWidget(view);
    window.resize(480, 420);
    window.show();
    (void)testsupport::RunUntil([view] { return view->Finished(); }, 20000);
    Save(&window, "ad-removal");
}

// Pages of another site (a second loopback host) with their titles fetched.
void ShowOutDomainSelect() {
    testsupport::Sandbox pages;
    const char* titles[][2] = {{"docs/guide.html", "利用ガイド - Example Docs"},
                               {"blog/2026/12/release.html", "バージョン 2.0 を公開しました"},
                               {"forum/index.html", "ユーザーフォーラム"},
                               {"wiki/FAQ.html", "よくある質問 (FAQ)"}};
    for (const auto& t : titles)
        testsupport::Sandbox::WriteFile(pages / t[0], std::string("<html><head><title>") + t[1] + "</title></head></html>");
    testsupport::LoopbackServer other(pages.Path(), "", "127.0.0.2");
    engine::SaveJob job;
    std::vector<std::string> urls, sources;
    for (const auto& t : titles) {
        urls.push_back(other.BaseUrl() + "/" + t[0]);
        sources.push_back("/saves/docs.files/index.html");
    }
    job.SetOutDomainLinks(urls, sources);
    QMainWindow owner;
    std::unique_ptr<QDialog> dialog(appqt::CreateDialogByName("OutDomainSelectDlg", &owner, job, {}));
    dialog->show();
    (void)testsupport::RunUntil([&] { return !dialog->windowTitle().contains(QStringLiteral("取得中")); }, 20000);
    Save(dialog.get(), "dialog-OutDomainSelectDlg");
}

// The start page of a documentation site, its links gathered by folder with their titles;
// the user has ticked the guide.
void ShowTraceSelect() {
    testsupport::Sandbox pages;
    const char* titles[][2] = {{"docs/guide/index.html", "利用ガイド - 目次"},
                               {"docs/guide/install.html", "インストール手順"},
                               {"docs/guide/settings.html", "環境設定の詳細"},
                               {"docs/faq.html", "よくある質問 (FAQ)"},
                               {"news/2026/release.html", "バージョン 2.0 を公開しました"},
                               {"news/2026/maintenance.html", "サーバー保守のお知らせ"},
                               {"forum/index.php?board=1", "ユーザーフォーラム"}};
    std::string start = "<html><head><title>Example Docs</title></head><body>";
    for (const auto& t : titles) {
        std::string file = t[0];
        file = file.substr(0, file.find('?'));
        testsupport::Sandbox::WriteFile(pages / file,
                                        std::string("<html><head><title>") + t[1] + "</title></head></html>");
        start += std::string("<a href=\"/") + t[0] + "\">" + t[1] + "</a>";
    }
    testsupport::Sandbox::WriteFile(pages / "docs/index.html", start + "<img src=\"/logo.png\"></body></html>");
    testsupport::LoopbackServer site(pages.Path());
    QMainWindow owner;
    std::vector<std::string> chosen;
    const std::string startUrl = site.BaseUrl() + "/docs/index.html";
    std::unique_ptr<QDialog> window(appqt::CreateTraceSelectWindow(&owner, startUrl, &chosen));
    window->show();
    auto* progress = window->findChild<QProgressBar*>(QStringLiteral("progress"));
    (void)testsupport::RunUntil(
        [&] { return progress->maximum() > 0 && progress->value() == progress->maximum(); }, 20000);
    if (auto* list = window->findChild<QTreeWidget*>(QStringLiteral("linkList")); list && list->topLevelItemCount() > 0)
        list->topLevelItem(0)->setCheckState(0, Qt::Checked);
    Save(window.get(), "dialog-QdxSelectTraceWnd");
}

// "？" on a watch page of the video service: the companion page (here on loopback) was read
// and the video file's address is offered.
void ShowAnalysisLit(const std::string& programFolder) {
    testsupport::Sandbox site;
    testsupport::LoopbackServer server(site.Path());
    const std::string id = "Zx3pQ8rVt0k";
    (void)server.SetRules("{\"/yt.com/watch?v=" + id + "\": {\"body\": \"<html><script>var s = {url: \\\"" +
                          server.BaseUrl() + "/videoplayback?id=" + id + "&itag=34\\\"};</script></html>\"}}");
    engine::SaveJob job;
    job.SetProgramFolder(programFolder);
    appqt::DialogArgs args;
    args.url = "https://www.youtube.com/watch?v=" + id;
    std::string url = args.url, savePath = programFolder + "/saves/";
    args.fields.url = [&] { return url; };
    args.fields.setUrl = [&](const std::string& text) { url = text; };
    args.fields.savePath = [&] { return savePath; };
    args.fields.setSavePath = [&](const std::string& text) { savePath = text; };
    app::UrlHandlerOptions options;
    options.videoCompanionHost = server.BaseUrl() + "/yt";
    QMainWindow owner;
    std::unique_ptr<QDialog> dialog(appqt::CreateAnalysisLitDialog(&owner, job, args, options));
    dialog->show();
    auto* button = dialog->findChild<QPushButton*>(QStringLiteral("ctl1103"));
    (void)testsupport::RunUntil([&] { return button->isVisible(); }, 20000);
    Save(dialog.get(), "dialog-AnalysisLit");
}

// The detailed result of analysing a gallery page: links two levels up, a main picture and
// many links into another site.
void ShowAnalysisStd() {
    app::PageAnalysis page;
    page.url = "https://www.example.jp/gallery/2026/index.html";
    page.links.push_back({"https://www.example.jp/index.html", 20, -2, 0, "Example ホーム"});
    page.links.push_back({"https://www.example.jp/gallery/index.html", 20, -1, 0, "ギャラリー一覧"});
    page.links.push_back({"/about.html", 20, -2, 1, "このサイトについて"});
    page.links.push_back({"https://www.example.jp/gallery/2026/thumb.jpg", app::KindPicture, 1, 120, ""});
    page.links.push_back({"https://www.example.jp/gallery/2026/harbour.jpg", app::KindPicture, 1, 980, ""});
    for (int i = 0; i < 30; ++i)
        page.links.push_back({"https://photos.example.net/album/p" + std::to_string(i) + ".html", 80, 0, 0, ""});
    app::SummariseLinks(page);
    appqt::DialogArgs args;
    const app::AnalysisDetails details = app::DetailsOf(page);
    args.message = details.message;
    args.advice = details.advice;
    args.objectUrls = app::MainObjectUrls(page);
    args.applyRecommendations = [] {};
    args.setUrl = [](const std::string&) {};
    engine::SaveJob job;
    QMainWindow owner;
    std::unique_ptr<QDialog> dialog(appqt::CreateDialogByName("AnalysisStd", &owner, job, args));
    Save(dialog.get(), "dialog-AnalysisStd");
}

void ShowDialogs(const std::string& programFolder) {
    engine::SaveJob job;
    job.SetProgramFolder(programFolder);
    job.SetStartUrl("https://www.example.jp/docs/index.html");
    job.SetSaveTarget(programFolder + "/saves/docs.html");
    QMainWindow owner;
    owner.resize(640, 580);
    const std::vector<std::string> names = {"VersionInfo", "InitializeSiteDL", "InitializeSrsFile",
                                            "InitializeExtReg", "InitializeOther", "ErrorLogViewer",
                                            "DropHtmlCutAdv",   "InitializeWeb"};
    appqt::DialogArgs args;
    args.filePath = programFolder + "/saves/page.html";
    for (const std::string& name : names) {
        QDialog* dialog = appqt::CreateDialogByName(name, &owner, job, args);
        if (!dialog) {
            ++g_failed;
            std::fprintf(stderr, "no dialog %s\n", name.c_str());
            continue;
        }
        Save(dialog, "dialog-" + name);
        delete dialog;
    }
    appqt::CpuPopup cpu(&owner, 80);
    Save(&cpu, "dialog-CpuPopup");
}

void ShowScheduler(const std::string& programFolder) {
    schedulerqt::SchedulerHooks hooks = schedulerqt::DefaultSchedulerHooks();
    hooks.clipboardText = [](std::string& text) {
        text.clear();
        return true;
    };
    schedulerqt::ScheduleWindow window(programFolder, "", hooks);
    window.show();
    const struct {
        const char* url;
        const char* name;
        bool agent;
    } jobs[] = {{"http://www.example.org/docs/", "docs", false},
                {"http://www.example.com/manual/index.html", "manual", true},
                {"https://www.example.net/notes/top.html", "notes", false}};
    for (const auto& job : jobs) {
        window.onJobDialog = [&](schedulerqt::JobDialog& dialog) {
            QTimer::singleShot(0, &dialog, [&dialog, &job, &programFolder] {
                dialog.urlEdit()->setText(QString::fromUtf8(job.url));
                dialog.pathEdit()->setText(QString::fromStdString(programFolder + "/saves/" + job.name + ".html"));
                if (job.agent) dialog.check(schedulerqt::JobDialog::UseAgent)->click();
                dialog.okButton()->click();
            });
        };
        window.AddJob();
    }
    Save(&window, "scheduler");

    scheduler::ScheduledJob job = scheduler::NewScheduledJob("");
    job.url = "http://www.example.org/docs/";
    job.savePath = programFolder + "/saves/docs.html";
    job.optionsShown = true;
    schedulerqt::JobDialog dialog(job, programFolder, hooks, &window);
    Save(&dialog, "scheduler-job-dialog");
    dialog.webButton()->click();
    Save(dialog.webDialog(), "scheduler-job-web-options");
    std::unique_ptr<QDialog> cpu(schedulerqt::MakeCpuDialog(&window));
    Save(cpu.get(), "scheduler-dialog-QdXSchdCpu");
    std::unique_ptr<QDialog> version(schedulerqt::MakeVersionDialog(&window));
    Save(version.get(), "scheduler-dialog-QdXSchdVer");
}

// Pictures for the windows that fetch files: a small photo series served on loopback.
std::string ServePhotos(const testsupport::Sandbox& site, int count) {
    for (int n = 1; n <= count; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "photos/img%03d.jpg", n);
        testsupport::Sandbox::WriteFile(site / name, "\xFF\xD8" + std::string(40000 + n * 3777, 'p'));
    }
    return site.Path();
}

void WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 30000) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void ShowFileSave(const std::string& programFolder) {
    testsupport::Sandbox site, out;
    testsupport::LoopbackServer server(ServePhotos(site, 6));
    engine::SaveJob job;
    job.SetProgramFolder(programFolder);
    job.SetModeBits(ModeNormal);
    appqt::MainWindow window(job, ModeNormal);
    bool pictured = false;
    // The picture is taken while the end-of-series question is up (the run's only notice);
    // no asks to open the folder.
    window.Hooks().message = [&](QWidget*, const std::string&, const std::string&, platformqt::MessageIcon icon,
                                 platformqt::MessageButtons, int) {
        if (icon == platformqt::IconInformation) {
            Save(&window, "file-save");
            pictured = true;
            return static_cast<int>(platformqt::AnswerNo);
        }
        return static_cast<int>(platformqt::AnswerYes);
    };
    job.ClearModeBits(ModeNormal);
    job.SetStartUrl(server.BaseUrl() + "/photos/img001.jpg");
    job.SetSaveTarget(out.Path() + "img001.jpg");
    window.show();
    window.StartFileSave();
    WaitFor([&] { return pictured; });
    if (!pictured) {
        ++g_failed;
        std::fprintf(stderr, "the serial save did not end\n");
    }
}

// The helper library's window, as its companion shows it while a page title is fetched.
void ShowTitleProgress() {
    const platform::DynamicLibrary companion(std::string(SITROVA_BIN_DIR) + "/" + rerevu::kQtCompanionName);
    const auto show = companion.Function<rerevu::ShowProgressFn>(rerevu::kQtShowProgressExport);
    if (!show) {
        ++g_failed;
        std::fprintf(stderr, "no title progress window in %s\n", rerevu::kQtCompanionName);
        return;
    }
    bool pictured = false;
    QTimer::singleShot(0, [&pictured] {
        if (QWidget* window = QApplication::activeModalWidget()) Save(window, "rerevu-title-progress");
        pictured = true;
    });
    const auto finished = [](void* context) { return *static_cast<bool*>(context) ? 1 : 0; };
    if (show(nullptr, finished, &pictured, platform::InEnglish() ? 1 : 0) != 1) {
        ++g_failed;
        std::fprintf(stderr, "the title progress window did not close by itself\n");
    }
}

void ShowAlbumFetcher(const std::string& programFolder) {
    testsupport::Sandbox site, out;
    ServePhotos(site, 4);
    testsupport::LoopbackServer server(site.Path());
    const std::string base = server.BaseUrl();
    const char* titles[] = {"夕暮れの海", "港の灯り", "山の湖", "朝の市場"};
    std::string list, rules = "{";
    for (int i = 1; i <= 4; ++i) {
        const std::string view = "/album/vwp?.dir=/trip&.dnm=" + std::to_string(i);
        list += "<a href=\"" + base + view + "&view=l&.done=back\"><b>" + titles[i - 1] + "</b></a>\n";
        char image[32];
        std::snprintf(image, sizeof image, "/photos/img%03d.jpg", i);
        rules += std::string(i > 1 ? ", " : "") + "\"" + view + "&view=t&.hires=t\": {\"body\": \"<img src=\\\"" + base +
                 image + "\\\" alt=\\\"" + titles[i - 1] + "\\\">\"}";
    }
    testsupport::Sandbox::WriteFile(site / "album/lst", list);
    (void)server.SetRules(rules + "}");
    albumqt::AlbumHooks hooks;
    bool pictured = false;
    albumqt::AlbumWindow* shown = nullptr;
    hooks.message = [&](QWidget*, const std::string&, const std::string&, platformqt::MessageIcon,
                        platformqt::MessageButtons, int answer) {
        if (shown && !pictured) Save(shown, "album-fetcher");
        pictured = true;
        return answer;
    };
    hooks.startProgram = [](const std::string&, const std::vector<std::string>&) { return 1; };
    albumqt::AlbumWindow window({base + "/album/lst?.dir=/trip", out.Path() + "trip", "auto"}, programFolder, hooks);
    shown = &window;
    window.show();
    WaitFor([&] { return window.Finished(); });
    if (!pictured) {
        ++g_failed;
        std::fprintf(stderr, "the album run did not end\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    windowtexts::ShotOptions options;
    if (!windowtexts::ParseShotOptions(argc, argv, options)) return 2;
    const std::string& textsPath = options.textsPath;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::SetUiLanguage(options.language);
    QApplication application(argc, argv);
    if (!platformqt::InstallTranslations(SITROVA_BIN_DIR)) return 1;
    SetUpFonts();
    g_out = argv[1];
    if (!textsPath.empty() && !(g_texts = std::fopen(textsPath.c_str(), "w"))) {
        std::fprintf(stderr, "cannot write %s\n", textsPath.c_str());
        return 1;
    }
    std::filesystem::create_directories(g_out);

    testsupport::Sandbox box;
    const std::string programFolder = box.Path() + "program";
    std::filesystem::create_directories(programFolder + "/saves");
    setenv("XDG_DATA_HOME", (box.Path() + "xdg-data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (box.Path() + "xdg-config").c_str(), 1);

    ShowInputView(programFolder);
    ShowProgressView(programFolder);
    testsupport::Sandbox siteBox;
    ShowSavedSite(siteBox, programFolder);
    testsupport::Sandbox adBox;
    ShowAdRemoval(adBox, programFolder);
    // The serial-save settings list the checks of the plug-in beside the program.
    std::filesystem::copy_file(std::string(SITROVA_BIN_DIR) + "/Sitg_PlgIn_NotFound.qdi",
                               programFolder + "/Sitg_PlgIn_NotFound.qdi");
    ShowDialogs(programFolder);
    ShowOutDomainSelect();
    ShowTraceSelect();
    ShowAnalysisLit(programFolder);
    ShowAnalysisStd();
    ShowScheduler(programFolder);
    ShowFileSave(programFolder);
    ShowAlbumFetcher(programFolder);
    ShowTitleProgress();
    if (g_texts) std::fclose(g_texts);
    std::printf("%d pictures, %d failures\n", g_written, g_failed);
    return g_failed == 0 && g_written > 0 ? 0 : 1;
}
