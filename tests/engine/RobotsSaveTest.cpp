// A complete save and the site's robots.txt: obeyed by default, ignored by the switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "engine/PlaceholderPages.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/SavedLog.h"

using namespace engine;
using namespace engine::mode;
using testsupport::LoopbackServer;
using testsupport::Sandbox;
using testsupport::Page;
using testsupport::LinesWith;

namespace {

class RobotsSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::HttpGlobalInit();
        Sandbox::WriteFile(site / "index.html",
                           Page("<a href=\"open/a.html\">a</a><a href=\"closed/b.html\">b</a><img src=\"closed/c.png\">"));
        Sandbox::WriteFile(site / "open/a.html", Page("open<a href=\"../closed/b.html\">b</a>"));
        Sandbox::WriteFile(site / "closed/b.html", Page("closed<img src=\"d.png\">"));
        Sandbox::WriteFile(site / "closed/c.png", "\x89PNG\r\n\x1a\nc");
        Sandbox::WriteFile(site / "closed/d.png", "\x89PNG\r\n\x1a\nd");
    }

    int Save(LoopbackServer& server, const std::string& leaf, bool ignoreRobots) {
        job = std::make_unique<SaveJob>();
        job->SetModeBits(ModeSomeComplete);
        job->SetStartUrl(server.BaseUrl() + "/" + leaf);
        saves.push_back(std::make_unique<Sandbox>());
        std::filesystem::create_directories(std::filesystem::path(*saves.back() / leaf).parent_path());
        job->SetSaveTarget(*saves.back() / leaf);
        NamedOptions named;
        named.ignoreRobots = ignoreRobots;
        job->SetNamed(named);
        return SaveWorker(host, *job);
    }

    const Sandbox& Copy() const { return *saves.back(); }

    Sandbox site;
    std::vector<std::unique_ptr<Sandbox>> saves;
    SilentHost host;
    std::unique_ptr<SaveJob> job;
};

}  // namespace

TEST_F(RobotsSaveTest, AForbiddenFolderStaysOnlineUnlessTheSwitchIgnoresIt) {
    Sandbox::WriteFile(site / "robots.txt", "User-agent: *\nDisallow: /closed/\nCrawl-delay: 0.5\n");
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());

    EXPECT_EQ(Save(server, "index.html", false), 1);
    EXPECT_EQ(IsSavedCopy(Copy() / "open/a.html"), 1);
    EXPECT_FALSE(Sandbox::Exists(Copy() / "closed/b.html"));
    EXPECT_FALSE(Sandbox::Exists(Copy() / "closed/c.png"));
    EXPECT_FALSE(Sandbox::Exists(Copy() / "closed/d.png"));
    // The copy links the forbidden page online, and the log says why, once per URL.
    EXPECT_NE(Sandbox::ReadFile(Copy() / "index.html").find(server.BaseUrl() + "/closed/b.html"), std::string::npos);
    EXPECT_EQ(LinesWith(*job, "robots.txt により取得しません: " + server.BaseUrl() + "/closed/b.html"), 1);
    EXPECT_EQ(LinesWith(*job, "robots.txt により取得しません: " + server.BaseUrl() + "/closed/c.png"), 1);
    EXPECT_EQ(LinesWith(*job, "Crawl-delay: 0.5 秒"), 1);
    // The delay paces every request after robots.txt itself.
    const std::vector<double> times = server.RequestTimes();
    ASSERT_GE(times.size(), 3u);
    for (size_t i = 2; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], 0.45) << i;

    EXPECT_EQ(Save(server, "index.html", true), 1);
    EXPECT_EQ(IsSavedCopy(Copy() / "closed/b.html"), 1);
    EXPECT_EQ(Sandbox::ReadFile(Copy() / "closed/d.png"), "\x89PNG\r\n\x1a\nd");
    EXPECT_EQ(LinesWith(*job, "robots.txt"), 0);
    EXPECT_EQ(LinesWith(*job, "Crawl-delay"), 0);
}

TEST_F(RobotsSaveTest, TheStartPageIsSavedWithAWarningAndAMissingOrBrokenFileLeavesTheSiteOpen) {
    Sandbox::WriteFile(site / "robots.txt", "User-agent: sitrova\nDisallow: /closed/\n");
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    EXPECT_EQ(Save(server, "closed/b.html", false), 1);
    EXPECT_EQ(IsSavedCopy(Copy() / "closed/b.html"), 1);
    EXPECT_EQ(LinesWith(*job, "開始ページのため取得します"), 1);
    EXPECT_FALSE(Sandbox::Exists(Copy() / "closed/d.png"));

    // No robots.txt: the save and its log are those of the switch.
    ASSERT_EQ(std::remove((site / "robots.txt").c_str()), 0);
    EXPECT_EQ(Save(server, "index.html", false), 1);
    const std::vector<std::string> obeyed = job->DetailedLog();
    EXPECT_EQ(Sandbox::ReadFile(Copy() / "closed/d.png"), "\x89PNG\r\n\x1a\nd");
    EXPECT_EQ(Save(server, "index.html", true), 1);
    EXPECT_EQ(job->DetailedLog().size(), obeyed.size());
    EXPECT_EQ(LinesWith(*job, "robots.txt"), 0);
}
