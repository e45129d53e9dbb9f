// A complete save of the demo site's corner whose article list a script builds from a JSON
// file: with "render", as a reader sees it; without, as the server sent it; and without a
// working renderer, as fetched with one line in the log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <sys/stat.h>

#include "engine/PlaceholderPages.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/SavedLog.h"

using namespace engine;
using testsupport::LinesWith;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

const std::string kRenderer = std::string(SITROVA_BIN_DIR) + "/SitrovaRender";

class RenderSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::HttpGlobalInit();
        ASSERT_TRUE(server.Running());
        ::setenv("SITROVA_RENDER_PROGRAM", kRenderer.c_str(), 1);
    }
    void TearDown() override { ::unsetenv("SITROVA_RENDER_PROGRAM"); }

    int Save(bool render, bool keepScripts = false, uint32_t cpuSleepMs = 0) {
        job = std::make_unique<SaveJob>();
        job->SetCpuSleepMs(cpuSleepMs);
        job->SetModeBits(mode::ModeSomeComplete);
        job->SetStartUrl(server.BaseUrl() + "/site/top/scripted/index.html");
        copy = std::make_unique<Sandbox>();
        job->SetSaveTarget(*copy / "index.html");
        NamedOptions named;
        named.render = render;
        named.renderKeepScripts = keepScripts;
        job->SetNamed(named);
        return SaveWorker(host, *job);
    }
    std::string Saved(const std::string& name) const { return Sandbox::ReadFile(*copy / name); }

    LoopbackServer server{std::string(SITROVA_TEST_DATA) + "/demo-site/main"};
    std::unique_ptr<Sandbox> copy;
    SilentHost host;
    std::unique_ptr<SaveJob> job;
};

// Every file of a copy, by its path inside it, with its bytes.
std::map<std::string, std::string> Files(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(root).string()] = Sandbox::ReadFile(entry.path().string());
    return files;
}

// The pictures, style sheets and other embedded files a saved page names that its copy lacks:
// what a reader offline would miss.
std::vector<std::string> MissingInCopy(const std::string& root, const std::string& page) {
    std::vector<std::string> missing;
    const std::string text = Sandbox::ReadFile(root + page);
    const std::regex embedded(R"re((?:\ssrc|<link\s[^>]*href)="([^"#?]*)")re");
    const std::filesystem::path folder = std::filesystem::path(root + page).parent_path();
    for (std::sregex_iterator it(text.begin(), text.end(), embedded), end; it != end; ++it) {
        const std::string target = (*it)[1];
        if (target.find(':') != std::string::npos || !Sandbox::Exists((folder / target).string()))
            missing.push_back(target);
    }
    return missing;
}

}  // namespace

TEST_F(RenderSaveTest, TheListAScriptBuildsIsSavedWithItsPagesAndPictures) {
    if (!platform::IsRegularFile(kRenderer)) GTEST_SKIP() << "SitrovaRender is not built (no Qt WebEngine)";
    EXPECT_EQ(Save(true), 1);
    for (const char* name : {"first", "second", "third"}) {
        EXPECT_EQ(IsSavedCopy(*copy / ("articles/" + std::string(name) + ".html")), 1) << name;
        EXPECT_TRUE(Sandbox::Exists(*copy / ("pictures/" + std::string(name) + ".png"))) << name;
    }
    EXPECT_TRUE(Sandbox::Exists(*copy / "articles.json"));  // what the script fetched
    const std::string list = Saved("index.html");
    EXPECT_NE(list.find("data-built=\"3\""), std::string::npos) << list;
    EXPECT_NE(list.find("href=\"articles/second.html\""), std::string::npos) << list;
    EXPECT_NE(list.find("src=\"pictures/third.png\""), std::string::npos) << list;
    EXPECT_NE(list.find("<meta charset=\"utf-8\">"), std::string::npos) << list;
    // The scripts are gone: opened offline, the copy must not build its list a second time.
    EXPECT_EQ(list.find("<script"), std::string::npos) << list;

    // Opened offline, every saved page shows all it names.
    for (const char* page : {"index.html", "articles/first.html", "articles/third.html"})
        EXPECT_EQ(MissingInCopy(copy->Path(), page), std::vector<std::string>{}) << page;
    EXPECT_EQ(LinesWith(*job, "描画"), 0);

    EXPECT_EQ(Save(true, true), 1);
    EXPECT_NE(Saved("index.html").find("<script src=\"list.js\"></script>"), std::string::npos);
}

TEST_F(RenderSaveTest, PagesRenderedAheadSideBySideGiveTheCopyOfOnePageAtATime) {
    if (!platform::IsRegularFile(kRenderer)) GTEST_SKIP() << "SitrovaRender is not built (no Qt WebEngine)";
    EXPECT_EQ(Save(true, false, 3), 1);  // a lower CPU level: one page at a time, nothing ahead
    const auto alone = Files(copy->Path());
    EXPECT_EQ(Save(true), 1);
    EXPECT_EQ(Files(copy->Path()), alone);
    EXPECT_EQ(LinesWith(*job, "描画"), 0);
}

TEST_F(RenderSaveTest, WithoutTheOptionThePageIsSavedAsTheServerSentIt) {
    EXPECT_EQ(Save(false), 1);
    const std::string list = Saved("index.html");
    EXPECT_NE(list.find("<ul id=\"articles\"></ul>"), std::string::npos) << list;
    EXPECT_NE(list.find("<script src=\"list.js\"></script>"), std::string::npos);
    EXPECT_FALSE(Sandbox::Exists(*copy / "articles/first.html"));
    EXPECT_EQ(LinesWith(*job, "描画"), 0);
}

TEST_F(RenderSaveTest, ARendererThatIsMissingOrFailsCostsALogLineAndThePageIsSavedAsFetched) {
    Sandbox bin;
    ::setenv("SITROVA_RENDER_PROGRAM", (bin / "none").c_str(), 1);
    EXPECT_EQ(Save(true), 1);
    EXPECT_NE(Saved("index.html").find("<ul id=\"articles\"></ul>"), std::string::npos);
    EXPECT_EQ(LinesWith(*job, "ページを描画するプログラムがありません"), 1);

    // A renderer that comes up and then dies on its first page.
    const std::string dying = bin / "dying";
    Sandbox::WriteFile(dying, "#!/bin/sh\nprintf 'status 5\\nready\\nend 0\\n\\n'\nexit 0\n");
    ASSERT_EQ(::chmod(dying.c_str(), 0755), 0);
    ::setenv("SITROVA_RENDER_PROGRAM", dying.c_str(), 1);
    EXPECT_EQ(Save(true), 1);
    EXPECT_NE(Saved("index.html").find("<ul id=\"articles\"></ul>"), std::string::npos);
    EXPECT_EQ(LinesWith(*job, "ページを描画するプログラムが応答しません"), 1);
}
