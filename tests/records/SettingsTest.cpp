#include <gtest/gtest.h>

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "records/Settings.h"
#include "tests/support/Sandbox.h"

using namespace records;
using testsupport::Sandbox;

TEST(Settings, FreshInstallReadsTheDefaults) {
    Sandbox box;
    const std::string ini = SettingsPath(box.Path() + "prog");
    EXPECT_EQ(ini, box.Path() + "prog/Sitrov.ini");
    EXPECT_EQ(ReadDefMode(ini), 1164033u);
    EXPECT_EQ(ReadBlogCutOff(ini), 5);
    EXPECT_EQ(ReadWhlMode(ini), 0u);
    EXPECT_EQ(ReadSrsMode(ini), 0u);
    const SeriesErrorSettings series = ReadSeriesError(ini);
    EXPECT_EQ(series.receiveTimeOutSec, 60);
    EXPECT_EQ(series.retryCount, 3);
    EXPECT_EQ(series.waitSec, 30);
    const QdxWindowSize size = ReadQdxWindowSize(ini);
    EXPECT_EQ(size.width, 360u);
    EXPECT_EQ(size.height, 480u);
    EXPECT_TRUE(ReadSaveHistory(ini).empty());
    EXPECT_EQ(ReadBrowserPath(ini), "None");
    EXPECT_EQ(ReadBrowserPath(ini, kBrowserAuto), "Auto");
    EXPECT_TRUE(BrowserCommandFor(ReadBrowserPath(ini), "/s/page.html").shellOpen);
}

TEST(Settings, StoredValuesAreReadAndCut) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    Sandbox::WriteFile(ini,
                       "[BasicOption]\r\nDefMode=abc\r\nBlogCutOff=70000\r\n"
                       "[SeriesError]\r\nReceiveTimeOutSec=99999999999\r\nRetryCount=-1\r\nWaitSec=45\r\n"
                       "[QdxWindowSize]\r\nWidth=-20\r\nHeight=900\r\n[WholeOption]\r\nWhlMode=3\r\n");
    EXPECT_EQ(ReadDefMode(ini), 0u);          // text that is no number clears every bit
    EXPECT_EQ(ReadBlogCutOff(ini), 70000 & 0xFFFF);
    const SeriesErrorSettings series = ReadSeriesError(ini);
    EXPECT_EQ(series.receiveTimeOutSec, 0xFFFF);  // saturated, then cut to 16 bits
    EXPECT_EQ(series.retryCount, 0xFFFF);
    EXPECT_EQ(series.waitSec, 45);
    const QdxWindowSize size = ReadQdxWindowSize(ini);
    EXPECT_EQ(size.width, 360u);
    EXPECT_EQ(size.height, 900u);
    EXPECT_EQ(ReadWhlMode(ini), 3u);
}

TEST(Settings, SiteSaveSettingsWriteExactlyDefModeThenBlogCutOff) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    Sandbox::WriteFile(ini, "[QdxWindowSize]\r\nWidth=400\r\nHeight=500\r\n"
                            "[BasicOption]\r\nBlogCutOff=5\r\nExtra=1\r\nDefMode=135267329\r\n"  // 0x8100401
                            "[WholeOption]\r\nWhlMode=1\r\n");
    // The dialog owns the mask 0x199C331; bit 0x1 has no control, so it goes; 0x8000000 stays.
    ASSERT_EQ(SaveSiteSaveSettings(ini, 0x100 | 0x200 | 0x10, false), 1);
    const uint32_t expected = 0x8000000 | 0x400 | 0x100 | 0x200 | 0x10;
    EXPECT_EQ(Sandbox::ReadFile(ini), "[QdxWindowSize]\r\nWidth=400\r\nHeight=500\r\n"
                                      "[BasicOption]\r\nDefMode=" + std::to_string(expected) +
                                          "\r\nBlogCutOff=65535\r\n"
                                          "[WholeOption]\r\nWhlMode=1\r\n");
    ASSERT_EQ(SaveSiteSaveSettings(ini, 0x1 | 0x4000, true), 1);
    EXPECT_EQ(ReadDefMode(ini), 0x8000000u | 0x400 | 0x1 | 0x4000);
    EXPECT_EQ(ReadBlogCutOff(ini), 5);
}

TEST(Settings, QdxFileSettingsOwnOneBitAndTheBrowser) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    // No BasicOption yet: the default word gains the bit, BlogCutOff stays absent.
    ASSERT_EQ(SaveQdxFileSettings(ini, true, "/usr/bin/firefox"), 1);
    EXPECT_EQ(Sandbox::ReadFile(ini), "[BasicOption]\r\nDefMode=" + std::to_string(1164033 | 0x8000000) +
                                          "\r\n[QdxDirectBrowse]\r\nBrowserPath=/usr/bin/firefox\r\n");
    // After the blog correction was switched off, BlogCutOff keeps 65535.
    ASSERT_EQ(SaveSiteSaveSettings(ini, 0x100, false), 1);
    ASSERT_EQ(SaveQdxFileSettings(ini, false, ""), 1);
    EXPECT_EQ(ReadBlogCutOff(ini), 65535);
    EXPECT_EQ(ReadDefMode(ini), 0x100u);
    EXPECT_EQ(ReadBrowserPath(ini), "None");
    EXPECT_NE(Sandbox::ReadFile(ini).find("[QdxDirectBrowse]\r\n"), std::string::npos);
}

TEST(Settings, BlogCutOffIsReadOncePerRun) {
    Sandbox box;
    engine::SaveJob job;
    job.SetProgramFolder(box.Path() + "prog");
    ASSERT_TRUE(platform::CreateFolder(box / "prog"));
    ASSERT_EQ(SaveSiteSaveSettings(job.IniPath(), 0, false), 1);
    EXPECT_EQ(JobBlogCutOff(job), 65535);
    ASSERT_EQ(SaveSiteSaveSettings(job.IniPath(), 0, true), 1);
    EXPECT_EQ(JobBlogCutOff(job), 65535);  // takes effect at the next start
    EXPECT_EQ(ReadBlogCutOff(job.IniPath()), 5);
}

TEST(Settings, WindowSizeIsRaisedToTheMinimumWhenStored) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    ASSERT_EQ(SaveQdxWindowSize(ini, 200, 100), 1);
    EXPECT_EQ(Sandbox::ReadFile(ini), "[QdxWindowSize]\r\nWidth=360\r\nHeight=480\r\n");
    ASSERT_EQ(SaveQdxWindowSize(ini, 800, 479), 1);
    EXPECT_EQ(Sandbox::ReadFile(ini), "[QdxWindowSize]\r\nWidth=800\r\nHeight=480\r\n");
}

TEST(Settings, DialogWordsKeepTheirUpperBits) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    Sandbox::WriteFile(ini, "[WholeOption]\r\nWhlMode=255\r\n[SeriesOption]\r\nSrsMode=31\r\n");
    ASSERT_EQ(SaveWholeOption(ini, false, true), 1);
    ASSERT_EQ(SaveSeriesOption(ini, true), 1);
    EXPECT_EQ(ReadWhlMode(ini), 0xF2u);
    EXPECT_EQ(ReadSrsMode(ini), 0x11u);
    ASSERT_EQ(SaveSeriesError(ini, "120", "0", "300"), 1);
    EXPECT_NE(Sandbox::ReadFile(ini).find("[SeriesError]\r\nReceiveTimeOutSec=120\r\nRetryCount=0\r\nWaitSec=300\r\n"),
              std::string::npos);
}

TEST(Settings, SaveHistoryEntriesFollowTheFieldAndTheList) {
    Sandbox box;
    const std::string there = box / "there";
    ASSERT_TRUE(platform::CreateFolder(there));
    const std::string gone = box / "gone/site.html";
    struct Case {
        const char* name;
        std::string field;
        std::vector<std::string> list;
        std::vector<std::string> expected;
    } cases[] = {
        {"field first, its duplicate skipped", there + "/a.html", {there + "/a.html", "x", "y"},
         {there + "/a.html", "x", "y"}},
        {"vanished folder: no entry, nothing skipped", gone, {gone, "x"}, {gone, "x"}},
        {"no separator: compared, not entered", "plain", {"plain", "x"}, {"x"}},
        {"at most five list items", there + "/b.html", {"1", "2", "3", "4", "5", "6"},
         {there + "/b.html", "1", "2", "3", "4", "5"}},
        {"case matters", there + "/c.html", {there + "/C.html"}, {there + "/c.html", there + "/C.html"}},
        {"right under the root", "/x.html", {}, {"/x.html"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SaveHistoryEntries(c.field, c.list), c.expected) << c.name;
}

TEST(Settings, SaveHistoryReadsUntilTheFirstGapAndSkipsVanishedFolders) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    ASSERT_TRUE(platform::CreateFolder(box / "a"));
    ASSERT_TRUE(platform::CreateFolder(box / "b"));
    Sandbox::WriteFile(ini, "[SpeedSelectPath]\r\nLatelyDir2=" + box / "a/x.html\r\n");
    EXPECT_TRUE(ReadSaveHistory(ini).empty());  // no LatelyDir1

    ASSERT_EQ(SaveSaveHistory(ini, box / "a/new.html", {box / "gone/x.html", box / "b/y.html"}), 1);
    EXPECT_EQ(Sandbox::ReadFile(ini), "[SpeedSelectPath]\r\nLatelyDir1=" + box / "a/new.html\r\nLatelyDir2=" +
                                          box / "gone/x.html\r\nLatelyDir3=" + box / "b/y.html\r\n");
    EXPECT_EQ(ReadSaveHistory(ini), (std::vector<std::string>{box / "a/new.html", box / "b/y.html"}));

    ASSERT_EQ(ClearSaveHistory(ini), 1);
    EXPECT_EQ(Sandbox::ReadFile(ini), "[SpeedSelectPath]\r\n");
    EXPECT_TRUE(ReadSaveHistory(ini).empty());
}

TEST(Settings, BrowserCommandAddsTheFileAccessFlagForChrome) {
    struct Case {
        const char* browser;
        bool flag;
    } cases[] = {
        {"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe", true},
        {"C:\\PROGRA~1\\GOOGLE\\CHROME.EXE", true},
        {"/usr/bin/google-chrome", true},
        {"/usr/bin/google-chrome-stable", true},
        {"/usr/bin/Chromium", true},
        {"/snap/bin/chromium-browser", true},
        {"/opt/chrome", true},
        {"/usr/bin/firefox", false},
        {"/opt/chrome/firefox", false},
        {"/usr/bin/chromedriver", false},
    };
    for (const Case& c : cases) {
        const BrowserCommand command = BrowserCommandFor(c.browser, "/s/My Page.html");
        EXPECT_FALSE(command.shellOpen) << c.browser;
        EXPECT_EQ(command.program, c.browser);
        const std::vector<std::string> expected =
            c.flag ? std::vector<std::string>{"--allow-file-access-from-files", "/s/My Page.html"}
                   : std::vector<std::string>{"/s/My Page.html"};
        EXPECT_EQ(command.args, expected) << c.browser;
    }
    EXPECT_TRUE(BrowserCommandFor("None", "/p").shellOpen);
    EXPECT_TRUE(BrowserCommandFor("", "/p").shellOpen);
    EXPECT_TRUE(BrowserCommandFor("Auto", "/p").shellOpen);  // the dialog's word for the default handler
}

TEST(Settings, NamedOptionsHaveTheirOwnSectionInShiftJis) {
    Sandbox box;
    const std::string ini = box / "Sitrov.ini";
    Sandbox::WriteFile(ini, "[BasicOption]\r\nDefMode=1\r\n");
    EXPECT_EQ(ReadNamedOptions(ini), engine::NamedOptions{});  // no section: every default
    engine::NamedOptions options;
    options.cookieFile = "/home/me/クッキー.txt";
    ASSERT_EQ(SaveNamedOptions(ini, options), 1);
    EXPECT_EQ(Sandbox::ReadFile(ini), "[BasicOption]\r\nDefMode=1\r\n[WebOptions]\r\ncookie-file=/home/me/\x83N\x83\x62\x83L\x81[.txt\r\nignore-robots=0\r\n"
                                       "wait-ms=0\r\nwait-random=0\r\nhistory-runs=5\r\ncredentials-file=\r\nproxy=\r\nno-proxy=\r\nproxy-credentials-file=\r\naccept-self-signed=0\r\nsitemaps=0\r\nwarc=0\r\nwacz=0\r\nrender=0\r\nrender-keep-scripts=0\r\n");
    EXPECT_EQ(ReadNamedOptions(ini), options);
    // A value its option cannot take reads as the default.
    Sandbox::WriteFile(ini, "[WebOptions]\r\ncookie-file=cookies.txt\r\n");
    EXPECT_EQ(ReadNamedOptions(ini).cookieFile, "");
}
