// Pictures of the catalogue's two tabs with a few saved sites and files, offscreen:
//   suite_screenshots OUTPUT-FOLDER [--language ja|en] [--texts FILE]
// (the texts as in sitrova_screenshots: tests/support/WindowTexts.h)
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QComboBox>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "platform/qt/QtText.h"
#include "records/ChangeReport.h"
#include "records/HistoryIndex.h"
#include "records/SectionFile.h"
#include "suite/Registration.h"
#include "suite/qt/QdxListView.h"
#include "suite/qt/SavedFileView.h"
#include "suite/qt/SuiteWindow.h"
#include "tests/records/LogText.h"
#include "tests/support/QtControls.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WindowTexts.h"
#include "platform/UiLanguage.h"
#include "platform/qt/UiText.h"

namespace {

using testsupport::Sandbox;

struct Site {
    const char* folder;
    const char* url;
    const char* comment;
    int opened;
};

void WriteSite(const std::string& saves, const Site& site) {
    const std::string folder = saves + site.folder + "/";
    std::filesystem::create_directories(folder + "site.files");
    const std::string qdx = folder + "site.qdx";
    Sandbox::WriteFile(qdx, "769\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n");
    recordstest::LogHeader header;
    header.storedFolder = folder + "site.files/";
    header.saveName = "index.html";
    header.urlBase = site.url;
    header.urlLeaf = "index.html";
    header.modeWord = 769;
    Sandbox::WriteFile(header.storedFolder + "SitrovSaveInfo.log", recordstest::LogText(header, {}));
    records::SectionFile record;
    if (record.Load(qdx) == 1) {
        (void)records::WriteComment(record, site.comment);
        (void)records::AddLink(record, "更新履歴", std::string(site.url) + "history.html");
    }
    for (int i = 0; i < site.opened; ++i)
        (void)suite::RegisterInFile(saves + "../program/QdxSuite.xml", {"QDX", qdx, ""});
}

// The history index of an updated site: a save `savedDaysAgo`, then an update `updatedDaysAgo`
// that met the given numbers of new, changed, unchanged, gone and failed pages.
void WriteUpdate(const std::string& saves, const char* site, int savedDaysAgo, int updatedDaysAgo, const int (&counts)[5]) {
    const std::string folder = saves + site + "/site.files/";
    const int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch()).count();
    constexpr int64_t kDay = 24 * 60 * 60;
    records::HistoryIndex index;
    if (index.Open(folder + records::kHistoryIndexName) == records::HistoryIndex::OpenFailed) return;
    index.EndRun(index.BeginRun("save", now - savedDaysAgo * kDay), now - savedDaysAgo * kDay + 40, 1, "");
    const int64_t ended = now - updatedDaysAgo * kDay;
    const int64_t run = index.BeginRun("update", ended - 5);
    const char* statuses[5] = {"new", "changed", "unchanged", "gone", "failed"};
    int n = 0;
    for (int s = 0; s < 5; ++s)
        for (int i = 0; i < counts[s]; ++i) {
            records::HistoryEntry e;
            e.url = std::string("https://example/") + std::to_string(n++);
            e.path = "p" + std::to_string(n) + ".html";
            e.page = true;
            e.status = statuses[s];
            e.lastRun = run;
            index.Put(e);
        }
    index.EndRun(run, ended, counts[0] + counts[1] > 0 ? 4 : 2, "");
    Sandbox::WriteFile(folder + records::ChangeReportName(ended), "<html></html>");
}

void WritePicture(const std::string& path, QColor from, QColor to) {
    QImage image(320, 240, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 320, 240);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(255, 255, 255, 160));
    painter.drawEllipse(QPoint(200, 90), 50, 50);
    painter.end();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    (void)image.save(platformqt::ToQ(path), "JPG");
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
    FILE* texts = textsPath.empty() ? nullptr : std::fopen(textsPath.c_str(), "w");
    if (!textsPath.empty() && !texts) return 1;
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    const std::string out = argv[1];
    std::filesystem::create_directories(out);

    Sandbox box;
    const std::string program = box / "program";
    const std::string saves = box / "saves/";
    std::filesystem::create_directories(program);
    const Site sites[] = {
        {"python-docs", "https://docs.python.org/3/", "Python 3 の公式ドキュメント。オフラインで読む用。", 4},
        {"rust-book", "https://doc.rust-lang.org/book/", "The Rust Programming Language 日本語訳と原文", 2},
        {"tenki-blog", "https://tenki.example.jp/blog/", "山の天気ブログ。写真が多いので月に一度更新チェック。", 7},
        {"recipes", "https://recipe.example.net/washoku/", "", 1},
    };
    for (const Site& s : sites) WriteSite(saves, s);
    WriteUpdate(saves, "python-docs", 40, 2, {0, 12, 4388, 1, 0});
    WriteUpdate(saves, "tenki-blog", 90, 3, {6, 2, 310, 0, 1});
    WriteUpdate(saves, "rust-book", 60, 20, {0, 0, 512, 0, 0});
    const struct {
        const char* url;
        const char* file;
        QColor from, to;
    } pictures[] = {
        {"https://photo.example.com/album/2026/fuji_001.jpg", "album/fuji_001.jpg", QColor(40, 90, 170), QColor(240, 200, 120)},
        {"https://photo.example.com/album/2026/fuji_002.jpg", "album/fuji_002.jpg", QColor(20, 120, 80), QColor(200, 230, 250)},
        {"https://files.example.org/manual/guide.pdf", "downloads/guide.pdf", QColor(), QColor()},
    };
    for (const auto& p : pictures) {
        const std::string local = saves + p.file;
        if (p.from.isValid()) WritePicture(local, p.from, p.to);
        else Sandbox::WriteFile(local, std::string(180000, 'x'));
        (void)suite::RegisterInFile(program + "/QdxSuite.xml", {"FILE", p.url, local});
    }

    suite::Catalogue catalogue(program + "/QdxSuite.xml");
    suiteqt::SuiteHooks hooks;
    suiteqt::SuiteWindow window(program, catalogue, hooks, "suite-screenshots-map");
    window.resize(900, 560);
    window.show();
    if (!testsupport::RunUntil([&] { return window.Loaded(); }, 20000)) return 1;
    int failed = 0;
    auto save = [&](const char* name, QWidget* shown = nullptr) {
        if (!shown) shown = &window;
        shown->show();
        QApplication::processEvents();
        if (texts) failed += windowtexts::WriteTexts(texts, shown, name, platform::InEnglish());
        const std::string path = out + "/" + name + ".png";
        if (shown->grab().save(platformqt::ToQ(path))) std::printf("wrote %s\n", path.c_str());
        else ++failed;
    };
    window.SearchBox()->setEditText(QStringLiteral("blog"));
    window.SearchButton()->click();
    save("suite-qdx-list");
    window.SearchBox()->setEditText(QString());
    (void)window.ShowChangedWithin(7);
    save("suite-update-column");
    window.SearchButton()->click();
    window.Tabs()->setCurrentIndex(1);
    QTreeWidget* files = window.FileView()->List();
    if (files->topLevelItemCount() > 0) files->setCurrentItem(files->topLevelItem(0));
    save("suite-saved-files");
    save("suite-dialog-changed-within", suiteqt::MakeChangedWithinDialog(&window).get());
    save("suite-dialog-version", suiteqt::MakeVersionDialog(&window).get());
    if (texts) std::fclose(texts);
    return failed == 0 ? 0 : 1;
}
