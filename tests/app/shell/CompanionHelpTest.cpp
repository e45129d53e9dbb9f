#include <filesystem>
#include <regex>

#include "app/shell/Shell.h"
#include "tests/app/shell/XdgSandbox.h"
#include "tests/support/WaitFor.h"

namespace {

using appshell::Companion;
using testsupport::Sandbox;

TEST(Companions, PathsLieBesideTheProgram) {
    struct Case {
        std::string folder;
        Companion which;
        std::string path;
    };
    const Case cases[] = {
        {"/opt/sitrova", Companion::Sitrova, "/opt/sitrova/Sitrova"},
        {"/opt/sitrova", Companion::SitrovaCui, "/opt/sitrova/SitrovaCui"},
        {"/opt/sitrova", Companion::QdxSuite, "/opt/sitrova/QdxSuite"},
        {"/opt/sitrova/", Companion::QdXScheduler, "/opt/sitrova/QdXScheduler"},
        {"/", Companion::Sitrova, "/Sitrova"},
    };
    for (const Case& c : cases) EXPECT_EQ(appshell::CompanionPath(c.folder, c.which), c.path);
}

TEST(Companions, OnlyAMissingSchedulerIsReported) {
    Sandbox box;
    std::string message = "stale";
    EXPECT_EQ(appshell::StartCompanion(box.Path(), Companion::QdXScheduler, {}, &message), 0);
    EXPECT_EQ(message, "スケジューラ（QdXScheduler）が見つかりません。");
    for (Companion which : {Companion::Sitrova, Companion::SitrovaCui, Companion::QdxSuite}) {
        message = "stale";
        EXPECT_EQ(appshell::StartCompanion(box.Path(), which, {}, &message), 0);
        EXPECT_EQ(message, "");
    }
}

TEST(Companions, PresentProgramStartsWithItsArguments) {
    Sandbox box;
    const std::string out = box / "args.txt";
    shelltest::WriteScript(box / "QdxSuite", "printf '%s|' \"$@\" > '" + out + "Temp'\nmv '" + out +
                                                             "Temp' '" + out + "'\n");
    std::string message = "stale";
    ASSERT_EQ(appshell::StartCompanion(box.Path(), Companion::QdxSuite, {"QDX", "/a b/c.qdx"}, &message), 1);
    EXPECT_EQ(message, "");
    EXPECT_TRUE(testsupport::WaitFor([&] { return Sandbox::Exists(out); }));
    EXPECT_EQ(Sandbox::ReadFile(out), "QDX|/a b/c.qdx|");
}

class HelpTest : public ::testing::Test {
protected:
    // The opener records instead of starting a browser.
    appshell::Opener Recorder(int result = 1) {
        return [this, result](const std::string& target) {
            m_opened.push_back(target);
            return result;
        };
    }
    Sandbox m_box;
    std::vector<std::string> m_opened;
};

TEST_F(HelpTest, TopicsNamePagesOfTheHelpFolder) {
    const std::string help = "/opt/s/help/";
    struct Case {
        std::string topic;
        std::string path;
    };
    const Case cases[] = {
        {"", help + "index.html"},
        {"/2008320105935576.htm", help + "2008320105935576.htm"},
        {"200832011010248.htm#browser", help + "200832011010248.htm"},
        {"HelpTool.chm::/20083201102245.htm", help + "20083201102245.htm"},
        {"#top", help + "index.html"},
        {"/../Sitrov.ini", ""},
        {"/sub/page.htm", ""},
        {"..", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(appshell::HelpTopicPath("/opt/s", c.topic), c.path) << c.topic;
}

TEST_F(HelpTest, PresentPageOpensAsFileUrl) {
    const std::string folder = m_box / "my prog";
    Sandbox::WriteFile(folder + "/help/200832011010248.htm", "<html></html>");
    std::string message = "stale";
    EXPECT_EQ(appshell::OpenHelpTopic(folder, "/200832011010248.htm#browser", &message, Recorder()), 1);
    EXPECT_EQ(message, "");
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], "file://" + m_box.Path() + "my%20prog/help/200832011010248.htm#browser");
}

TEST_F(HelpTest, MissingOrUnopenablePageIsReportedByName) {
    std::string message;
    EXPECT_EQ(appshell::OpenHelpTopic(m_box.Path(), "/2008320105954514.htm", &message, Recorder()), 0);
    EXPECT_EQ(message, "2008320105954514.htm  が開けません。");
    EXPECT_TRUE(m_opened.empty());

    Sandbox::WriteFile(m_box / "help/index.html", "x");
    EXPECT_EQ(appshell::OpenHelpTopic(m_box.Path(), "", &message, Recorder(0)), 0);
    EXPECT_EQ(message, "index.html  が開けません。");

    EXPECT_EQ(appshell::OpenReadMe(m_box.Path(), &message, Recorder()), 0);
    EXPECT_EQ(message, "Read me.txt  が開けません。");
    Sandbox::WriteFile(m_box / "Read me.txt", "x");
    EXPECT_EQ(appshell::OpenReadMe(m_box.Path(), &message, Recorder()), 1);
    EXPECT_EQ(m_opened.back(), "file://" + m_box.Path() + "Read%20me.txt");
}

TEST(FileUrl, BytesOutsideTheUrlAlphabetAreEncoded) {
    EXPECT_EQ(appshell::FileUrl("/a b/#1%/日.htm"), "file:///a%20b/%231%25/%E6%97%A5.htm");
    EXPECT_EQ(appshell::FileUrl("/opt/Sitrova-6_1.~x"), "file:///opt/Sitrova-6_1.~x");
}

// The build ships a page for every topic the program opens, and their links lead somewhere.
TEST(ShippedHelp, EveryTopicAndLinkHasItsPage) {
    const std::string bin = SITROVA_BIN_DIR;
    for (const char* topic : {"", appshell::kQdxHelpTopic, "/2008320105935576.htm", "/2008320105954514.htm",
                              "/200832011010248.htm", "/20083201102245.htm"}) {
        const std::string page = appshell::HelpTopicPath(bin, topic);
        ASSERT_TRUE(std::filesystem::is_regular_file(page)) << page;
        const std::string html = Sandbox::ReadFile(page);
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
        const std::regex href("href=\"([^\"#]+)");
        for (std::sregex_iterator it(html.begin(), html.end(), href), end; it != end; ++it)
            EXPECT_TRUE(std::filesystem::is_regular_file(bin + "/help/" + (*it)[1].str())) << page << " → " << (*it)[1];
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(bin + "/Read me.txt"));
}

}  // namespace
