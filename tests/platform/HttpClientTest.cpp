#include "platform/HttpClient.h"
#include "platform/ContentHash.h"

#include "tests/support/ClosedPort.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using platform::HttpRequest;
using platform::HttpResponse;
using platform::HttpSession;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

using Clock = std::chrono::steady_clock;

// Bytes of every value, zeros included, so that text-mode or C-string handling shows.
std::string BinaryBody(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

uint32_t Crc32(const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A gzip stream holding `data` (under 64 KiB) in one stored block.
std::string Gzip(const std::string& data) {
    std::string out = {'\x1f', '\x8b', 8, 0, 0, 0, 0, 0, 0, '\xff', 1};
    PutLittleEndian(out, static_cast<uint32_t>(data.size()), 2);
    PutLittleEndian(out, static_cast<uint32_t>(~data.size() & 0xFFFF), 2);
    out += data;
    PutLittleEndian(out, Crc32(data), 4);
    PutLittleEndian(out, static_cast<uint32_t>(data.size()), 4);
    return out;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class HttpClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::HttpGlobalInit(); }

    void Serve(const std::string& rulesJson = "") {
        server = std::make_unique<LoopbackServer>(site.Path(), rulesJson);
        ASSERT_TRUE(server->Running());
    }

    // Every request is bounded: a silent server fails it after ten seconds.
    HttpRequest Request(const std::string& path) const {
        HttpRequest request;
        request.url = server->BaseUrl() + path;
        request.connectTimeoutSec = 10;
        request.receiveTimeoutSec = 10;
        return request;
    }

    Sandbox site;  // served folder
    Sandbox out;   // where fetched files go
    std::unique_ptr<LoopbackServer> server;
    HttpSession session;
};

TEST_F(HttpClientTest, WholeBodyArrivesByteExactThroughFileMemoryAndSink) {
    const std::string body = BinaryBody(300000);
    Sandbox::WriteFile(site / "data/big.bin", body);
    Serve();

    HttpResponse toFile = session.FetchToFile(Request("/data/big.bin"), out / "big.bin");
    EXPECT_EQ(toFile.result, platform::HttpOk) << toFile.error;
    EXPECT_EQ(toFile.status, 200);
    EXPECT_EQ(toFile.bytes, 300000);
    EXPECT_EQ(toFile.contentLength, 300000);
    EXPECT_FALSE(toFile.rangeHonoured);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.bin") == body);

    std::string memory;
    HttpResponse toMemory = session.FetchToMemory(Request("/data/big.bin"), memory);
    EXPECT_EQ(toMemory.result, platform::HttpOk) << toMemory.error;
    EXPECT_FALSE(toMemory.truncated);
    EXPECT_TRUE(memory == body);

    // A chunk size below libcurl's smallest buffer still bounds every piece.
    HttpRequest chunked = Request("/data/big.bin");
    chunked.chunkSize = 500;
    std::string joined;
    size_t largest = 0;
    HttpResponse toSink = session.Fetch(chunked, [&](const char* data, size_t length) {
        largest = std::max(largest, length);
        joined.append(data, length);
        return true;
    });
    EXPECT_EQ(toSink.result, platform::HttpOk) << toSink.error;
    EXPECT_LE(largest, 500u);
    EXPECT_TRUE(joined == body);
}

TEST_F(HttpClientTest, LocalStorageFailureIsFileErrorButMemoryLimitOnlyCutsTheBody) {
    const std::string body = BinaryBody(50000);
    Sandbox::WriteFile(site / "big.bin", body);
    Serve();

    std::string memory;
    HttpResponse cut = session.FetchToMemory(Request("/big.bin"), memory, 100);
    EXPECT_EQ(cut.result, platform::HttpOk) << cut.error;
    EXPECT_TRUE(cut.truncated);
    EXPECT_EQ(cut.bytes, 100);
    EXPECT_TRUE(memory == body.substr(0, 100));

    int pieces = 0;
    HttpResponse refused = session.Fetch(Request("/big.bin"), [&](const char*, size_t) {
        ++pieces;
        return false;
    });
    EXPECT_EQ(refused.result, platform::HttpFileError);
    EXPECT_EQ(pieces, 1);

    HttpResponse noFolder = session.FetchToFile(Request("/big.bin"), out / "missing/folder/big.bin");
    EXPECT_EQ(noFolder.result, platform::HttpFileError);
    EXPECT_NE(noFolder.error.find("missing/folder/big.bin"), std::string::npos) << noFolder.error;
    EXPECT_EQ(noFolder.cause, platform::FailureCause::Disk);
    HttpResponse longName = session.FetchToFile(Request("/big.bin"), out / std::string(300, 'n'));
    EXPECT_EQ(longName.result, platform::HttpFileError);
    EXPECT_EQ(longName.cause, platform::FailureCause::NameTooLong);
}

TEST_F(HttpClientTest, ErrorStatusIsStatusErrorAndLeavesNoBodyBehind) {
    Serve(R"({"/broken.html": {"status": 500, "body": "<html>server trouble</html>"}})");

    HttpResponse missing = session.FetchToFile(Request("/absent.html"), out / "absent.html");
    EXPECT_EQ(missing.result, platform::HttpStatusError);
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.cause, platform::FailureCause::HttpStatus);
    EXPECT_FALSE(missing.error.empty());
    EXPECT_FALSE(Sandbox::Exists(out / "absent.html"));

    // An earlier partial file stays as it was for a later retry.
    Sandbox::WriteFile(out / "broken.html", "earlier part");
    HttpResponse broken = session.FetchToFile(Request("/broken.html"), out / "broken.html");
    EXPECT_EQ(broken.result, platform::HttpStatusError);
    EXPECT_EQ(broken.status, 500);
    EXPECT_EQ(Sandbox::ReadFile(out / "broken.html"), "earlier part");

    std::string memory = "stale";
    HttpResponse inMemory = session.FetchToMemory(Request("/broken.html"), memory);
    EXPECT_EQ(inMemory.result, platform::HttpStatusError);
    EXPECT_EQ(memory, "");
}

TEST_F(HttpClientTest, RedirectsAreFollowedToTheFinalBodyUnlessTurnedOff) {
    Sandbox::WriteFile(site / "new/index.html", "<html>moved here</html>");
    Serve(R"({"/old.html": {"redirect": "/mid.html"},
              "/mid.html": {"redirect": "/new", "status": 301}})");

    // old.html -> mid.html -> /new -> /new/ (the folder redirect of the server)
    HttpResponse followed = session.FetchToFile(Request("/old.html"), out / "page.html");
    EXPECT_EQ(followed.result, platform::HttpOk) << followed.error;
    EXPECT_EQ(followed.status, 200);
    EXPECT_EQ(followed.effectiveUrl, server->BaseUrl() + "/new/");
    EXPECT_EQ(Sandbox::ReadFile(out / "page.html"), "<html>moved here</html>");

    HttpRequest notFollowed = Request("/old.html");
    notFollowed.followRedirects = false;
    HttpResponse stopped = session.FetchToFile(notFollowed, out / "stopped.html");
    EXPECT_EQ(stopped.result, platform::HttpStatusError);
    EXPECT_EQ(stopped.status, 302);
    EXPECT_FALSE(Sandbox::Exists(out / "stopped.html"));
}

TEST_F(HttpClientTest, BrokenReadResumedByRangeCompletesTheFileByteExact) {
    const std::string body = BinaryBody(200000);
    Sandbox::WriteFile(site / "big.bin", body);
    Serve(R"({"/big.bin": {"drop_after": 70000, "drop_times": 1}})");

    HttpResponse first = session.FetchToFile(Request("/big.bin"), out / "big.bin");
    EXPECT_EQ(first.result, platform::HttpFailed);
    EXPECT_FALSE(first.error.empty());
    ASSERT_EQ(first.bytes, 70000);
    ASSERT_EQ(Sandbox::ReadFile(out / "big.bin").size(), 70000u);

    // Bytes past the resume point (a torn write) are cut before the rest is appended.
    Sandbox::WriteFile(out / "big.bin", body.substr(0, 70000) + "torn tail");
    HttpRequest resumed = Request("/big.bin");
    resumed.resumeFrom = first.bytes;
    // A hash of the appended bytes alone would pass for the file's: none is given.
    resumed.hashBody = true;
    resumed.headBytes = 8;
    HttpResponse second = session.FetchToFile(resumed, out / "big.bin");
    EXPECT_EQ(second.result, platform::HttpOk) << second.error;
    EXPECT_EQ(second.status, 206);
    EXPECT_TRUE(second.rangeHonoured);
    EXPECT_EQ(second.bodyHash, "");
    EXPECT_TRUE(second.bodyHead == body.substr(70000, 8));
    EXPECT_EQ(second.bytes, 130000);
    EXPECT_EQ(second.contentLength, 130000);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.bin") == body);
    EXPECT_NE(server->RequestLog().find("GET /big.bin bytes=70000-\n"), std::string::npos)
        << server->RequestLog();
}

TEST_F(HttpClientTest, ServerIgnoringTheRangeGetsTheWholeFileRewritten) {
    const std::string body = BinaryBody(20000);
    Sandbox::WriteFile(site / "big.bin", body);
    Serve(R"({"/big.bin": {"ignore_range": true}})");
    // The old partial file is longer than the new whole body, so a rewrite must truncate it.
    Sandbox::WriteFile(out / "big.bin", std::string(25000, 'x'));

    HttpRequest resumed = Request("/big.bin");
    resumed.resumeFrom = 25000;
    resumed.hashBody = true;
    resumed.headBytes = 8;
    HttpResponse response = session.FetchToFile(resumed, out / "big.bin");
    EXPECT_EQ(response.result, platform::HttpOk) << response.error;
    EXPECT_EQ(response.status, 200);
    EXPECT_FALSE(response.rangeHonoured);
    EXPECT_EQ(response.bytes, 20000);
    EXPECT_TRUE(Sandbox::ReadFile(out / "big.bin") == body);
    // Written whole, the file's hash and first bytes come with the answer.
    EXPECT_EQ(response.bodyHash, platform::FileContentHash(out / "big.bin"));
    EXPECT_TRUE(response.bodyHead == body.substr(0, 8));
    EXPECT_NE(server->RequestLog().find("GET /big.bin bytes=25000-"), std::string::npos);
}

TEST_F(HttpClientTest, StopRequestCancelsAWaitingTransferLongBeforeItsAnswer) {
    Serve(R"({"/slow.html": {"delay": 20, "body": "late"}})");
    const Clock::time_point start = Clock::now();
    HttpRequest request = Request("/slow.html");
    request.stopRequested = [start] { return Clock::now() - start > std::chrono::milliseconds(300); };

    HttpResponse response = session.FetchToFile(request, out / "slow.html");
    EXPECT_EQ(response.result, platform::HttpCancelled);
    EXPECT_LT(SecondsSince(start), 5.0);  // the answer would take 20 s
    EXPECT_FALSE(Sandbox::Exists(out / "slow.html"));

    request.stopRequested = [] { return true; };
    EXPECT_EQ(session.FetchToFile(request, out / "slow.html").result, platform::HttpCancelled);
}

TEST_F(HttpClientTest, SilentServerFailsAfterTheReceiveTimeout) {
    Serve(R"({"/silent.html": {"delay": 30, "body": "late"}})");
    HttpRequest request = Request("/silent.html");
    request.receiveTimeoutSec = 1;
    const Clock::time_point start = Clock::now();
    HttpResponse response = session.FetchToFile(request, out / "silent.html");
    EXPECT_EQ(response.result, platform::HttpFailed);
    EXPECT_EQ(response.cause, platform::FailureCause::TimedOut);
    EXPECT_FALSE(response.error.empty());
    EXPECT_LT(SecondsSince(start), 10.0);  // the answer would take 30 s
}

TEST_F(HttpClientTest, RefusedConnectionIsFailedWithoutStatus) {
    const int port = testsupport::ClosedPort();
    ASSERT_GT(port, 0);
    HttpRequest request;
    request.url = "http://127.0.0.1:" + std::to_string(port) + "/index.html";
    request.connectTimeoutSec = 5;
    HttpResponse response = session.FetchToFile(request, out / "index.html");
    EXPECT_EQ(response.result, platform::HttpFailed);
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.cause, platform::FailureCause::Refused);
    EXPECT_FALSE(response.error.empty());
    EXPECT_FALSE(Sandbox::Exists(out / "index.html"));
}

TEST_F(HttpClientTest, OneSessionKeepsServingAfterResumesErrorsAndCancels) {
    const std::string body = BinaryBody(10000);
    Sandbox::WriteFile(site / "page.bin", body);
    Serve(R"({"/slow.bin": {"delay": 20}})");

    HttpRequest ranged = Request("/page.bin");
    ranged.resumeFrom = 4000;
    ranged.agent = "FirstAgent";
    std::string part;
    EXPECT_EQ(session.FetchToMemory(ranged, part).status, 206);
    EXPECT_EQ(session.FetchToFile(Request("/absent.bin"), out / "absent.bin").result,
              platform::HttpStatusError);
    HttpRequest cancelled = Request("/slow.bin");
    const Clock::time_point start = Clock::now();
    cancelled.stopRequested = [start] { return Clock::now() - start > std::chrono::milliseconds(200); };
    EXPECT_EQ(session.FetchToFile(cancelled, out / "x.bin").result, platform::HttpCancelled);

    // Nothing of the earlier requests (range, agent, stop callback) carries over.
    HttpResponse plain = session.FetchToFile(Request("/page.bin"), out / "page.bin");
    EXPECT_EQ(plain.result, platform::HttpOk) << plain.error;
    EXPECT_EQ(plain.status, 200);
    EXPECT_TRUE(Sandbox::ReadFile(out / "page.bin") == body);
    HttpResponse again = session.FetchToFile(Request("/page.bin"), out / "again.bin");
    EXPECT_EQ(again.result, platform::HttpOk) << again.error;
    EXPECT_TRUE(Sandbox::ReadFile(out / "again.bin") == body);

    const std::string log = server->RequestLog();
    EXPECT_NE(log.find("GET /page.bin bytes=4000-\n"), std::string::npos) << log;
    EXPECT_NE(log.find("GET /page.bin -\nGET /page.bin -\n"), std::string::npos) << log;
}

TEST_F(HttpClientTest, AgentAndExtraHeaderLinesReachTheServer) {
    Serve(R"({"/echo": {"echo_headers": true}})");
    HttpRequest request = Request("/echo");
    request.agent = "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1)";
    request.extraHeaders = "Referer: http://example.test/dir/\r\nX-Sitrova-Check: yes\r\n";
    std::string echoed;
    ASSERT_EQ(session.FetchToMemory(request, echoed).result, platform::HttpOk);
    EXPECT_NE(echoed.find("User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1)\r\n"),
              std::string::npos) << echoed;
    EXPECT_NE(echoed.find("Referer: http://example.test/dir/\r\n"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find("X-Sitrova-Check: yes\r\n"), std::string::npos) << echoed;

    ASSERT_EQ(session.FetchToMemory(Request("/echo"), echoed).result, platform::HttpOk);
    EXPECT_EQ(echoed.find("User-Agent:"), std::string::npos) << echoed;
    EXPECT_EQ(echoed.find("Referer:"), std::string::npos) << echoed;
}

TEST_F(HttpClientTest, CompressedPageArrivesDecodedWithUnknownLength) {
    const std::string page = "<html><title>packed</title>" + std::string(3000, 'a') + "</html>";
    Sandbox::WriteFile(site / "packed.html", Gzip(page));
    Serve(R"({"/packed.html": {"headers": {"Content-Encoding": "gzip"}}})");

    HttpResponse response = session.FetchToFile(Request("/packed.html"), out / "packed.html");
    EXPECT_EQ(response.result, platform::HttpOk) << response.error;
    EXPECT_EQ(response.contentLength, -1);
    EXPECT_EQ(response.bytes, static_cast<int64_t>(page.size()));
    EXPECT_EQ(Sandbox::ReadFile(out / "packed.html"), page);
}

}  // namespace
