// The URL-kind handlers: which handler takes a URL, the order of steps and their stored texts,
// the video file's address in a page and the album handler's start of AlbumFetcher.
#include <gtest/gtest.h>

#include "app/UrlHandlers.h"
#include "tests/support/Sandbox.h"

using testsupport::Sandbox;

namespace {

TEST(UrlHandlers, FirstHandlerThatTakesTheUrlIsChosen) {
    const struct {
        const char* url;
        int handler;  // -1: none takes it
        const char* kind;
    } cases[] = {
        {"http://www.youtube.com/watch?v=a", -1, ""},  // 32 characters: no identifier yet
        {"http://www.youtube.com/watch?v=ab", 2, "YouTubeサイト"},
        {"http://jp.youtube.com/watch?v=a", -1, ""},  // 31 on the regional host
        {"http://jp.youtube.com/watch?v=ab", 2, "YouTubeサイト"},
        {"https://www.youtube.com/watch?v=ab", 2, "YouTubeサイト"},
        {"http://www.youtube.com/watch?v=ab.wmv", 0, "動画ファイル"},  // a video file is a plain file
        {"http://h/photo.jpg", 0, "画像ファイル"},
        {"http://h/cgi-bin/count", 0, "Cgiファイル"},
        {"http://photos.yahoo.co.jp/ph/me/lst?.dir=/trip", 1, "フォトアルバム"},
        {"http://photos.yahoo.co.jp/ph/me/vwp?.dir=/trip", -1, ""},  // a single photo's page
        {"http://photos.yahoo.co.jp/ph/me/lst?.dir=/t.jpg", 0, "画像ファイル"},
        {"http://h/archive.zip", -1, ""},
        {"ftp://h/photo.jpg", -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        app::UrlHandlerRegistry registry;
        ASSERT_EQ(app::RegisterUrlHandlers(registry), 1);
        EXPECT_EQ(registry.Recognise(c.url), c.handler >= 0 ? 1 : 0);
        EXPECT_EQ(registry.Chosen(), c.handler);
        EXPECT_EQ(registry.KindText(), c.kind);
        // Nothing is run for a URL no handler took.
        if (c.handler < 0) {
            EXPECT_EQ(registry.RunNextStep(c.url, nullptr, "/p"), 0);
        }
    }
}

TEST(UrlHandlers, StepsRunInOrderKeepTheirTextsAndEnd) {
    app::UrlHandlerRegistry registry;
    std::vector<std::string> seen;
    app::UrlHandler handler;
    handler.recognise = [](app::RecogniseRecord& r) { return r.url == "x:" ? 1 : 0; };
    handler.steps.push_back([&](app::StepRecord& r) {
        seen.push_back(r.text);
        r.text = "first";
        r.caption = "c1";
        return app::StepButton | app::StepSkipNext;
    });
    handler.steps.push_back([&](app::StepRecord&) { return seen.push_back("skipped"), 2; });
    handler.steps.push_back([&](app::StepRecord& r) {
        seen.push_back(r.text);
        r.text = "dropped";  // a step that answers 0 leaves the stored texts alone
        return 0;
    });
    handler.steps.push_back([&](app::StepRecord& r) { return seen.push_back(r.text), app::StepClose; });
    ASSERT_EQ(registry.Add(handler), 1);
    app::UrlHandler tooLong = handler;
    tooLong.steps.resize(8, handler.steps[0]);
    EXPECT_EQ(registry.Add(tooLong), 0);

    ASSERT_EQ(registry.Recognise("x:"), 1);
    EXPECT_EQ(registry.RunNextStep("x:", nullptr, "/p"), app::StepButton | app::StepSkipNext);
    EXPECT_EQ(registry.Caption(), "c1");
    EXPECT_EQ(registry.RunNextStep("", nullptr, "/p"), 0);
    EXPECT_EQ(registry.RunNextStep("", nullptr, "/p"), app::StepClose);
    EXPECT_EQ(registry.Text(), "first");
    EXPECT_EQ(registry.Caption(), "");
    EXPECT_EQ(registry.RunNextStep("", nullptr, "/p"), 0);  // past the last step
    EXPECT_EQ(seen, (std::vector<std::string>{"x:", "first", "first"}));

    for (size_t i = 1; i < app::UrlHandlerRegistry::kMaxHandlers; ++i) EXPECT_EQ(registry.Add(handler), 1);
    EXPECT_EQ(registry.Add(handler), 0);
}

TEST(UrlHandlers, VideoAddressIsCutAtQuotesAndLineEnds) {
    const struct {
        const char* page;
        const char* address;  // nullptr: none
    } cases[] = {
        {"<a href=\"http://v.example/videoplayback?id=1&x=2\">", "http://v.example/videoplayback?id=1&x=2"},
        {"url:\nhttp://v.example/VideoPlayback?id=3\r\nnext", "http://v.example/VideoPlayback?id=3"},
        {"src=\"http://v.example/videoplayback?id=4", "http://v.example/videoplayback?id=4"},  // to the end
        {"http://v.example/videoplayback?id=5", "http://v.example/videoplayback?id=5"},       // from the start
        // The walk back starts 18 bytes before the hit: a quote closer than that is passed.
        {"\"ab\"cdefvideoplayback?6\"", "ab\"cdefvideoplayback?6"},
        {"<html>no address here</html>", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        std::string address;
        EXPECT_EQ(app::FindVideoAddress(c.page, address), c.address ? 1 : 0);
        EXPECT_EQ(address, c.address ? c.address : "");
    }
}

TEST(UrlHandlers, AlbumPageIsHandedToAlbumFetcher) {
    Sandbox box;
    std::string savePath = box / "saves/trip.html";
    app::InputFieldAccess fields{{}, {}, [&] { return savePath; }, {}};
    std::vector<std::vector<std::string>> started;
    app::UrlHandlerOptions options;
    options.startProgram = [&](const std::string& program, const std::vector<std::string>& args) {
        std::vector<std::string> call{program};
        call.insert(call.end(), args.begin(), args.end());
        started.push_back(call);
        return 1;
    };
    const std::string url = "https://photos.yahoo.co.jp/ph/me/lst?.dir=/trip";
    // Without the program beside us, and without a save path, the window says so and stays.
    for (const std::string& path : {box / "saves/trip.html", std::string("trip.html")}) {
        SCOPED_TRACE(path);
        savePath = path;
        app::UrlHandlerRegistry registry;
        ASSERT_EQ(app::RegisterUrlHandlers(registry, options), 1);
        ASSERT_EQ(registry.Recognise(url), 1);
        EXPECT_EQ(registry.RunNextStep(url, &fields, box.Path()), app::StepMessage | app::StepButton);
        EXPECT_EQ(registry.RunNextStep("", &fields, box.Path()), app::StepMessage | app::StepButton);
        EXPECT_EQ(registry.Caption(), "閉じる");
        EXPECT_EQ(registry.RunNextStep("", &fields, box.Path()), app::StepClose);
    }
    EXPECT_TRUE(started.empty());

    savePath = box / "saves/trip.html";
    Sandbox::WriteFile(box / "AlbumFetcher", "");
    app::UrlHandlerRegistry registry;
    ASSERT_EQ(app::RegisterUrlHandlers(registry, options), 1);
    ASSERT_EQ(registry.Recognise(url), 1);
    EXPECT_EQ(registry.RunNextStep(url, &fields, box.Path()), app::StepMessage | app::StepButton);
    EXPECT_EQ(registry.Caption(), "AlbumFetcherで写真を保存する");
    EXPECT_EQ(registry.RunNextStep("", &fields, box.Path()), app::StepClose);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (std::vector<std::string>{box / "AlbumFetcher", url, box / "saves/", "auto"}));
}

}  // namespace
