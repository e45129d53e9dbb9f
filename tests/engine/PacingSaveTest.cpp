// The pace of a complete save: the wait between requests to one host, and the waits a busy
// server asks for with Retry-After.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "engine/PlaceholderPages.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/SavedLog.h"
#include "tests/support/WaitFor.h"

using namespace engine;
using namespace engine::mode;
using testsupport::LoopbackServer;
using testsupport::Sandbox;
using testsupport::Page;
using testsupport::LogHasPart;

namespace {

class PacingSaveTest : public ::testing::Test {
protected:
    void SetUp() override { platform::HttpGlobalInit(); }

    void Prepare(LoopbackServer& server, int64_t waitMs) {
        job.SetModeBits(ModeSomeComplete);
        job.SetStartUrl(server.BaseUrl() + "/index.html");
        job.SetSaveTarget(copy / "index.html");
        NamedOptions named;
        named.waitMs = waitMs;
        job.SetNamed(named);
    }

    Sandbox site, copy;
    SilentHost host;
    SaveJob job;
};

}  // namespace

TEST_F(PacingSaveTest, AWaitBetweenRequestsKeepsTheRateToOneHostBelowFivePerSecond) {
    std::string links;
    for (int i = 0; i < 9; ++i) {
        const std::string n = std::to_string(i);
        links += "<a href=\"p" + n + ".html\">" + n + "</a>";
        Sandbox::WriteFile(site / ("p" + n + ".html"), Page("page " + n));
    }
    Sandbox::WriteFile(site / "index.html", Page(links));
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    Prepare(server, 200);
    EXPECT_EQ(SaveWorker(host, job), 1);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(IsSavedCopy(copy / ("p" + std::to_string(i) + ".html")), 1) << i;

    // The worker and the threads that fetch ahead share the host's turns. The server notes a
    // request when it gets round to it, so on a busy machine two gaps can trade time: each gap
    // is only held to half the wait, the whole run to the rate.
    std::vector<double> times = server.RequestTimes();
    ASSERT_GE(times.size(), 10u);
    std::sort(times.begin(), times.end());
    for (size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], 0.1) << i;
    EXPECT_LT(static_cast<double>(times.size() - 1) / (times.back() - times.front()), 5.0);
}

TEST_F(PacingSaveTest, APageABusyServerRefusedOnceWithRetryAfterIsSavedWhole) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"a.html\">a</a><a href=\"b.html\">b</a>"));
    Sandbox::WriteFile(site / "a.html", Page("page a"));
    Sandbox::WriteFile(site / "b.html", Page("page b"));
    LoopbackServer server(site.Path(), R"({"/a.html": {"busy": {"status": 429, "retry_after": "1", "times": 1}},
                                          "/b.html": {"busy": {"status": 503, "retry_after": "0", "times": 2}}})");
    ASSERT_TRUE(server.Running());
    Prepare(server, 0);
    EXPECT_EQ(SaveWorker(host, job), 1);
    EXPECT_NE(Sandbox::ReadFile(copy / "a.html").find("page a"), std::string::npos);
    EXPECT_NE(Sandbox::ReadFile(copy / "b.html").find("page b"), std::string::npos);
    EXPECT_TRUE(LogHasPart(job, "サーバーが混雑しています。1秒待機します（Retry-After、1回目）"));
    EXPECT_TRUE(LogHasPart(job, "サーバーが混雑しています。0秒待機します（Retry-After、2回目）"));

    // Seconds or an HTTP date; anything else is no Retry-After.
    EXPECT_EQ(platform::RetryAfterSeconds(" 120 ", 0), 120);
    EXPECT_EQ(platform::RetryAfterSeconds("Thu, 01 Jan 1970 00:01:40 GMT", 40), 60);
    EXPECT_EQ(platform::RetryAfterSeconds("Thu, 01 Jan 1970 00:01:40 GMT", 1000), 0);
    EXPECT_EQ(platform::RetryAfterSeconds("soon", 0), -1);
    EXPECT_EQ(platform::RetryAfterSeconds("5x", 0), -1);
}

TEST_F(PacingSaveTest, AStopEndsALongRetryAfterWaitAtOnce) {
    Sandbox::WriteFile(site / "index.html", Page("start"));
    LoopbackServer server(site.Path(), R"({"/index.html": {"busy": {"status": 429, "retry_after": "3600", "times": 9}}})");
    ASSERT_TRUE(server.Running());
    Prepare(server, 0);
    job.StartWorker([this] { return SaveWorker(host, job); });
    ASSERT_TRUE(testsupport::WaitFor([&] { return LogHasPart(job, "60秒待機します（Retry-After"); }));
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(job.StopWorker(5000));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(1500));
    EXPECT_EQ(job.Result(), 0);
}
