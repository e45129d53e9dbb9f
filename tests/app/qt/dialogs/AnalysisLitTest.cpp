// "AnalysisLit" driven through its controls: the video page's steps against a loopback
// companion page, a failed fetch, closing during a fetch, and the window without a display.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "engine/SaveJob.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"
#include "tests/support/LoopbackServer.h"

namespace {

using testsupport::RunUntil;

const char* kAddress = "http://v.example/videoplayback?id=abc&itag=5";

class AnalysisLit : public dialogtest::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        // The window's working files go below $TEMP; the test sees that they are removed.
        const char* old = std::getenv("TEMP");
        if (old) oldTemp = old;
        std::filesystem::create_directories(box / "temp");
        setenv("TEMP", (box / "temp").c_str(), 1);
        job.SetProgramFolder(programFolder);
    }
    void TearDown() override {
        if (oldTemp.empty())
            unsetenv("TEMP");
        else
            setenv("TEMP", oldTemp.c_str(), 1);
    }

    std::unique_ptr<QDialog> Open(const std::string& url) {
        appqt::DialogArgs args;
        args.url = url;
        args.fields = {[this] { return urlField; }, [this](const std::string& t) { urlField = t; },
                       [this] { return saveField; }, [this](const std::string& t) { saveField = t; }};
        urlField = url;
        app::UrlHandlerOptions options;
        options.videoCompanionHost = server.BaseUrl() + "/yt";
        std::unique_ptr<QDialog> d(appqt::CreateAnalysisLitDialog(nullptr, job, args, options));
        d->show();
        return d;
    }
    std::string Messages(QDialog* d) { return platformqt::FromQ(Ctl<QPlainTextEdit>(d, 1102)->toPlainText()); }
    bool TempIsEmpty() { return std::filesystem::is_empty(box / "temp"); }

    testsupport::LoopbackServer server{
        box.Path(),
        std::string("{\"/yt.com/watch?v=abc\": {\"body\": \"<p>\\n<a href=\\\"") + kAddress + "\\\">video</a>\"},"
            "\"/yt.com/watch?v=none\": {\"body\": \"<p>no video</p>\"},"
            "\"/yt.com/watch?v=gone\": {\"status\": 404},"
            "\"/yt.com/watch?v=slow\": {\"delay\": 20, \"body\": \"late\"}}"};
    engine::SaveJob job;
    std::string urlField, saveField;
    std::string oldTemp;
};

TEST_F(AnalysisLit, VideoAddressIsFoundOnTheCompanionPageAndSetByTheButton) {
    // Both hosts move to the companion's, which keeps the path and the identifier.
    const struct {
        const char* url;
        const char* savePath;
        const char* afterwards;
    } cases[] = {
        {"http://jp.youtube.com/watch?v=abc", "/saves/", "/saves/新しいYouTube.flv"},
        {"http://www.youtube.com/watch?v=abc", "/saves/clip.FLV", "/saves/clip.FLV"},  // already a video's name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        saveField = c.savePath;
        auto d = Open(c.url);
        EXPECT_EQ(Ctl<QLabel>(d.get(), 1101)->text(), QStringLiteral("YouTubeサイト"));
        auto* button = Ctl<QPushButton>(d.get(), 1103);
        ASSERT_TRUE(RunUntil([&] { return button->isVisible(); }));
        EXPECT_EQ(Messages(d.get()),
                  "YouTube のページです。\n動画本体のURLを解析中･･･\nこのページから、動画本体のみを保存することができます。\n");
        EXPECT_EQ(platformqt::FromQ(button->text()), "動画本体のパスをURLにセットする");
        button->click();
        EXPECT_EQ(urlField, kAddress);
        EXPECT_EQ(saveField, c.afterwards);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(d->result(), 1);
        EXPECT_TRUE(TempIsEmpty());
    }
    const std::string log = server.RequestLog();
    const size_t first = log.find("GET /yt.com/watch?v=abc");
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_NE(log.find("GET /yt.com/watch?v=abc", first + 1), std::string::npos) << log;
}

TEST_F(AnalysisLit, PageWithoutAddressOffersOnlyToClose) {
    saveField = "/saves/";
    auto d = Open("http://www.youtube.com/watch?v=none");
    auto* button = Ctl<QPushButton>(d.get(), 1103);
    ASSERT_TRUE(RunUntil([&] { return button->isVisible(); }));
    EXPECT_NE(Messages(d.get()).find("動画本体のパスの取得に失敗しました。\n"), std::string::npos);
    EXPECT_EQ(platformqt::FromQ(button->text()), "閉じる");
    button->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(urlField, "http://www.youtube.com/watch?v=none");
    EXPECT_EQ(saveField, "/saves/");
}

TEST_F(AnalysisLit, FailedFetchWaitsAndClosingStopsARunningOne) {
    auto failed = Open("http://www.youtube.com/watch?v=gone");
    ASSERT_TRUE(RunUntil([&] { return Messages(failed.get()).find("[Error]") != std::string::npos; }));
    EXPECT_TRUE(failed->isVisible());
    EXPECT_TRUE(Ctl<QPushButton>(failed.get(), 1103)->isHidden());
    failed->close();

    auto slow = Open("http://www.youtube.com/watch?v=slow");
    ASSERT_TRUE(RunUntil([&] { return server.RequestLog().find("watch?v=slow") != std::string::npos; }));
    slow->close();  // must not wait for the server
    EXPECT_FALSE(slow->isVisible());
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(AnalysisLit, WithoutDisplayTheWindowEndsByItself) {
    ASSERT_TRUE(platformqt::IsHeadless());
    const struct {
        const char* url;
        const char* kind;
        const char* message;
    } cases[] = {
        {"http://h/archive.zip", "不明", "有効なURLを指定してください。"},
        {"http://h/photo.jpg", "画像ファイル", "このファイル単体、\nもしくは連番ファイルを保存できます。"},
        {"http://www.youtube.com/watch?v=abc", "YouTubeサイト", "このページから、動画本体のみを保存することができます。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        auto d = Open(c.url);
        EXPECT_EQ(d->exec(), 1);
        EXPECT_EQ(platformqt::FromQ(Ctl<QLabel>(d.get(), 1101)->text()), c.kind);
        EXPECT_NE(Messages(d.get()).find(c.message), std::string::npos);
    }
}

}  // namespace
