// The layout of a save's target: record file, data folder, mirrored folders, shortcut pages.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "records/SaveTarget.h"
#include "records/ShortcutPage.h"
#include "tests/support/Sandbox.h"

using namespace engine::mode;
using testsupport::Sandbox;

namespace {

std::string Golden(const std::string& name) { return Sandbox::ReadFile(std::string(SITROVA_TEST_DATA) + "/records/" + name); }

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SaveTargetTest : public ::testing::Test {
protected:
    void Prepare(uint32_t flags, const std::string& url, const std::string& target, int32_t limit) {
        job.SetModeBits(flags);
        job.SetStartUrl(url);
        job.SetSaveTarget(s / target);
        job.SetLankLimit(limit);
        records::PrepareSaveTarget(job, notes);
    }

    Sandbox s;
    engine::SaveJob job;
    std::vector<std::string> notes;
};

}  // namespace

TEST(MirroredLevels, TakesTheLastDirectoriesOfTheStartUrlAndNeverTheHost) {
    struct Case {
        const char* urlBase;
        int32_t limit;
        const char* mirrored;
    } cases[] = {
        {"http://h/a/b/c/", 0, ""},
        {"http://h/a/b/c/", 1, "c/"},
        {"http://h/a/b/c/", 2, "b/c/"},
        {"http://h/a/b/c/", 3, "a/b/c/"},
        {"http://example.com/a/", 5, "a/"},    // beyond the path: all of it, not "ample.com"
        {"https://example.com/x/y/", 1, "y/"},
        {"http://h/", 2, ""},
        {"http://h/a/../b/", 2, "_/b/"},       // no climbing out of the start folder
        {"http://h/a//b/", 3, "a/_/b/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(records::MirroredLevels(c.urlBase, c.limit), c.mirrored) << c.urlBase << " " << c.limit;
}

TEST_F(SaveTargetTest, DataFolderModePutsTheStartPageInTheDataFolderBehindAShortcut) {
    Prepare(0x301, "http://example.com/index.html", "site.html", 0);
    EXPECT_TRUE(std::filesystem::is_directory(s / "site.files"));
    EXPECT_EQ(Sandbox::ReadFile(s / "site.html"), Golden("DataFolderShortcut.html"));
    EXPECT_EQ(Sandbox::ReadFile(s / "site.qdx"), Golden("NewRecord769.qdx"));
    EXPECT_EQ(job.LogFolder(), s / "site.files/");
    EXPECT_EQ(job.StartFolder(), s / "site.files/");
    EXPECT_EQ(job.SaveName(), "index.html");
    EXPECT_EQ(job.ChosenSaveName(), "site.html");
    EXPECT_EQ(job.StartPath(), s / "site.files/index.html");
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(Entries(s.Path()), (std::vector<std::string>{"site.files", "site.html", "site.qdx"}));
}

TEST_F(SaveTargetTest, DataFolderModeWithALimitMirrorsTheUrlFoldersInsideIt) {
    Prepare(0x301, "http://example.com/a/b/c/index.html", "site.html", 2);
    EXPECT_TRUE(std::filesystem::is_directory(s / "site.files/b/c"));
    EXPECT_FALSE(Sandbox::Exists(s / "site.files/a"));
    EXPECT_EQ(job.LogFolder(), s / "site.files/");
    EXPECT_EQ(job.StartPath(), s / "site.files/b/c/index.html");
    EXPECT_NE(Sandbox::ReadFile(s / "site.html").find("URL=site.files/b/c/index.html\">"), std::string::npos);
}

TEST_F(SaveTargetTest, WithoutDataFolderALimitWritesTheLevelShortcutBesideTheTarget) {
    Prepare(0x201, "http://example.com/a/b/c/page.html", "page.html", 2);
    EXPECT_TRUE(std::filesystem::is_directory(s / "b/c"));
    EXPECT_EQ(Sandbox::ReadFile(s / "「page.html」へのショートカット.htm"), Golden("LevelShortcut.htm"));
    EXPECT_EQ(job.LogFolder(), s.Path());
    EXPECT_EQ(job.StartPath(), s / "b/c/page.html");
    EXPECT_EQ(job.SaveName(), "page.html");
}

TEST_F(SaveTargetTest, WithoutDataFolderAndLimitZeroOnlyTheRecordIsWritten) {
    Prepare(0x201, "http://example.com/a/page.html", "page.html", 0);
    EXPECT_EQ(Entries(s.Path()), (std::vector<std::string>{"page.qdx"}));
    EXPECT_EQ(job.StartPath(), s / "page.html");
}

TEST_F(SaveTargetTest, ASecondSaveKeepsTheFirstRecordByteForByte) {
    const std::string record =
        "769\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n"
        "\r\n__[QdxLinkFile.000]\r\n004019000\r\nhome\r\nhttp://example.com/\r\n\r\n__[KvMultiProfileSectionEnd]"
        "\r\n__[QdxExtraComment]\r\n\x83\x81\x83\x82\r\n__[KvMultiProfileSectionEnd]";
    Sandbox::WriteFile(s / "site.qdx", record);
    Prepare(0x305, "http://example.com/index.html", "site.html", 0);  // other options, same target
    EXPECT_EQ(Sandbox::ReadFile(s / "site.qdx"), record);
}

TEST_F(SaveTargetTest, AnUpdateCheckKeepsTheRecordItWasStartedFrom) {
    Sandbox::WriteFile(s / "renamed.qdx", "769\r\n");
    job.SetQdxPath(s / "renamed.qdx");
    Prepare(0x301, "http://example.com/index.html", "site.html", 0);
    EXPECT_FALSE(Sandbox::Exists(s / "site.qdx"));
    EXPECT_EQ(Sandbox::ReadFile(s / "renamed.qdx"), "769\r\n");
}

TEST_F(SaveTargetTest, ADynamicStartPageGetsItsLocalNameInTheDataFolder) {
    Prepare(0x301 | FollowDynamicPages, "http://example.com/list.php?x=1&y=2", "site.html", 0);
    EXPECT_EQ(job.SaveName(), "list__php____q_x=1__a_y=2.html");
    EXPECT_EQ(job.StartPath(), s / "site.files/list__php____q_x=1__a_y=2.html");
}

TEST_F(SaveTargetTest, TheStartPageNameInTheDataFolderCarriesNoFragment) {
    // An update check started from the record brings back the start's index mark.
    Prepare(0x301 | ModeIndexAppended, "http://example.com/a/index.html#DefIndexNoName", "site.html", 0);
    EXPECT_EQ(job.StartPath(), s / "site.files/index.html");
    EXPECT_NE(Sandbox::ReadFile(s / "site.html").find("URL=site.files/index.html\">"), std::string::npos);
}

TEST(ShortcutPage, NamesAreWrittenSoTheLinkStillLeadsToTheFile) {
    struct Case {
        const char* target;
        const char* link;  // as it must stand in the page
    } cases[] = {
        {"a.files/index.html", "a.files/index.html"},
        {"100%.files/x#1.html", "100%25.files/x%231.html"},
        {"q\"a&b.files/i.html", "q&quot;a&amp;b.files/i.html"},
        {"\xE2\x98\x83.files/i.html", "&#x2603;.files/i.html"},  // no code in Shift-JIS
    };
    for (const Case& c : cases) {
        const std::string page = records::ShortcutPageBytes(c.target, records::DataFolderShortcutTitle());
        EXPECT_NE(page.find(std::string("CONTENT=\"0;URL=") + c.link + "\">\r\n"), std::string::npos) << c.target;
        EXPECT_NE(page.find(std::string("<a href=\"") + c.link + "\">"), std::string::npos) << c.target;
    }
}
