#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "engine/FillJob.h"
#include "engine/JobRecords.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "engine/StartChecks.h"
#include "tests/support/Sandbox.h"

#include <unistd.h>

#include <filesystem>

using namespace engine;
using namespace engine::mode;

namespace {

// Collects what the job passes on to its error log.
class LineRecorder : public JobRecords {
public:
    void BeginSave(SaveJob&) override {}
    void RecordPage(SaveJob&, const std::string&, const std::string&, int32_t, int64_t) override {}
    int CheckSavedSite(SaveHost&, SaveJob&, const std::string&, const std::string&) override { return 2; }
    void WriteErrorLine(std::string_view line) override { lines.emplace_back(line); }
    void FinishSavedSiteLog(SaveJob&) override {}
    void KeepErrorLog(SaveJob&) override {}
    void WriteDescriptionLog(SaveJob&, const std::string&) override {}
    std::vector<std::string> lines;
};

}  // namespace

TEST(SaveJob, StartUrlAndTargetSplitAtTheirLastSlash) {
    SaveJob job;
    job.SetStartUrl("http://h/a/b/index.html");
    EXPECT_EQ(job.UrlBase(), "http://h/a/b/");
    EXPECT_EQ(job.UrlLeaf(), "index.html");
    EXPECT_EQ(job.StartUrl(), "http://h/a/b/index.html");
    job.SetModeBits(ModeIndexAppended);
    EXPECT_EQ(job.StartUrl(), "http://h/a/b/");

    job.SetSaveTarget("/home/u/saves/site.html");
    EXPECT_EQ(job.SaveFolder(), "/home/u/saves/");
    EXPECT_EQ(job.LogFolder(), "/home/u/saves/");
    EXPECT_EQ(job.StartFolder(), "/home/u/saves/");
    EXPECT_EQ(job.SaveName(), "site.html");
    job.SetSaveName("index.html");
    EXPECT_EQ(job.ChosenSaveName(), "site.html");
    EXPECT_EQ(job.StartPath(), "/home/u/saves/index.html");
}

TEST(SaveJob, NegativeLimitIsStoredAsZero) {
    SaveJob job;
    job.SetLankLimit(-3);
    EXPECT_EQ(job.LankLimit(), 0);
    job.SetLankLimit(2);
    EXPECT_EQ(job.LankLimit(), 2);
}

TEST(SaveJob, CountersAndPercent) {
    SaveJob job;
    EXPECT_EQ(job.PercentDone(), 0);  // nothing found yet: no division by zero
    job.AddFound(3);
    job.LinkDone(1);
    EXPECT_EQ(job.FoundCount(), 3u);
    EXPECT_EQ(job.PendingCount(), 2u);
    EXPECT_EQ(job.PercentDone(), 33);  // truncated
    job.LinkDone(5);                   // more done than pending never wraps around
    EXPECT_EQ(job.PendingCount(), 0u);
    EXPECT_EQ(job.PercentDone(), 100);
    job.SetCounters(7);
    EXPECT_EQ(job.PercentDone(), 0);
}

TEST(SaveJob, ContinuationMarkerExtendsTheLastLineAndIsNotPassedOn) {
    SaveJob job;
    LineRecorder recorder;
    job.SetRecords(&recorder);
    job.AppendLog("  コードを変換＆リンク先を調査中…");
    job.AppendLog("_Ad_50％･･･");
    job.AppendLog("_Ad_100％");
    job.AppendLog("next");
    const std::vector<std::string> log = job.DetailedLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "  コードを変換＆リンク先を調査中…50％･･･100％");
    EXPECT_EQ(log[1], "next");
    EXPECT_EQ(recorder.lines, (std::vector<std::string>{"  コードを変換＆リンク先を調査中…", "next"}));
    job.SetRecords(nullptr);

    SaveJob empty;
    empty.AppendLog("_Ad_alone");  // nothing to continue: the text stands as a line
    EXPECT_EQ(empty.DetailedLog(), std::vector<std::string>{"alone"});
}

TEST(SaveJob, LogViewShowsTheNewestLinesWithinTheBuffer) {
    SaveJob job;
    for (int i = 0; i < 10; ++i) job.AppendSimpleLog("line" + std::to_string(i));
    EXPECT_EQ(job.LogView(3), "line7\r\nline8\r\nline9");
    job.SetDetailView(true);
    EXPECT_EQ(job.LogView(3), "");
    for (int i = 0; i < 5; ++i) job.AppendLog(std::string(1500, 'a' + i));
    // Three lines of 1500 bytes and two breaks would need 4505 bytes: one line fewer fits.
    const std::string view = job.LogView(3);
    EXPECT_EQ(view, std::string(1500, 'd') + "\r\n" + std::string(1500, 'e'));
    EXPECT_LT(view.size(), SaveJob::kViewBytes);
}

TEST(SaveJob, LogViewDropsALineFrom4097BytesOnly) {
    // Two lines joined by CR LF: 4096 bytes still fit, 4097 bytes lose the older line.
    for (size_t total : {size_t{4095}, size_t{4096}, size_t{4097}}) {
        SaveJob job;
        job.AppendSimpleLog(std::string(2000, 'a'));
        job.AppendSimpleLog(std::string(total - 2002, 'b'));
        const std::string view = job.LogView(2);
        EXPECT_EQ(view.size(), total <= SaveJob::kViewBytes ? total : total - 2002) << total;
    }
}

TEST(SaveJob, LogListsKeepTheirNewestLinesOnly) {
    SaveJob job;
    for (size_t i = 0; i < SaveJob::kLogLinesKept + 10; ++i) job.AppendSimpleLog(std::to_string(i));
    const std::vector<std::string> log = job.SimpleLog();
    EXPECT_EQ(log.size(), SaveJob::kLogLinesKept);
    EXPECT_EQ(log.back(), std::to_string(SaveJob::kLogLinesKept + 9));
    // A full list takes over its oldest lines' room: short lines after long ones stay whole
    // and exact, and a continuation still joins the line before it.
    for (size_t i = 0; i < SaveJob::kLogLinesKept; ++i) job.AppendLog(std::string(300, 'x') + std::to_string(i));
    job.AppendLog("short");
    job.AppendLog("_Ad_ (1KB)");
    const std::vector<std::string> detail = job.DetailedLog();
    ASSERT_EQ(detail.size(), SaveJob::kLogLinesKept);
    EXPECT_EQ(detail.back(), "short (1KB)");
    EXPECT_EQ(detail.front(), std::string(300, 'x') + "1");
}

TEST(SaveJob, WorkerResultAndStop) {
    SaveJob job;
    std::atomic<bool> sawStop{false};
    job.StartWorker([&] {
        job.Pause(60000);  // a long pause ends at once when a stop is asked
        sawStop = job.StopRequested();
        return 4;
    });
    EXPECT_TRUE(job.WorkerRunning());
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(job.StopWorker(5000));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));  // not the 60 s pause
    EXPECT_TRUE(sawStop);
    EXPECT_TRUE(job.WorkerEnded());
    EXPECT_EQ(job.Result(), 4);
}

TEST(SaveJob, OptionsAreFrozenWhenTheWorkerStartsWhileRunStateGoesOn) {
    SaveJob job;
    job.SetModeBits(ModeSomeComplete | agent);
    job.SetLankLimit(3);
    job.SetTraceSelection({"a/"});
    job.StartWorker([] { return 0; });
    EXPECT_TRUE(job.WaitWorker(5000));
    EXPECT_TRUE(job.OptionsFrozen());
    job.SetModeBits(neglect);
    job.ClearModeBits(agent);
    job.SetLankLimit(9);
    job.SetUpdateCheck(true);
    job.SetTraceSelection({});
    EXPECT_FALSE(job.SetOptions(SaveOptions{}));
    const SaveOptions options = job.Options();
    EXPECT_EQ(options.modeFlags, ModeSomeComplete | agent);
    EXPECT_EQ(options.lankLimit, 3);
    EXPECT_FALSE(options.updateCheck);
    EXPECT_EQ(options.traceSelection, std::vector<std::string>{"a/"});
    // How far the run came is no option: it is kept apart and joins the word as stored.
    job.SetModeBits(ModeJobFinished);
    job.Progress().SetRunState(ModeMainClosed);
    EXPECT_EQ(job.Options().modeFlags, ModeSomeComplete | agent);
    EXPECT_EQ(job.ModeFlags(), ModeSomeComplete | agent | ModeJobFinished | ModeMainClosed);
    EXPECT_TRUE(job.Has(ModeMainClosed));
}

TEST(FillJob, ATrailingSlashNamesTheFoldersIndexPage) {
    SaveJob job;
    FillJob(job, {"http://h/d/", "/s/site.html", ModeNormal, 2, true});
    EXPECT_EQ(job.UrlLeaf(), "index.html");
    EXPECT_EQ(job.StartUrl(), "http://h/d/");  // the folder itself is asked for
    EXPECT_EQ(job.ModeFlags(), ModeNormal | ModeIndexAppended);
    EXPECT_EQ(job.SaveName(), "site.html");
    EXPECT_EQ(job.LankLimit(), 2);

    SaveJob bare;  // a host alone gets its root path first
    FillJob(bare, {"http://h", "", 0, 0, true});
    EXPECT_EQ(bare.UrlBase() + bare.UrlLeaf(), "http://h/index.html");
    SaveJob asGiven;
    FillJob(asGiven, {"http://h/d/", "", 0, 0, false});
    EXPECT_EQ(asGiven.UrlLeaf(), "");
    EXPECT_FALSE(asGiven.Has(ModeIndexAppended));

    std::string command = "http://h/d/";
    EXPECT_EQ(AppendIndexPage(command, "index.html#DefIndexNoName"), ModeIndexAppended);
    EXPECT_EQ(command, "http://h/d/index.html#DefIndexNoName");
    std::string page = "http://h/d/p.html";
    EXPECT_EQ(AppendIndexPage(page), 0u);
    EXPECT_EQ(page, "http://h/d/p.html");
}

TEST(SaveJob, KindFollowsThePrecedenceOfModeBits) {
    EXPECT_EQ(JobKind(ModeSomeComplete | ModeUpdateCheck), ModeSomeComplete);
    EXPECT_EQ(JobKind(ModeSomeSeries | ModeAdRemoval), ModeSomeSeries);
    EXPECT_EQ(JobKind(ModeUpdateCheck | ModeAdRemoval), ModeUpdateCheck);
    EXPECT_EQ(JobKind(ModeAdRemoval), ModeAdRemoval);
    EXPECT_EQ(JobKind(ModePresetUrl | ModeMaker), ModeNormal);
}

TEST(SaveJob, SummaryListsTheOptionsOfACompleteSave) {
    SaveJob job;
    job.SetModeBits(ModeSomeComplete | neglect | agent | datafolder | OutDomainSelect | ModeIndexAppended);
    job.SetStartUrl("http://h/d/index.html");
    job.SetSaveTarget("/s/site.html");
    job.SetLankLimit(2);
    EXPECT_EQ(BuildJobSummary(job),
              "【コンプリートするURL】\r\nhttp://h/d/\r\n【保存先のフルパス】\r\n/s/site.html\r\n\r\n"
              "上位階層の上限値：2\r\n強制変換：yes（Agent利用）\r\nAlias補正：no\r\nデータフォルダ作成：yes\r\n"
              "更新ログ作成：no\r\n外部パスの処理：選択\r\n\r\n");
    SaveJob file;
    file.SetModeBits(ModeSomeSeries);
    file.SetStartUrl("http://h/f.zip");
    file.SetSaveTarget("/s/f.zip");
    EXPECT_EQ(BuildJobSummary(file), "【ファイルURL】\r\nhttp://h/f.zip\r\n\r\n【保存先フルパス】\r\n/s/f.zip\r\n");
}

TEST(CheckSaveStart, BadStartInputIsNamedBeforeAnythingIsFetched) {
    testsupport::Sandbox box;
    testsupport::Sandbox::WriteFile(box / "file", "x");
    std::filesystem::create_directories(box / "ro");
    std::filesystem::permissions(box / "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool root = ::geteuid() == 0;  // root writes everywhere
    const struct { std::string url, path; uint32_t flags; int ok; std::string says; } cases[] = {
        {"http://h/a.html", box / "new/deep/a.html", engine::mode::qdxfile, 1, ""},
        {"http://h/a.html", box / "new", 0, 0, "フォルダが指定されています"},
        {"http://h/a.html", box / "file/sub/a.html", 0, 2, "同じ名前のファイルがあります: " + (box / "file")},
        {"http://h/a.html", box / "ro/sub/a.html", 0, root ? 1 : 2, root ? "" : (box / "ro/") + " に書き込めません"},
        {"http://h/\xE2\x98\x83.html", box / "s/a.html", engine::mode::qdxfile, 0, "U+2603"},
        {"http://h/a.html", box / "s/\xE2\x98\x83.html", engine::mode::qdxfile, 0, "U+2603"},
        {"http://h/\xE2\x98\x83.html", box / "s/a.html", 0, 1, ""},  // no record files: nothing to hold it
    };
    for (const auto& c : cases) {
        engine::SaveJob job;
        job.SetModeBits(c.flags);
        job.SetStartUrl(c.url);
        job.SetSaveTarget(c.path);
        std::string message;
        EXPECT_EQ(engine::CheckSaveStart(job, message), c.ok) << c.path;
        EXPECT_NE(message.find(c.says), std::string::npos) << c.path << ": " << message;
    }
    EXPECT_TRUE(std::filesystem::is_directory(box / "new/deep"));
    std::filesystem::permissions(box / "ro", std::filesystem::perms::owner_all);
}

TEST(CheckSaveStart, APathTooLongForTheFileSystemIsRefusedBeforeAnyFolderIsMade) {
    testsupport::Sandbox box;
    std::string deep = box / "p";
    while (deep.size() <= 4096) deep += "/" + std::string(200, 'd');
    const std::string long250(250, 's');
    const struct { std::string path; uint32_t flags; std::string says; } cases[] = {
        {box / "a/b/" + std::string(300, 'n') + "/a.html", 0, "名前が長すぎます"},
        {box / "c/" + long250 + ".html", engine::mode::datafolder, long250 + ".files/"},  // 256 bytes
        {deep + "/a.html", 0, "パスが長すぎます"},
    };
    for (const auto& c : cases) {
        engine::SaveJob job;
        job.SetModeBits(c.flags);
        job.SetStartUrl("http://h/a.html");
        job.SetSaveTarget(c.path);
        std::string message;
        EXPECT_EQ(engine::CheckSaveStart(job, message), 0) << c.path;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
    for (const char* first : {"a", "c", "p"}) EXPECT_FALSE(std::filesystem::exists(box / first)) << first;
}
