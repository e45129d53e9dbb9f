#include "engine/Fetcher.h"

#include "engine/SaveJob.h"
#include "platform/ContentHash.h"
#include "platform/HttpClient.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using engine::SaveJob;
using testsupport::LoopbackServer;
using testsupport::Sandbox;
namespace mode = engine::mode;

namespace {

using Clock = std::chrono::steady_clock;

// Bytes of every value, zeros included.
std::string BinaryBody(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 4711;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

// A page as a wide-character editor saves it: every ASCII byte followed by a zero.
std::string Utf16Page(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class FetcherTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::HttpGlobalInit(); }

    void SetUp() override {
        job.SetHttp(&session);
        job.Run().resumePauseMs = 20;  // the resumed reads need no real pause here
    }
    void TearDown() override { job.SetHttp(nullptr); }

    void Serve(const std::string& rulesJson = "") {
        server = std::make_unique<LoopbackServer>(site.Path(), rulesJson);
        ASSERT_TRUE(server->Running());
    }
    std::string Url(const std::string& path) const { return server->BaseUrl() + path; }

    // Every way of fetching, by name, so each case runs through all of them.
    struct Way {
        const char* name;
        std::function<int(const std::string&, const std::string&)> fetch;
    };
    std::vector<Way> Ways() {
        return {
            {"engine fetch", [this](auto& u, auto& p) { return engine::FetchUrlToFile(job, u, p); }},
            {"engine fetch with agent",
             [this](auto& u, auto& p) {
                 job.SetModeBits(mode::agent);
                 int r = engine::FetchUrlToFile(job, u, p);
                 job.ClearModeBits(mode::agent);
                 return r;
             }},
            {"engine fetch with neglect",
             [this](auto& u, auto& p) {
                 job.SetModeBits(mode::neglect);
                 int r = engine::FetchUrlToFile(job, u, p);
                 job.ClearModeBits(mode::neglect);
                 return r;
             }},
            {"moniker", [this](auto& u, auto& p) { return engine::DownloadWithMoniker(session, u, p); }},
            {"options", [this](auto& u, auto& p) { return engine::DownloadWithOptions(session, u, p, "Mozilla/4.0"); }},
            {"plain", [this](auto& u, auto& p) { return engine::DownloadPlain(session, u, p); }},
        };
    }

    // Runs a fetch on the job's worker, as the crawl does, with a session of that thread.
    void StartFetchOnWorker(const std::string& url, const std::string& path) {
        job.SetHttp(nullptr);
        job.SetModeBits(mode::agent);
        job.StartWorker([this, url, path] {
            platform::HttpSession own;
            job.SetHttp(&own);
            int r = engine::FetchUrlToFile(job, url, path);
            job.SetHttp(nullptr);
            return r;
        });
    }

    Sandbox site;
    Sandbox out;
    std::unique_ptr<LoopbackServer> server;
    platform::HttpSession session;
    SaveJob job;
};

TEST_F(FetcherTest, EveryWayOfFetchingStoresTheWholeBodyAndNoTemporaryFile) {
    const std::string body = BinaryBody(200000);
    Sandbox::WriteFile(site / "data/big.bin", body);
    Serve();
    for (const Way& way : Ways()) {
        SCOPED_TRACE(way.name);
        const std::string path = out / "big.bin";
        EXPECT_EQ(way.fetch(Url("/data/big.bin"), path), 1);
        EXPECT_TRUE(Sandbox::ReadFile(path) == body);
        EXPECT_FALSE(Sandbox::Exists(path + ".part"));
        std::remove(path.c_str());
    }
}

TEST_F(FetcherTest, ErrorStatusFailsEveryWayAndStoresNoErrorPage) {
    Serve(R"({"/broken.html": {"status": 500}, "/busy.gif": {"status": 503}})");
    for (const Way& way : Ways()) {
        for (const char* target : {"/missing.html", "/broken.html", "/busy.gif"}) {
            SCOPED_TRACE(std::string(way.name) + " " + target);
            const std::string path = out / "page.html";
            EXPECT_EQ(way.fetch(Url(target), path), 0);
            EXPECT_FALSE(Sandbox::Exists(path));
            EXPECT_FALSE(Sandbox::Exists(path + ".part"));
        }
    }
}

TEST_F(FetcherTest, FailedFetchKeepsAnOlderWholeCopyUntouched) {
    Serve();
    const std::string path = out / "page.html";
    Sandbox::WriteFile(path, "<html>saved last time</html>");
    EXPECT_EQ(engine::FetchUrlToFile(job, Url("/missing.html"), path), 0);
    EXPECT_EQ(Sandbox::ReadFile(path), "<html>saved last time</html>");
}

TEST_F(FetcherTest, NeglectFallsBackToThePlainDownloadOnlyWhenNoFileIsThere) {
    Serve();
    const std::string path = out / "page.html";
    job.SetModeBits(mode::neglect);
    EXPECT_EQ(engine::FetchUrlToFile(job, Url("/missing.html"), path), 0);
    EXPECT_EQ(CountOf(server->RequestLog(), "GET /missing.html"), 2u);

    Sandbox::WriteFile(path, "older");
    EXPECT_EQ(engine::FetchUrlToFile(job, Url("/missing.html"), path), 0);
    EXPECT_EQ(CountOf(server->RequestLog(), "GET /missing.html"), 3u);
}

TEST_F(FetcherTest, BrokenReadsAreResumedByRangeAndCompleteByteExact) {
    const std::string body = BinaryBody(300000);
    Sandbox::WriteFile(site / "big.bin", body);
    Serve(R"({"/big.bin": {"drop_after": 70000, "drop_times": 2}})");
    job.SetModeBits(mode::agent);
    const std::string path = out / "big.bin";
    EXPECT_EQ(engine::FetchUrlToFile(job, Url("/big.bin"), path), 1);
    EXPECT_TRUE(Sandbox::ReadFile(path) == body);
    EXPECT_FALSE(Sandbox::Exists(path + ".part"));
    const std::string log = server->RequestLog();
    EXPECT_EQ(CountOf(log, "GET /big.bin"), 3u) << log;
    EXPECT_EQ(CountOf(log, "GET /big.bin bytes="), 2u) << log;
}

TEST_F(FetcherTest, DefaultDownloadResumesAndRefusesPagesUnderPictureNames) {
    const std::string body = BinaryBody(200000);
    Sandbox::WriteFile(site / "big.bin", body);
    Sandbox::WriteFile(site / "fake.jpg", "<html><title>moved</title></html>");
    Serve(R"({"/big.bin": {"drop_after": 60000, "drop_times": 1}})");
    EXPECT_EQ(engine::FetchUrlToFile(job, Url("/big.bin"), out / "big.bin"), 1);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.bin") == body);
    EXPECT_EQ(engine::FetchUrlToFile(job, Url("/fake.jpg"), out / "fake.jpg"), 0);
    EXPECT_FALSE(Sandbox::Exists(out / "fake.jpg"));
    // A host that refuses the connection is not asked again and again.
    const auto start = Clock::now();
    const std::string closed = "http://127.0.0.1:" + std::to_string(testsupport::ClosedPort()) + "/x.html";
    EXPECT_EQ(engine::DownloadWithMoniker(session, closed, out / "x.html", &job), 0);
    EXPECT_LT(SecondsSince(start), 2.8);  // below the 3 s pause before a second try
}

TEST_F(FetcherTest, FifthBrokenReadFailsAndLeavesNoFile) {
    Sandbox::WriteFile(site / "big.bin", BinaryBody(100000));
    Serve(R"({"/big.bin": {"drop_after": 10000}})");
    const std::string path = out / "big.bin";
    EXPECT_EQ(engine::DownloadWithOptions(session, Url("/big.bin"), path, "Mozilla/4.0", &job), 0);
    EXPECT_FALSE(Sandbox::Exists(path));
    EXPECT_FALSE(Sandbox::Exists(path + ".part"));
    EXPECT_EQ(CountOf(server->RequestLog(), "GET /big.bin"), 5u);
}

TEST_F(FetcherTest, ServerIgnoringTheRangeStillEndsWithTheWholeFile) {
    const std::string body = BinaryBody(150000);
    Sandbox::WriteFile(site / "big.bin", body);
    Serve(R"({"/big.bin": {"drop_after": 50000, "drop_times": 1, "ignore_range": true}})");
    const std::string path = out / "big.bin";
    EXPECT_EQ(engine::DownloadPlain(session, Url("/big.bin"), path, &job), 1);
    EXPECT_TRUE(Sandbox::ReadFile(path) == body);
}

TEST_F(FetcherTest, StopRequestCutsTheResumePauseShortAndLeavesNoFile) {
    Sandbox::WriteFile(site / "big.bin", BinaryBody(100000));
    Serve(R"({"/big.bin": {"drop_after": 10000}})");
    const std::string path = out / "big.bin";
    job.Run().resumePauseMs = engine::RunContext::kDefaultWaitMs;
    StartFetchOnWorker(Url("/big.bin"), path);
    // The connection dropped after its 10000 bytes: the fetcher now waits before resuming.
    ASSERT_TRUE(testsupport::WaitFor([&] {
        std::error_code error;
        return std::filesystem::file_size(path + ".part", error) >= 10000 && !error;
    }));
    const auto start = Clock::now();
    ASSERT_TRUE(job.StopWorker(5000));
    EXPECT_LT(SecondsSince(start), 2.8);  // below the 3 s resume pause
    EXPECT_EQ(job.Result(), 0);
    EXPECT_FALSE(Sandbox::Exists(path));
    EXPECT_FALSE(Sandbox::Exists(path + ".part"));
}

TEST_F(FetcherTest, CancelledTransferFailsAndKeepsAnOlderCopy) {
    Serve(R"({"/slow.html": {"delay": 5, "body": "<html>new</html>"}})");
    const std::string path = out / "slow.html";
    Sandbox::WriteFile(path, "<html>old</html>");
    StartFetchOnWorker(Url("/slow.html"), path);
    ASSERT_TRUE(testsupport::WaitFor([&] { return server->RequestLog().find("/slow.html") != std::string::npos; }));
    ASSERT_TRUE(job.StopWorker(3000));
    EXPECT_EQ(job.Result(), 0);
    EXPECT_EQ(Sandbox::ReadFile(path), "<html>old</html>");
    EXPECT_FALSE(Sandbox::Exists(path + ".part"));
}

TEST_F(FetcherTest, PictureNameMustHoldAPicture) {
    struct Case {
        const char* name;
        std::string bytes;
        int expected;
    };
    const std::vector<Case> cases = {
        {"x.gif", "<html><title>404</title></html>", 0},
        {"x.JPG", "<html>moved</html>", 0},
        {"y.gif", "GIF89a\x01\x00\x01\x00", 1},
        {"y.jpeg", std::string("\xFF\xD8\xFF\xE0rest"), 1},
        {"y.png", std::string("\x89PNG\r\n\x1A\n"), 1},
        {"y.bmp", "BM0000", 1},
        {"notes.txt", "<html>text</html>", 1},
    };
    for (const Case& c : cases) Sandbox::WriteFile(site / c.name, c.bytes);
    Serve();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = out / c.name;
        EXPECT_EQ(engine::DownloadPlain(session, Url(std::string("/") + c.name), path), c.expected);
        EXPECT_EQ(Sandbox::Exists(path), c.expected == 1);
        EXPECT_FALSE(Sandbox::Exists(path + ".part"));
        // Fetched ahead, the picture is judged by the bytes as they came in; a refused one
        // hands on no hash, a kept one the hash of what lies on disk.
        engine::FetchOrigin origin;
        const std::string staged = out / (std::string("ahead-") + c.name);
        EXPECT_EQ(engine::FetchUrlToFileVia(session, job, Url(std::string("/") + c.name), path, staged, nullptr,
                                            &origin, true),
                  c.expected);
        EXPECT_EQ(origin.hash, c.expected == 1 ? platform::FileContentHash(staged) : std::string());
    }
}

TEST_F(FetcherTest, WideCharacterPagesLoseTheirZeroBytesOtherFilesKeepThem) {
    const std::string ascii = "<html><head><title>wide</title></head><body>" + std::string(400, 'w') + "</body></html>";
    const std::string wide = Utf16Page(ascii);
    Sandbox::WriteFile(site / "wide.html", wide);
    Sandbox::WriteFile(site / "dir/index.html", wide);
    Sandbox::WriteFile(site / "wide.bin", wide);
    Serve();
    EXPECT_EQ(engine::DownloadPlain(session, Url("/wide.html"), out / "wide.html"), 1);
    EXPECT_EQ(Sandbox::ReadFile(out / "wide.html"), ascii);
    EXPECT_EQ(engine::DownloadWithOptions(session, Url("/dir/"), out / "index.html", "Mozilla/4.0"), 1);
    EXPECT_EQ(Sandbox::ReadFile(out / "index.html"), ascii);
    EXPECT_EQ(engine::DownloadPlain(session, Url("/wide.bin"), out / "wide.bin"), 1);
    EXPECT_TRUE(Sandbox::ReadFile(out / "wide.bin") == wide);
}

TEST_F(FetcherTest, AgentAndRefererReachTheServerOnlyWithOptions) {
    Serve(R"({"/dir/echo.txt": {"echo_headers": true}})");
    const std::string url = Url("/dir/echo.txt");
    const std::string referer = "Referer: " + Url("/dir/") + "\r\n";
    const std::string path = out / "echo.txt";

    job.SetModeBits(mode::agent);
    ASSERT_EQ(engine::FetchUrlToFile(job, url, path), 1);
    std::string echoed = Sandbox::ReadFile(path);
    EXPECT_NE(echoed.find("User-Agent: Mozilla/4.0\r\n"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find(referer), std::string::npos) << echoed;

    job.ClearModeBits(mode::agent);
    for (int (*plain)(platform::HttpSession&, const std::string&, const std::string&, const SaveJob*) :
         {&engine::DownloadPlain, &engine::DownloadWithMoniker}) {
        ASSERT_EQ(plain(session, url, path, nullptr), 1);
        echoed = Sandbox::ReadFile(path);
        EXPECT_EQ(echoed.find("User-Agent:"), std::string::npos) << echoed;
        EXPECT_EQ(echoed.find("Referer:"), std::string::npos) << echoed;
    }
}

TEST_F(FetcherTest, ProbeReadsStatusAndLengthOfTheAnswer) {
    Sandbox::WriteFile(site / "file.bin", std::string(1234, 'x'));
    Serve(R"({"/forbidden": {"status": 403}, "/busy": {"status": 503},
              "/moved": {"redirect": "/file.bin"}})");
    EXPECT_EQ(engine::ProbeStatus(Url("/file.bin")), 1234);
    EXPECT_EQ(engine::ProbeStatus(Url("/missing.html")), 0);
    EXPECT_EQ(engine::ProbeStatus(Url("/forbidden")), -1);
    EXPECT_EQ(engine::ProbeStatus(Url("/busy")), -503);
    EXPECT_EQ(engine::ProbeStatus(Url("/moved")), -1);
    const std::string closed = "127.0.0.1:" + std::to_string(testsupport::ClosedPort());
    EXPECT_EQ(engine::ProbeStatus("http://" + closed + "/file.bin"), 0);
    EXPECT_EQ(engine::ProbeStatus("https://" + closed + "/file.bin"), 0);
}

// A probe whose server is slow to answer gives up once its caller stops (a window closing).
TEST_F(FetcherTest, ProbeEndsWhenItsCallerStops) {
    Sandbox::WriteFile(site / "file.bin", std::string(1234, 'x'));
    Serve(R"({"/slow.bin": {"delay": 3, "body": "late"}})");
    // The caller stops once the request has reached the server, which then waits to answer.
    const auto stopped = [this] { return server->RequestLog().find("/slow.bin") != std::string::npos; };
    EXPECT_EQ(engine::ProbeStatusUnlessStopped(Url("/slow.bin"), stopped), 0);
    EXPECT_EQ(engine::ProbeStatusUnlessStopped(Url("/file.bin"), [] { return false; }), 1234);
}

TEST(ParseStatusTest, StatusLinesAndLengthGiveTheProbeResult) {
    struct Case {
        std::string text;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {"HTTP/1.1 404 NOT FOUND\r\nContent-Length: 99\r\n\r\n", 0},
        {"HTTP/1.1 404 not found\r\n\r\n", 0},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1234\r\n\r\n", 1234},
        {"HTTP/1.1 200 OK\r\ncontent-length:   77\r\n\r\n", 77},
        {"HTTP/1.1 200 OK\r\nContent-Length:5\r\n\r\n", 5},
        {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n", INT32_MAX},
        {"HTTP/1.0 503 Service Unavailable\r\n\r\n", -503},
        {"HTTP/1.1 403 Forbidden\r\nContent-Length: 10\r\n\r\n", -1},
        {"HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n", -1},
        {"HTTP/1.1 200 OK\r\n\r\n", -1},
        {"", -1},
        {std::string("HTTP/1.1 200 OK\r\n\0Content-Length: 5", 36), -1},
        {"HTTP/1.1 200 OK\r\n" + std::string(1100, 'x') + "Content-Length: 5", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(engine::ParseStatus(c.text), c.expected) << c.text;
}

TEST(PageChecksTest, TitleIsTheTextBetweenTheTagsWithoutItsLineBreaks) {
    struct Case {
        std::string text;
        int found;
        std::string title;
    };
    const std::vector<Case> cases = {
        {"<html><TITLE>\r\nHello page\r\n</Title>", 1, "Hello page"},
        {"<title>a\r\nb</title>", 1, "a\r\nb"},
        {"<title></title>", 1, ""},
        {"<title>never closed", 0, ""},
        {"no title here</title>", 0, ""},
    };
    for (const Case& c : cases) {
        std::string title = "stale";
        EXPECT_EQ(engine::PageTitle(c.text, title, 260), c.found) << c.text;
        EXPECT_EQ(title, c.title) << c.text;
    }
    std::string cut;
    EXPECT_EQ(engine::PageTitle("<title>abcdef</title>", cut, 3), 1);
    EXPECT_EQ(cut, "abc");
}

TEST(PageChecksTest, NotFoundPagesAreKnownByTheirTitle) {
    Sandbox box;
    struct Case {
        std::string page;
        int expected;
    };
    const std::string sjisError = "\x83\x47\x83\x89\x81\x5B";  // エラー in Shift-JIS
    const std::vector<Case> cases = {
        {"<html><title>Error 404 - whatever else</title>", 1},
        {"<html><title>ページ" + std::string("エラー") + "</title>", 1},
        {"<html><title>" + sjisError + "</title>", 1},
        {"<html><title>Welcome</title><body>404 Not Found</body>", 0},
        {"<html><title>isweb page</title><body>" + std::string(2000, ' ') + "404 not found</body>", 1},
        {"<html><title>isweb page</title><body>all fine</body>", 0},
        // The title must lie within the first 1024 bytes.
        {std::string(1100, ' ') + "<title>404</title>", 0},
        {"<html><body>404</body>", 0},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string path = box / ("page" + std::to_string(i) + ".html");
        Sandbox::WriteFile(path, cases[i].page);
        EXPECT_EQ(engine::IsNotFoundPage(path), cases[i].expected) << cases[i].page;
    }
    EXPECT_EQ(engine::IsNotFoundPage(box / "missing.html"), 0);
}

TEST(PageChecksTest, BusyPagesAreKnownByTitleHeadingOrTheBandwidthNotice) {
    std::string sjisFailure = "<b>\x83\x47\x83\x89\x81\x5B\x94\xAD\x90\xB6\x81\x49<br>";
    std::string sjisBandwidth =
        "\x82\xA8\x8E\x67\x82\xA2\x82\xCC\x91\xD1\x88\xE6\x82\xAA\x8A\x84\x82\xE8\x93\x96\x82\xC4"
        "\x90\x94\x92\x6C\x82\xF0\x92\xB4\x82\xA6\x82\xDC\x82\xB5\x82\xBD";
    EXPECT_TRUE(engine::IsServerBusyPage("<title>503 Service Temporarily Unavailable</title>"));
    EXPECT_TRUE(engine::IsServerBusyPage("<html><h1>Service Unavailable</h1></html>"));
    EXPECT_TRUE(engine::IsServerBusyPage(sjisFailure + "..." + sjisBandwidth));
    EXPECT_TRUE(engine::IsServerBusyPage("<b>エラー発生！<br>お使いの帯域が割り当て数値を超えました"));
    EXPECT_FALSE(engine::IsServerBusyPage(sjisFailure));
    EXPECT_FALSE(engine::IsServerBusyPage("<title>Welcome</title>503 Service Temporarily Unavailable"));
}

TEST(PageChecksTest, PictureNamesAndSignatures) {
    for (const char* name : {"a.jpg", "a.JPEG", "dir/a.gif", "a.Png", "a.bmp"})
        EXPECT_TRUE(engine::IsPictureName(name)) << name;
    for (const char* name : {"a.html", "a.jpg.txt", "gif", "a.svg"}) EXPECT_FALSE(engine::IsPictureName(name)) << name;
    Sandbox box;
    Sandbox::WriteFile(box / "empty.gif", "");
    EXPECT_FALSE(engine::HasPictureSignature(box / "empty.gif"));
    EXPECT_FALSE(engine::HasPictureSignature(box / "missing.gif"));
}

TEST(PageChecksTest, ZeroBytesAreStrippedOnlyWhenThereAreMany) {
    Sandbox box;
    const std::string few = std::string(300, 'a') + std::string(10, '\0') + "tail";
    Sandbox::WriteFile(box / "few.html", few);
    EXPECT_TRUE(engine::StripZeroBytes(box / "few.html"));
    EXPECT_TRUE(Sandbox::ReadFile(box / "few.html") == few);

    const std::string many = std::string(100, 'a') + std::string(300, '\0') + "tail";
    Sandbox::WriteFile(box / "many.html", many);
    EXPECT_TRUE(engine::StripZeroBytes(box / "many.html"));
    EXPECT_EQ(Sandbox::ReadFile(box / "many.html"), std::string(100, 'a') + "tail");
    EXPECT_FALSE(Sandbox::Exists(box / "many.htmlTemp"));
    EXPECT_FALSE(engine::StripZeroBytes(box / "missing.html"));
}

TEST(AgentStringTest, CodesPickTheAgentText) {
    struct Case {
        uint32_t code;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0, "Custom/1.0"},
        {2, "(compatible; MSIE 4.0; Windows 95)"},
        {3, "Mozilla/4.0 (compatible; MSIE 4.0; Windows 95)"},
        {5, "Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)"},
        {9, "Mozilla/4.0 (compatible; MSIE 5.5; Windows 98; Win 9x 4.90)"},
        {17, "Mozilla/4.0 (compatible; MSIE 5.01; Windows NT)"},
        {33, "Mozilla/4.0 (compatible; MSIE 5.01; Windows NT 5.0)"},
        {65, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)"},
        {128, "Mozilla/2.0 (compatible; MSIE 3.02; Windows CE)"},
        {129, "Mozilla/2.0 (compatible; MSIE 3.02; Windows CE)"},
        {257, "Mozilla/4.0 (compatible; MSIE 5.0; Mac_PowerPC)"},
        {513, "Mozilla/4.0 (compatible; MSIE 4.01; Mac_68000)"},
        {1025, "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.0)"},
        {2049, "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1)"},
        {1, "Mozilla/4.0 "},
    };
    for (const Case& c : cases) EXPECT_EQ(engine::AgentString(c.code, "Custom/1.0"), c.expected) << c.code;
}

TEST(RefererHeaderTest, CodesPickTheRefererLine) {
    const std::string url = "http://example.test/dir/file.zip";
    EXPECT_EQ(engine::RefererHeader(0, "X-Own: line"), "X-Own: line");
    EXPECT_EQ(engine::RefererHeader(1, url), "Referer: http://example.test/dir/file.zip");
    EXPECT_EQ(engine::RefererHeader(2, url), "Referer: http://example.test/dir/");
    EXPECT_EQ(engine::RefererHeader(3, url), "Referer: NSPlayer/9.0.0.2980");
    EXPECT_EQ(engine::RefererHeader(4, url), "Referer: NSPlayer/10.0.0.3650 WMFSDK/10.0");
    EXPECT_EQ(engine::RefererHeader(5, url), "Referer: QuickTime (qtver=6.3;os=Windows+NT+5.1Service+Pack+1)");
    EXPECT_EQ(engine::RefererHeader(6, url), "Referer: RMA/1.0+(compatible;+RealMedia)");
    EXPECT_EQ(engine::RefererHeader(7, url), "");
}

}  // namespace
