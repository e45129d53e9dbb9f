// Saves started from the input view against the loopback server, the history they leave,
// the page-title fetch, and what is dropped on the window.
#include <QMimeData>
#include <QUrl>

#include "app/SaveOffers.h"
#include "app/TitleFetch.h"
#include "app/qt/SaveOffers.h"
#include "engine/qt/ProgressView.h"
#include "platform/Codepage.h"
#include "records/SectionFile.h"
#include "records/Settings.h"
#include "tests/app/qt/InputViewFixture.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/WaitFor.h"

using namespace engine::mode;
using inputtest::InputViewTest;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

const std::string kPage = "<html><head><title>Demo: Page</title></head><body>hello</body></html>";

}  // namespace

class InputSaveTest : public InputViewTest {
protected:
    void SetUp() override {
        InputViewTest::SetUp();
        Sandbox::WriteFile(site / "index.html", kPage);
        server = std::make_unique<LoopbackServer>(site.Path(), "{\"/missing.html\": {\"status\": 404}}");
        ASSERT_TRUE(server->Running());
    }

    // Types the URL and the target, presses "ダウンロード" and waits for the save's end.
    void SaveThroughTheWindow(const std::string& url, const std::string& target) {
        Open();
        Type(514, url);
        Type(516, target);
        Click(520);
        ASSERT_NE(window->Progress(), nullptr);
        EXPECT_EQ(window->Input(), nullptr);
        ASSERT_TRUE(RunUntil([this] { return job->WorkerEnded(); }));
        window->Progress()->Tick();
    }

    // A drag enters the window and is dropped, as the desktop delivers it.
    void Drop(QMimeData* data, QWidget* target = nullptr) {
        if (!target) target = window.get();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        delete data;
    }

    Sandbox site;
    std::unique_ptr<LoopbackServer> server;
};

TEST_F(InputSaveTest, DownloadTurnsTheWindowIntoTheProgressViewAndSaves) {
    ASSERT_TRUE(platform::CreateFolder(box / "out"));
    SaveThroughTheWindow(server->BaseUrl() + "/", box / "out/site.html");

    EXPECT_TRUE(job->Has(ModeNormal | ModeIndexAppended | datafolder | qdxfile | RetryOnFailure | NotFoundTitleCheck));
    EXPECT_EQ(job->StartUrl(), server->BaseUrl() + "/");
    EXPECT_EQ(Sandbox::ReadFile(job->StartPath()), kPage);
    EXPECT_TRUE(Sandbox::Exists(box / "out/site.qdx"));
    EXPECT_TRUE(window->Progress()->ReportShown());
    EXPECT_EQ(window->Progress()->ReportText().indexOf(QStringLiteral("しかし")), -1) << window->Progress()->ReportText().toStdString();

    // The target went into the history, and the next window offers it.
    EXPECT_EQ(records::ReadSaveHistory(job->IniPath()), std::vector<std::string>{box / "out/site.html"});
    NewJob();
    Open();
    ASSERT_EQ(Control<QComboBox>(516)->count(), 1);
    EXPECT_EQ(platformqt::FromQ(Control<QComboBox>(516)->itemText(0)), box / "out/site.html");
    EXPECT_EQ(Text(516), box / "out/新規ページ.html");
}

TEST_F(InputSaveTest, MakerModeOfTheArgumentLineSurvivesTheStartAndSkipsTheCrawl) {
    ASSERT_TRUE(platform::CreateFolder(box / "out"));
    NewJob(ModeMaker);
    SaveThroughTheWindow(server->BaseUrl() + "/index.html", box / "out/site.html");
    EXPECT_TRUE(job->Has(ModeMaker));
    EXPECT_TRUE(job->Has(ModeNormal));
    EXPECT_FALSE(Sandbox::Exists(job->StartPath())) << job->StartPath();
}

TEST_F(InputSaveTest, FolderMadeOnYesAndOptionsReachTheJob) {
    answer = [](const inputtest::Shown&) { return platformqt::AnswerYes; };
    WriteSettings("[BasicOption]\r\nDefMode=" + std::to_string(0x800000 | 0x1000000 | 0x80000) + "\r\n");
    NewJob();
    Open();
    Click(522);
    Control<QCheckBox>(527)->click();
    Control<QCheckBox>(537)->click();
    Type(514, server->BaseUrl() + "/index.html");
    Type(516, box / "made/here/top.html");
    Click(520);
    ASSERT_NE(window->Progress(), nullptr);
    EXPECT_TRUE(Sandbox::Exists(box / "made/here"));
    ASSERT_TRUE(RunUntil([this] { return job->WorkerEnded(); }));
    const uint32_t flags = job->ModeFlags();
    EXPECT_EQ(flags & app::InputOptionMask(), arias | TraceSelect | FollowDynamicPages);
    EXPECT_FALSE(flags & ModeIndexAppended);
    EXPECT_EQ(Sandbox::ReadFile(box / "made/here/top.html"), kPage);
}

TEST_F(InputSaveTest, PageTitleBecomesTheSaveName) {
    Open();
    Type(514, server->BaseUrl() + "/index.html");
    Type(516, box / "old.html");
    Click(519);
    EXPECT_FALSE(Control<QPushButton>(519)->isEnabled());
    ASSERT_TRUE(RunUntil([this] { return !window->Input()->TitleFetchRunning(); }, 15000));
    window->Input()->TitleTick();
    EXPECT_EQ(Text(516), box / "Demo_ Page.html");
    EXPECT_TRUE(Control<QPushButton>(519)->isEnabled());
    EXPECT_TRUE(shown.empty());

    Type(514, server->BaseUrl() + "/missing.html");
    Click(519);
    ASSERT_TRUE(RunUntil([this] { return !window->Input()->TitleFetchRunning(); }, 15000));
    window->Input()->TitleTick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "タイトル取得に失敗しました（ページアクセスに失敗）。");
    EXPECT_EQ(Text(516), box / "Demo_ Page.html");
}

TEST_F(InputSaveTest, TitleFetchReadsShiftJisAndOnlyTheHead) {
    std::string sjis;
    ASSERT_EQ(platform::Utf8ToCp932("<html><head><title>\r\n日本語のページ\r\n</title>", sjis), platform::CodepageOk);
    Sandbox::WriteFile(site / "sjis.html", sjis);
    Sandbox::WriteFile(site / "late.html", std::string(4000, ' ') + "<title>late</title>");
    const struct {
        const char* path;
        int result;
        const char* title;
    } cases[] = {{"/sjis.html", 1, "日本語のページ"}, {"/late.html", 0, ""}, {"/missing.html", 0, ""}};
    for (const auto& c : cases) {
        app::TitleFetch fetch;
        fetch.Start(server->BaseUrl() + c.path);
        ASSERT_TRUE(testsupport::WaitFor([&] { return !fetch.Running(); }, 15000)) << c.path;
        std::string title;
        EXPECT_EQ(fetch.Result(title), c.result) << c.path;
        EXPECT_EQ(title, c.title) << c.path;
    }
}

TEST_F(InputSaveTest, DroppedUrlSetsTheFieldsAndShortcutsGiveTheirUrl) {
    Open();
    Type(516, box / "keep/old.html");
    auto* text = new QMimeData;
    text->setText(QStringLiteral("http://h/folder"));
    Drop(text, Control(514));  // dropped on the field, handled by the window's rules
    // Without settings the completion is off: the folder only gets its slash.
    EXPECT_EQ(Text(514), "http://h/folder/");
    EXPECT_EQ(Text(516), box / "keep/index.html");

    auto* link = new QMimeData;
    link->setUrls({QUrl(QStringLiteral("http://h/a/page.html#top"))});
    Drop(link);
    EXPECT_EQ(Text(514), "http://h/a/page.html");
    EXPECT_EQ(Text(516), box / "keep/page.html");

    Sandbox::WriteFile(box / "link.url", "[InternetShortcut]\r\nURL=http://h/from/shortcut.htm\r\n");
    auto* file = new QMimeData;
    file->setUrls({QUrl::fromLocalFile(platformqt::ToQ(box / "link.url"))});
    Drop(file);
    EXPECT_EQ(Text(514), "http://h/from/shortcut.htm");
    EXPECT_TRUE(started.empty());  // the shortcut itself is no file to open

    WriteSettings("[BasicOption]\r\nDefMode=0\r\n");
    auto* folder = new QMimeData;
    folder->setText(QStringLiteral("http://h/other/"));
    Drop(folder);
    EXPECT_EQ(Text(514), "http://h/other/index.html");
}

TEST_F(InputSaveTest, DroppedRecordsOpenOrAreReported) {
    ASSERT_TRUE(platform::CreateFolder(box / "out"));
    SaveThroughTheWindow(server->BaseUrl() + "/index.html", box / "out/site.html");
    const std::string good = box / "out/site.qdx";
    ASSERT_TRUE(Sandbox::Exists(good));
    const std::string gone = box / "gone.qdx";  // its saved site no longer exists
    Sandbox::WriteFile(gone, "769\r\n");
    const std::string bad = box / "bad.qdx";
    Sandbox::WriteFile(bad, "text\r\n");

    NewJob();
    Open();
    auto* one = new QMimeData;
    one->setUrls({QUrl::fromLocalFile(platformqt::ToQ(good))});
    Drop(one);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].args, std::vector<std::string>{good});

    started.clear();
    auto* three = new QMimeData;
    three->setUrls({QUrl::fromLocalFile(platformqt::ToQ(good)), QUrl::fromLocalFile(platformqt::ToQ(gone)),
                    QUrl::fromLocalFile(platformqt::ToQ(bad))});
    Drop(three);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].args, std::vector<std::string>{good});
    EXPECT_FALSE(Sandbox::Exists(gone));
    EXPECT_TRUE(Sandbox::Exists(bad));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Sitrova");
    EXPECT_EQ(shown[0].text, "以下のQdxファイルは実体が存在しなかったので、削除しました。\r\n\r\n" + gone +
                                 "\r\n\r\nまた、次のエラーが発生しました。\r\n" + bad +
                                 "\r\nQdx-Error:1\r\n指定されたファイルはサポートされていない形式です。\r\n");

    started.clear();
    Sandbox::WriteFile(box / "page.html", "<html></html>");
    auto* html = new QMimeData;
    html->setUrls({QUrl::fromLocalFile(platformqt::ToQ(box / "page.html"))});
    Drop(html);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].what, "DropHtmlCutAdv");
    EXPECT_EQ(started[0].args[0], box / "page.html");

    // A web archive is copied from for the URL and save path in the fields, which it needs.
    started.clear();
    const std::string warc = box / "crawl.warc.gz";
    Sandbox::WriteFile(warc, "");
    const auto dropWarc = [&] {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(platformqt::ToQ(warc))});
        Drop(data);
    };
    Type(514, "");
    shown.clear();
    dropWarc();
    EXPECT_TRUE(started.empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Webアーカイブから保存するには、先にURLと保存先を入力してください。");
    Type(514, "http://h/site/a.html");
    Type(516, box / "out/copy.html");
    dropWarc();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].what, std::to_string(static_cast<int>(appshell::Companion::Sitrova)));
    EXPECT_EQ(started[0].args, std::vector<std::string>{"SomeWarc,\"" + warc + "\",\"http://h/site/a.html\",\"" +
                                                        box / "out/copy.html" + "\""});
}

TEST_F(InputSaveTest, SaveFromTheWebArchiveOffersTheCleaningAfterItsReport) {
    ASSERT_TRUE(platform::CreateFolder(box / "out"));
    answer = [](const inputtest::Shown& s) { return s.question ? platformqt::AnswerYes : platformqt::AnswerOk; };
    Open();
    Type(514, server->BaseUrl() + "/index.html");
    Type(516, box / "out/site.html");
    Click(520);
    ASSERT_NE(window->Progress(), nullptr);
    EXPECT_FALSE(job->Has(WebArchiveSite));
    ASSERT_TRUE(RunUntil([this] { return job->WorkerEnded(); }));
    // Loopback cannot serve the archive's address: the finished job is given one before its report.
    job->SetStartUrl("http://web.archive.org/web/2005/http://www.example.com/index.html");
    window->Progress()->Tick();
    ASSERT_TRUE(window->Progress()->ReportShown());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].question);
    EXPECT_EQ(shown[0].caption, "Sitrova");
    EXPECT_EQ(shown[0].text, app::kWebArchiveOfferText);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].what, std::to_string(static_cast<int>(appshell::Companion::Sitrova)));
    EXPECT_EQ(started[0].args, std::vector<std::string>{"advertisement,\"" + box / "out/site.qdx" + "\""});
}

TEST_F(InputSaveTest, OffersFollowTheSiteAndTheRecordAndEachYesStartsACleaning) {
    const std::string archive = "http://web.archive.org/web/2005/http://";
    const std::vector<std::string> none;
    const struct {
        std::string url;
        bool record, yes;
        std::vector<std::string> questions;
        size_t starts;
        const char* comment;
    } cases[] = {
        // Without the record a cleaning run has nothing to read: nothing is asked.
        {archive + "www.example.com/index.html", false, true, none, 0, ""},
        // Nobody answers without a display: the default answer starts nothing.
        {archive + "www.example.com/index.html", true, false, {app::kWebArchiveOfferText}, 0, ""},
        // An archived page of blog service A: the archive's question first.
        {archive + "ameblo.jp/someone/index.html", true, true, {app::kWebArchiveOfferText, app::kBlogOfferText}, 2,
         app::kBlogAutoComment},
        {"http://ameblo.jp/someone/index.html", true, false, {app::kBlogOfferText}, 0, app::kBlogAutoComment},
        {"http://blog.livedoor.jp/someone/index.html", true, true, none, 0, ""},  // a blog save, no offer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        NewJob();
        Open();
        shown.clear();
        started.clear();
        answer = c.yes ? std::function<int(const inputtest::Shown&)>([](const auto&) { return platformqt::AnswerYes; })
                       : nullptr;
        job->SetStartUrl(c.url);
        job->SetSaveTarget(box / "site.html");
        (void)platform::RemoveFile(box / "site.qdx");
        if (c.record) Sandbox::WriteFile(box / "site.qdx", "769\r\nEnd\r\n");
        appqt::AskOffersAfterSave(window.get(), *job, window->Hooks());
        std::vector<std::string> asked;
        for (const auto& s : shown) asked.push_back(s.text);
        EXPECT_EQ(asked, c.questions);
        EXPECT_EQ(started.size(), c.starts);
        if (!c.record) continue;
        records::SectionFile record;
        ASSERT_TRUE(record.Load(box / "site.qdx"));
        EXPECT_EQ(records::ReadComment(record), c.comment);
    }
    // Saved again: an earlier automatic comment is renewed, but a comment of the user's own stays.
    std::string error;
    EXPECT_EQ(app::WriteBlogComment(box / "site.qdx", &error), 1);
    EXPECT_EQ(app::WriteBlogComment(box / "site.qdx", &error), 1);
    records::SectionFile renewed;
    ASSERT_TRUE(renewed.Load(box / "site.qdx"));
    EXPECT_EQ(records::ReadComment(renewed), app::kBlogAutoComment);
    Sandbox::WriteFile(box / "site.qdx", "769\r\nEnd\r\n__[QdxExtraComment]\r\nmine\r\n__[KvMultiProfileSectionEnd]\r\n");
    EXPECT_EQ(app::WriteBlogComment(box / "site.qdx", &error), 1);
    records::SectionFile record;
    ASSERT_TRUE(record.Load(box / "site.qdx"));
    EXPECT_EQ(records::ReadComment(record), "mine");
}
