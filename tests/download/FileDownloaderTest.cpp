// The file downloader against the loopback server: resumed and restarted transfers, error
// pages, busy servers and plug-in refusals, and what is left on disk each time.
#include <gtest/gtest.h>

#include <mutex>
#include <random>

#include "download/FileDownloader.h"
#include "platform/FileUtil.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using namespace download;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

std::string RandomBytes(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    bytes[0] = '\xFF';
    bytes[1] = '\xD8';
    return bytes;
}

struct Outcome {
    int result = 0;
    std::vector<int> codes;
    std::string reason;
};

Outcome Fetch(const std::string& url, const std::string& path, PlugInChecks checks = {}, int64_t maxBytes = 0) {
    FileDownloader downloader(url, path);
    downloader.SetWaitMs(50);
    downloader.SetTimeoutMs(10000);
    downloader.SetChecks(std::move(checks));
    downloader.SetMaxBytes(maxBytes);
    std::mutex lock;
    Outcome outcome;
    EXPECT_EQ(downloader.Start([&](int code, int64_t) {
        std::lock_guard guard(lock);
        outcome.codes.push_back(code);
    }), 1);
    downloader.Wait();
    outcome.result = downloader.Result();
    outcome.reason = downloader.Reason();
    return outcome;
}

bool Has(const std::vector<int>& codes, int code) { return std::find(codes.begin(), codes.end(), code) != codes.end(); }

}  // namespace

TEST(FileDownloader, BrokenTransferResumesAtTheOffsetReached) {
    Sandbox site, out;
    const std::string big = RandomBytes(3 << 20, 1);
    Sandbox::WriteFile(site / "big.jpg", big);
    LoopbackServer server(site.Path(), R"({"/big.jpg": {"drop_after": 1000000, "drop_times": 2, "etag": "\"b1\""}})");
    const Outcome outcome = Fetch(server.BaseUrl() + "/big.jpg", out / "big.jpg");
    EXPECT_EQ(outcome.result, DownloadSaved);
    EXPECT_TRUE(Has(outcome.codes, CodeRetrying));
    EXPECT_EQ(outcome.codes.back(), CodeFinished);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.jpg") == big);
    EXPECT_NE(server.RequestLog().find("GET /big.jpg bytes=1000000-"), std::string::npos) << server.RequestLog();
    EXPECT_FALSE(Sandbox::Exists(out / "big.jpg.part"));
}

TEST(FileDownloader, ServerIgnoringTheRangeRestartsTheFileCleanly) {
    Sandbox site, out;
    const std::string big = RandomBytes(2 << 20, 2);
    Sandbox::WriteFile(site / "big.jpg", big);
    LoopbackServer server(site.Path(), R"({"/big.jpg": {"drop_after": 700000, "drop_times": 2, "ignore_range": true, "etag": "\"b2\""}})");
    // (the first request is the existence probe, which reads only the headers)
    EXPECT_EQ(Fetch(server.BaseUrl() + "/big.jpg", out / "big.jpg").result, DownloadSaved);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.jpg") == big);
    EXPECT_NE(server.RequestLog().find("GET /big.jpg bytes=700000-"), std::string::npos) << server.RequestLog();
}

TEST(FileDownloader, EarlierFileIsReusedOnlyWhenItStartsLikeTheNewOne) {
    Sandbox site, out;
    const std::string big = RandomBytes(1 << 20, 3);
    Sandbox::WriteFile(site / "big.jpg", big);
    LoopbackServer server(site.Path(), R"({"/big.jpg": {"etag": "\"v2\""}})");
    const std::string url = server.BaseUrl() + "/big.jpg";

    // An older copy that starts like the new file: nothing proves its bytes belong to this
    // version, so the file comes whole and the old copy stays until it has.
    Sandbox::WriteFile(out / "big.jpg", big.substr(0, 300000) + RandomBytes(100000, 9));
    EXPECT_EQ(Fetch(url, out / "big.jpg").result, DownloadSaved);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.jpg") == big);
    EXPECT_EQ(server.RequestLog().find("bytes="), std::string::npos) << server.RequestLog();

    // A part kept with the validator it came with goes on behind its bytes while the server's
    // file is the same...
    Sandbox::WriteFile(out / "big.jpg.part", big.substr(0, 300000));
    Sandbox::WriteFile(out / "big.jpg.part.validator", "\"v2\"");
    EXPECT_EQ(Fetch(url, out / "big.jpg").result, DownloadSaved);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.jpg") == big);
    EXPECT_NE(server.RequestLog().find("GET /big.jpg bytes=300000- if-range=\"v2\""), std::string::npos)
        << server.RequestLog();

    // ...and is replaced whole when the file has changed since.
    Sandbox::WriteFile(out / "big.jpg.part", RandomBytes(300000, 4));
    Sandbox::WriteFile(out / "big.jpg.part.validator", "\"v1\"");
    EXPECT_EQ(Fetch(url, out / "big.jpg").result, DownloadSaved);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.jpg") == big);
    EXPECT_NE(server.RequestLog().find("if-range=\"v1\""), std::string::npos) << server.RequestLog();
    EXPECT_FALSE(Sandbox::Exists(out / "big.jpg.part"));
    EXPECT_FALSE(Sandbox::Exists(out / "big.jpg.part.validator"));
}

TEST(FileDownloader, BrokenTransferWithoutValidatorIsKeptOnlyWithOne) {
    Sandbox site, out;
    const std::string big = RandomBytes(1 << 20, 5);
    Sandbox::WriteFile(site / "dated.jpg", big);
    Sandbox::WriteFile(site / "plain.jpg", big);
    LoopbackServer server(site.Path(), R"({
        "/dated.jpg": {"drop_after": 100000, "last_modified": "Tue, 01 Dec 2026 10:00:00 GMT"},
        "/plain.jpg": {"drop_after": 100000}})");
    for (const char* name : {"dated.jpg", "plain.jpg"}) {
        SCOPED_TRACE(name);
        const Outcome outcome = Fetch(server.BaseUrl() + "/" + name, out / name);
        EXPECT_EQ(outcome.result, DownloadBroken);
        EXPECT_NE(outcome.reason.find("接続が途中で切れました"), std::string::npos) << outcome.reason;
        EXPECT_EQ(std::count(outcome.codes.begin(), outcome.codes.end(), CodeRetrying), 3);
        EXPECT_FALSE(Sandbox::Exists(out / name));
    }
    // The dated part is kept for the next run; the plain one could only be guessed at.
    EXPECT_EQ(Sandbox::ReadFile(out / "dated.jpg.part.validator"), "Tue, 01 Dec 2026 10:00:00 GMT");
    EXPECT_TRUE(Sandbox::ReadFile(out / "dated.jpg.part") == big.substr(0, 400000));
    EXPECT_FALSE(Sandbox::Exists(out / "plain.jpg.part"));
    const std::string log = server.RequestLog();
    EXPECT_NE(log.find("GET /dated.jpg bytes=300000- if-range=Tue, 01 Dec 2026 10:00:00 GMT"), std::string::npos) << log;
    EXPECT_EQ(log.find("GET /plain.jpg bytes="), std::string::npos) << log;
}

TEST(FileDownloader, LoopsEndlessBodiesAndErrorsEndAtOnceWithTheirReason) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "gone.jpg", "x");
    LoopbackServer server(site.Path(), R"({
        "/loop.jpg": {"redirect": "/loop.jpg"},
        "/endless.jpg": {"endless": true},
        "/locked.jpg": {"status": 403},
        "/gone.jpg": {"status": 410}})");
    struct Case {
        const char* name;
        int result;
        const char* reason;
    } cases[] = {
        {"loop.jpg", DownloadNotFound, "リダイレクトが多すぎます"},
        {"endless.jpg", DownloadTooLarge, "MaxFileSizeMB"},
        {"locked.jpg", DownloadNotFound, "HTTP 403"},
        {"gone.jpg", DownloadNotFound, "HTTP 410"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = Fetch(server.BaseUrl() + "/" + c.name, out / c.name, {}, 1 << 20);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_NE(outcome.reason.find(c.reason), std::string::npos) << outcome.reason;
        EXPECT_FALSE(Has(outcome.codes, CodeRetrying));
        EXPECT_FALSE(Sandbox::Exists(out / c.name));
        EXPECT_FALSE(Sandbox::Exists(out / (std::string(c.name) + ".part")));
    }
}

TEST(FileDownloader, DiskErrorsAreNoMissingFiles) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "a.jpg", std::string(5000, 'a'));
    LoopbackServer server(site.Path());
    const std::string longName(300, 'n');
    Sandbox::WriteFile(out / "a.jpg/keep.txt", "kept");  // a folder holds the name
    struct Case {
        std::string path;
        const char* reason;
    } cases[] = {
        {out / (longName + ".jpg"), "ファイル名が長すぎます"},
        {out / "a.jpg", "ディスクに書き込めません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        const Outcome outcome = Fetch(server.BaseUrl() + "/a.jpg", c.path);
        EXPECT_EQ(outcome.result, DownloadDiskError);
        EXPECT_EQ(outcome.reason, c.reason);
    }
    EXPECT_EQ(Sandbox::ReadFile(out / "a.jpg/keep.txt"), "kept");
    EXPECT_FALSE(Sandbox::Exists(out / "a.jpg.part"));
}

TEST(FileDownloader, MissingBusyAndRefusedFilesLeaveNothingUnderTheirName) {
    Sandbox site, out;
    const std::string html = "<html><head><title>Welcome</title></head><body>moved</body></html>";
    Sandbox::WriteFile(site / "page-as.jpg", html);
    Sandbox::WriteFile(site / "busy.jpg", "<html><title>503 Service Temporarily Unavailable</title></html>");
    Sandbox::WriteFile(site / "gone.jpg", "<html><title>File not found</title></html>");
    Sandbox::WriteFile(site / "empty.jpg", "");
    LoopbackServer server(site.Path(), R"({"/status503.jpg": {"status": 503}, "/flaky.jpg": {"status": 500}})");
    PlugInChecks checks;
    ASSERT_EQ(checks.Register(std::string(SITROVA_BIN_DIR) + "/Sitg_PlgIn_NotFound.qdi", "IsExpectPicture"), 1);

    struct Case {
        const char* name;
        int result;
    } cases[] = {
        {"missing.jpg", DownloadNotFound}, {"gone.jpg", DownloadNotFound},   {"busy.jpg", DownloadBusy},
        {"status503.jpg", DownloadBusy},   {"page-as.jpg", DownloadNotFound}, {"empty.jpg", DownloadNotFound},
        {"flaky.jpg", DownloadBusy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = Fetch(server.BaseUrl() + "/" + c.name, out / c.name, checks);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.codes.back(), CodeFailed);
        EXPECT_FALSE(Sandbox::Exists(out / c.name));
        EXPECT_FALSE(Sandbox::Exists(out / (std::string(c.name) + ".part")));
    }
    // Without the plug-in the page is taken for what it claims to be.
    EXPECT_EQ(Fetch(server.BaseUrl() + "/page-as.jpg", out / "page-as.jpg").result, DownloadSaved);
    EXPECT_EQ(Sandbox::ReadFile(out / "page-as.jpg"), html);
}

TEST(FileDownloader, UserDownloadsPresentABrowserAndTheFilesFolder) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "dir/headers.txt", "x");
    LoopbackServer server(site.Path(), R"({"/dir/headers.txt": {"echo_headers": true}})");
    FileDownloader downloader(server.BaseUrl() + "/dir/headers.txt", out / "headers.txt");
    SetUpUserDownload(downloader, out / "Sitrov.ini", out.Path() + "no-plugins");
    downloader.SetHeaders(99, "ignored");
    ASSERT_EQ(downloader.Start(nullptr), 1);
    downloader.Wait();
    ASSERT_EQ(downloader.Result(), DownloadSaved);
    const std::string sent = Sandbox::ReadFile(out / "headers.txt");
    EXPECT_NE(sent.find("User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1)\r\n"), std::string::npos) << sent;
    EXPECT_NE(sent.find("Referer: " + server.BaseUrl() + "/dir/\r\n"), std::string::npos) << sent;
}
