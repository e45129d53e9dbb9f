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
};

Outcome Fetch(const std::string& url, const std::string& path, PlugInChecks checks = {}) {
    FileDownloader downloader(url, path);
    downloader.SetWaitMs(50);
    downloader.SetTimeoutMs(10000);
    downloader.SetChecks(std::move(checks));
    std::mutex lock;
    Outcome outcome;
    EXPECT_EQ(downloader.Start([&](int code, int64_t) {
        std::lock_guard guard(lock);
        outcome.codes.push_back(code);
    }), 1);
    downloader.Wait();
    outcome.result = downloader.Result();
    return outcome;
}

bool Has(const std::vector<int>& codes, int code) { return std::find(codes.begin(), codes.end(), code) != codes.end(); }

}  // namespace

TEST(FileDownloader, BrokenTransferResumesAtTheOffsetReached) {
    Sandbox site, out;
    const std::string big = RandomBytes(3 << 20, 1);
    Sandbox::WriteFile(site / "big.jpg", big);
    LoopbackServer server(site.Path(), R"({"/big.jpg": {"drop_after": 1000000, "drop_times": 2}})");
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
    LoopbackServer server(site.Path(), R"({"/big.jpg": {"drop_after": 700000, "drop_times": 2, "ignore_range": true}})");
    // (the first request is the existence probe, which reads only the headers)
    EXPECT_EQ(Fetch(server.BaseUrl() + "/big.jpg", out / "big.jpg").result, DownloadSaved);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.jpg") == big);
    EXPECT_NE(server.RequestLog().find("GET /big.jpg bytes=700000-"), std::string::npos) << server.RequestLog();
}

TEST(FileDownloader, EarlierFileIsReusedOnlyWhenItStartsLikeTheNewOne) {
    Sandbox site, out;
    const std::string big = RandomBytes(1 << 20, 3);
    Sandbox::WriteFile(site / "big.jpg", big);
    LoopbackServer server(site.Path());

    // A partial file from an interrupted run: the transfer goes on behind it.
    Sandbox::WriteFile(out / "big.jpg", big.substr(0, 300000));
    EXPECT_EQ(Fetch(server.BaseUrl() + "/big.jpg", out / "big.jpg").result, DownloadSaved);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.jpg") == big);
    EXPECT_NE(server.RequestLog().find("GET /big.jpg bytes=300000-"), std::string::npos) << server.RequestLog();
    EXPECT_FALSE(Sandbox::Exists(out / "big.jpg.bkp.tmp"));

    // A different file of the same name is replaced whole.
    Sandbox::WriteFile(out / "big.jpg", RandomBytes(400000, 4));
    EXPECT_EQ(Fetch(server.BaseUrl() + "/big.jpg", out / "big.jpg").result, DownloadSaved);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.jpg") == big);
    EXPECT_FALSE(Sandbox::Exists(out / "big.jpg.bkp.tmp"));
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
