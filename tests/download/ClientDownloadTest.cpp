// Downloads outside a save take their client settings from the [WebOptions] defaults of the
// settings file: the proxy, the cookie file. And a file arrives byte for byte as served.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "download/FileDownloader.h"
#include "platform/HttpClient.h"
#include "records/WebDefaults.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using namespace download;
using testsupport::LoopbackProxy;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

class ClientDownloadTest : public ::testing::Test {
protected:
    void SetUp() override { platform::HttpGlobalInit(); }
    void TearDown() override { platform::SetDefaultHttpSettings({}); }

    // The program's start: the [WebOptions] lines become the defaults of every session.
    void UseWebOptions(const std::string& lines) {
        const std::string ini = files / "Sitrov.ini";
        Sandbox::WriteFile(ini, "[WebOptions]\r\n" + lines);
        records::UseWebDefaults(ini);
    }

    int Download(const std::string& url, const std::string& path) {
        FileDownloader downloader(url, path);
        downloader.SetWaitMs(50);
        downloader.SetTimeoutMs(10000);
        EXPECT_EQ(downloader.Start([](int, int64_t) {}), 1);
        downloader.Wait();
        return downloader.Result();
    }

    Sandbox site, files, out;
};

}  // namespace

TEST_F(ClientDownloadTest, ASingleFileGoesThroughTheProxyOfTheWebOptions) {
    Sandbox::WriteFile(site / "f.jpg", "\xFF\xD8 picture bytes");
    LoopbackServer server(site.Path());
    LoopbackProxy proxy;
    ASSERT_TRUE(proxy.Running());
    UseWebOptions("proxy=" + proxy.Url() + "\r\nno-proxy=\r\n");
    EXPECT_EQ(Download(server.BaseUrl() + "/f.jpg", out / "f.jpg"), DownloadSaved);
    EXPECT_EQ(Sandbox::ReadFile(out / "f.jpg"), "\xFF\xD8 picture bytes");
    // The existence probe and the transfer, both through the proxy.
    const std::vector<std::string> expected(2, "GET " + server.BaseUrl() + "/f.jpg");
    EXPECT_EQ(proxy.Carried(), expected);
}

TEST_F(ClientDownloadTest, WithoutTheOptionTheProxyOfTheEnvironmentCarriesProbeAndTransfer) {
    Sandbox::WriteFile(site / "f.jpg", "\xFF\xD8 picture bytes");
    LoopbackServer server(site.Path());
    LoopbackProxy proxy;
    ASSERT_TRUE(proxy.Running());
    // The loopback fixtures keep 127.0.0.1 off proxies; here the environment sends it through one.
    ::setenv("http_proxy", proxy.Url().c_str(), 1);
    ::setenv("no_proxy", "", 1);
    ::setenv("NO_PROXY", "", 1);
    const int result = Download(server.BaseUrl() + "/f.jpg", out / "f.jpg");
    ::unsetenv("http_proxy");
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    EXPECT_EQ(result, DownloadSaved);
    const std::vector<std::string> expected(2, "GET " + server.BaseUrl() + "/f.jpg");
    EXPECT_EQ(proxy.Carried(), expected);
}

TEST_F(ClientDownloadTest, ASingleFileSendsTheCookieOfTheCookieFile) {
    Sandbox::WriteFile(site / "members/f.jpg", "\xFF\xD8 member picture");
    LoopbackServer server(site.Path(), R"({"need_cookie": {"/members/": "member=yes-7f3a"}})");
    const std::string cookies = files / "cookies.txt";
    Sandbox::WriteFile(cookies, "127.0.0.1\tFALSE\t/\tFALSE\t0\tmember\tyes-7f3a\n");
    ::chmod(cookies.c_str(), 0600);
    EXPECT_EQ(Download(server.BaseUrl() + "/members/f.jpg", out / "f.jpg"), DownloadNotFound);
    UseWebOptions("cookie-file=" + cookies + "\r\n");
    EXPECT_EQ(Download(server.BaseUrl() + "/members/f.jpg", out / "f.jpg"), DownloadSaved);
    EXPECT_EQ(Sandbox::ReadFile(out / "f.jpg"), "\xFF\xD8 member picture");
}

TEST_F(ClientDownloadTest, AnArchiveServedWithContentEncodingIsKeptAsServed) {
    // What servers that mark .gz files with "Content-Encoding: gzip" send: the archive itself.
    const std::string archive(
        "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\xff\x4b\x2c\x4a\xce\xc8\x2c\x4b\x55\x48\xca\x4f\xa9\x54\x48\x1c\x99\x1c"
        "\x00\x2a\x1d\x3e\x5e\x04\x01\x00\x00",
        36);
    Sandbox::WriteFile(site / "a.tar.gz", archive);
    LoopbackServer server(site.Path(), R"({"/a.tar.gz": {"headers": {"Content-Encoding": "gzip"}}})");
    EXPECT_EQ(Download(server.BaseUrl() + "/a.tar.gz", out / "a.tar.gz"), DownloadSaved);
    EXPECT_EQ(Sandbox::ReadFile(out / "a.tar.gz"), archive);
}
