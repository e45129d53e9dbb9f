// The error log of a save: a temporary file under a free name, kept beside the site on request.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "platform/FileLock.h"
#include "records/ErrorLog.h"
#include "tests/support/Sandbox.h"

using testsupport::Sandbox;

namespace {

size_t FileCount(const std::string& folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

}  // namespace

TEST(ErrorLog, LinesGoToATemporaryFileThatIsKeptOnlyWhenAsked) {
    Sandbox temp, site;
    Sandbox::WriteFile(site / "SitrovError.log", "an older kept log, longer than the new one\r\n");
    {
        records::ErrorLog log;
        ASSERT_EQ(log.Open(temp.Path()), 1);
        const std::string path = log.TempPath();
        std::smatch m;
        ASSERT_TRUE(std::regex_match(path, m, std::regex(temp.Path() + "SitrovError([0-9]+)\\.log")));
        EXPECT_LE(std::stoi(m[1]), 1023);
        log.WriteLine("http://example.com/a.htmlのページを調査中…");
        log.WriteLine("snow \xE2\x98\x83 man");  // no code in Shift-JIS
        log.WriteLine("");
        EXPECT_EQ(log.Keep(site.Path()), 1);
        EXPECT_FALSE(Sandbox::Exists(path));
        log.WriteLine("after the end");  // goes nowhere
    }
    EXPECT_EQ(Sandbox::ReadFile(site / "SitrovError.log"),
              "http://example.com/a.html\x82\xCC\x83\x79\x81\x5B\x83\x57\x82\xF0\x92\xB2\x8D\xB8\x92\x86\x81\x63\r\n"
              "snow [U+2603] man\r\n"
              "\r\n");
    EXPECT_EQ(FileCount(temp.Path()), 0u);
}

TEST(ErrorLog, WithoutKeepNothingStaysBehind) {
    Sandbox temp, site;
    {
        records::ErrorLog log;
        ASSERT_EQ(log.Open(temp.Path()), 1);
        log.WriteLine("line");
        EXPECT_TRUE(Sandbox::Exists(log.TempPath()));
    }
    EXPECT_EQ(FileCount(temp.Path()), 0u);
    EXPECT_EQ(FileCount(site.Path()), 0u);
}

TEST(ErrorLog, TakenNamesAreSkippedAndAFullFolderIsAFailureNotAHang) {
    Sandbox temp;
    // The logs of live runs, held locked: one file under every name but one.
    Sandbox::WriteFile(temp / "SitrovError0.log", "x");
    platform::FileLock live;
    ASSERT_EQ(live.TakeExistingNow(temp / "SitrovError0.log"), platform::FileLock::LockTaken);
    for (int i = 1; i < 1024; ++i)
        if (i != 700)
            std::filesystem::create_hard_link(temp / "SitrovError0.log", temp / ("SitrovError" + std::to_string(i) + ".log"));
    records::ErrorLog log;
    ASSERT_EQ(log.Open(temp.Path()), 1);
    EXPECT_EQ(log.TempPath(), temp / "SitrovError700.log");
    records::ErrorLog second;
    EXPECT_EQ(second.Open(temp.Path()), 0);
    EXPECT_FALSE(second.IsOpen());
    second.WriteLine("nowhere");
    EXPECT_EQ(Sandbox::ReadFile(temp / "SitrovError5.log"), "x");
}

TEST(ErrorLog, AFolderThatCannotBeWrittenIsAFailure) {
    records::ErrorLog log;
    EXPECT_EQ(log.Open("/nonexistent-sitrova-folder/x"), 0);
    EXPECT_EQ(log.Keep("/tmp/"), 0);
}

TEST(ErrorLog, LogsOfDeadRunsAreRemovedAndThoseOfLiveRunsStay) {
    Sandbox temp;
    records::ErrorLog live;
    ASSERT_EQ(live.Open(temp.Path()), 1);
    Sandbox::WriteFile(temp / "SitrovError1024.log", "left by a killed run");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const std::string& path : {live.TempPath(), temp / "SitrovError1024.log"})
        std::filesystem::last_write_time(path, old);

    records::ErrorLog next;
    ASSERT_EQ(next.Open(temp.Path()), 1);
    EXPECT_FALSE(Sandbox::Exists(temp / "SitrovError1024.log"));
    EXPECT_TRUE(Sandbox::Exists(live.TempPath()));
    EXPECT_EQ(FileCount(temp.Path()), 2u);
}

TEST(ErrorLog, ALogLeftByARunKilledAMomentAgoIsRemovedByTheNextRun) {
    Sandbox temp;
    Sandbox::WriteFile(temp / "SitrovError5.log", "written just before the kill");  // held by nobody
    records::ErrorLog next;
    ASSERT_EQ(next.Open(temp.Path()), 1);
    EXPECT_FALSE(Sandbox::Exists(temp / "SitrovError5.log"));
    EXPECT_EQ(FileCount(temp.Path()), 1u);
}
