#include <gtest/gtest.h>

#include "engine/CpuLevel.h"
#include "engine/ProgressText.h"
#include "engine/SaveManager.h"

using namespace engine;

TEST(CpuLevel, LevelsMapToPauses) {
    EXPECT_EQ(SleepForLevel(100), 0u);
    EXPECT_EQ(SleepForLevel(80), 3u);
    EXPECT_EQ(SleepForLevel(40), 99u);
    EXPECT_EQ(SleepForLevel(10), 999u);
    EXPECT_EQ(SleepForLevel(0), 2153u);
    EXPECT_EQ(SleepForCommandLevel(1), 999u);
    EXPECT_EQ(SleepForCommandLevel(2), 99u);
    EXPECT_EQ(SleepForCommandLevel(3), 3u);
    EXPECT_EQ(SleepForCommandLevel(4), 0u);
    EXPECT_EQ(SleepForCommandLevel(7), 0u);
    EXPECT_EQ(SleepForCommandLevel(0), 0u);
}

TEST(CpuLevel, PausesShowTheirLevelAndName) {
    EXPECT_EQ(LevelForSleep(99), 40);  // exactly 40, not 39
    EXPECT_EQ(LevelForSleep(0), 100);
    EXPECT_EQ(LevelForSleep(999), 10);
    EXPECT_EQ(LevelName(0), "最大");
    EXPECT_EQ(LevelName(3), "最適");
    EXPECT_EQ(LevelName(99), "軽い");
    EXPECT_EQ(LevelName(999), "最小");
    EXPECT_EQ(LevelName(5000), "最小");
    for (int level = 10; level <= 100; ++level) EXPECT_GE(LevelForSleep(SleepForLevel(level)), level - 1) << level;
}

TEST(ProgressText, ElapsedAndRemainingTimes) {
    EXPECT_EQ(ElapsedText(0), "0秒");
    EXPECT_EQ(ElapsedText(90), "90秒");
    EXPECT_EQ(ElapsedText(91), "1分31秒");
    EXPECT_EQ(RemainingText(30, 0.5), "--分--秒");  // too early to tell
    EXPECT_EQ(RemainingText(31, 0.0), "--分--秒");  // nothing done yet
    EXPECT_EQ(RemainingText(40, 0.5), "0分40秒");
    EXPECT_EQ(RemainingText(100, 0.25), "5分0秒");
    EXPECT_EQ(TimeEstimate(95, 0.5), "予想残り時間：1分35秒　／　経過時間：1分35秒");
    EXPECT_EQ(MinutesSecondsText(125), "2分5秒");
}

TEST(ProgressText, StatusLineAndTitle) {
    JobSnapshot s;
    s.foundCount = 8;
    s.pendingCount = 6;
    s.cpuSleepMs = 3;
    s.startTick = 1000;
    EXPECT_EQ(StatusText(s, 1000 + 45000),
              "保存済み2個 ／ 発見済み8個　･･･25％終了（CPU 最適）\r\n予想残り時間：2分15秒　／　経過時間：45秒");
    EXPECT_EQ(ProgressTitle(s, 1000 + 5000), "Sitrova - 予想残り時間：--分--秒　／　経過時間：5秒");
    JobSnapshot none;
    EXPECT_EQ(StatusText(none, 0),
              "保存済み0個 ／ 発見済み0個　･･･0％終了（CPU 最大）\r\n予想残り時間：--分--秒　／　経過時間：0秒");
}

TEST(ProgressText, CompletionReports) {
    using namespace engine::mode;
    EXPECT_EQ(CompletionText(ModeNormal, false, "site.html", 1), "【site.html】\r\n\r\nのコンプリート保存を終了しました。\r\n");
    EXPECT_EQ(CompletionText(ModeNormal, false, "site.html", 0),
              "【site.html】\r\n\r\nのコンプリート保存を終了しました。\r\nしかし、ダウンロードに失敗したファイルが存在します。");
    EXPECT_EQ(CompletionText(ModeSomeComplete | neglect, false, "s", 0),
              "【s】\r\n\r\nのコンプリート保存を終了しました。\r\n※強制変換しましたが、コンプリートに失敗した可能性もあります。"
              "\r\n接続がオフラインの可能性もあります。");
    EXPECT_EQ(CompletionText(ModeUpdateCheck, false, "s", 2), "【s】\r\n\r\nの更新調査を終了しました。\r\n更新されたページは存在しません。");
    EXPECT_EQ(CompletionText(ModeSomeComplete, true, "s", 4),
              "【s】\r\n\r\nの更新調査を終了しました。\r\n更新されたページのコンプリート保存に成功しました。");
    EXPECT_EQ(CompletionText(ModeSomeComplete, true, "s", 8),
              "【s】\r\n\r\nの更新調査を終了しました。\r\nしかし更新チェック、もしくはコンプリート保存に失敗したページが存在します。");
    EXPECT_EQ(DescriptionText("S\r\n", "R", "2026/12/07", "9:05:03"),
              "S\r\n\r\n\r\n-------------------------------------------------------------------\r\nR\r\n\r\n2026/12/07 - 9:05:03");
}

// The window's copies of the report and the summary are built apart from the logged ones:
// in Japanese they must read byte for byte the same.
TEST(ProgressText, ShownReportAndSummaryInJapaneseAreTheLoggedOnes) {
    using namespace engine::mode;
    const struct {
        uint32_t flags;
        bool updateCheck;
        int result;
    } cases[] = {{ModeNormal, false, 1}, {ModeNormal, false, 0}, {ModeSomeComplete | neglect, false, 0},
                 {ModeUpdateCheck, false, 2}, {ModeSomeComplete, true, 4}, {ModeSomeComplete, true, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(ShownCompletionText(c.flags, c.updateCheck, "サイト.html", c.result),
                  CompletionText(c.flags, c.updateCheck, "サイト.html", c.result));
    }
    for (uint32_t flags : {ModeNormal | neglect | agent | arias | datafolder | qdxfile | OutDomainAll,
                           ModeSomeComplete | neglect | OutDomainSelect, ModeNormal | ModeIndexAppended, 0u}) {
        SCOPED_TRACE(flags);
        engine::SaveJob job;
        job.SetModeBits(flags);
        job.SetStartUrl("https://www.example.jp/docs/index.html");
        job.SetSaveTarget("/saves/docs.html");
        EXPECT_EQ(engine::ShownJobSummary(job), engine::BuildJobSummary(job));
    }
}
