// The update check end to end: a save, a second save into the same target, against the
// loopback server; and checks of logs written elsewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <thread>

#include "engine/ModeFlags.h"
#include "engine/PlaceholderPages.h"
#include "engine/ProgressText.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/Codepage.h"
#include "platform/HttpClient.h"
#include "records/SaveRecords.h"
#include "tests/records/LogText.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WaitFor.h"
#include "tests/support/ShiftJis.h"

using namespace engine::mode;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

constexpr uint32_t kDefaultSave = 769;        // interactive, data folder, record
constexpr uint32_t kScheduledSave = 0x340;    // from the scheduler, data folder, record
constexpr int64_t kOldTime = 1000000000;      // 2001: a rewrite cannot keep it by chance
constexpr const char* kWindowsFolder = "C:\\Users\\me\\Saved\\site.files\\";

std::string Page(const std::string& body) { return "<html><head><title>t</title></head><body>" + body + "</body></html>"; }

void SetOldTime(const std::string& path) {
    const timespec times[2] = {{kOldTime, 0}, {kOldTime, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

int64_t MTime(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtime) : -1;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

using testsupport::Sjis;

struct SavedLog {
    std::vector<std::string> header;
    std::vector<recordstest::LogEntry> entries;
};

// The written log, line by line (the hand-written ones follow the same format).
SavedLog ReadLog(const std::string& path) {
    const std::string text = Sandbox::ReadFile(path);
    std::vector<std::string> lines;
    for (size_t from = 0, crlf; (crlf = text.find("\r\n", from)) != std::string::npos; from = crlf + 2)
        lines.push_back(text.substr(from, crlf - from));
    SavedLog log;
    for (size_t i = 0; i < lines.size() && i < 9; ++i) log.header.push_back(lines[i]);
    for (size_t i = 9; i + 3 < lines.size(); i += 4)
        log.entries.push_back({lines[i], lines[i + 1], std::stoi(lines[i + 2]), std::stoll(lines[i + 3])});
    return log;
}

const recordstest::LogEntry* Find(const SavedLog& log, const std::string& url) {
    for (const auto& e : log.entries)
        if (e.url == url) return &e;
    return nullptr;
}

struct SaveRun {
    int result = -1;
    bool updateCheck = false;
    std::string text;
    std::vector<std::string> log;
};

class UpdateCheckTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::HttpGlobalInit(); }

    void Serve(const std::string& rules = "") {
        server = std::make_unique<LoopbackServer>(site.Path(), rules);
        ASSERT_TRUE(server->Running());
    }
    std::string Url(const std::string& path) const { return server->BaseUrl() + "/" + path; }

    // One whole job as the program runs it: start, worker, and the end of the progress view.
    SaveRun Save(uint32_t flags, const std::string& leaf = "index.html") {
        engine::SaveJob job;
        records::SaveRecords records;
        records.SetTempFolder(temp.Path());
        job.SetRecords(&records);
        job.SetModeBits(flags);
        job.SetStartUrl(Url(leaf));
        job.SetSaveTarget(out / "site.html");
        EXPECT_EQ(engine::PrepareSaveStart(job), 1);
        SaveRun run;
        run.result = engine::SaveWorker(host, job);
        Finish(job, records, run);
        return run;
    }

    static void Finish(engine::SaveJob& job, records::SaveRecords& records, SaveRun& run) {
        run.updateCheck = job.UpdateCheck();
        run.text = engine::CompletionText(job.ModeFlags(), job.UpdateCheck(), job.ChosenSaveName(), run.result);
        if (run.result == 0 || run.result == 8) records.KeepErrorLog(job);
        records.FinishSavedSiteLog(job);
        run.log = job.DetailedLog();
        job.SetRecords(nullptr);
    }

    // An earlier log as written by a save on Windows into another folder.
    void WriteWindowsLog(const std::vector<recordstest::LogEntry>& entries) {
        recordstest::LogHeader h;
        h.storedFolder = kWindowsFolder;
        h.saveName = "index.html";
        h.urlBase = server->BaseUrl() + "/";
        h.urlLeaf = "index.html";
        Sandbox::WriteFile(data + "SitrovSaveInfo.log", recordstest::LogText(h, entries));
    }

    void ExpectNoLeftovers() {
        EXPECT_FALSE(Sandbox::Exists(data + "SitrovSaveInfo.log.tmp"));
        for (const auto& e : std::filesystem::recursive_directory_iterator(out.Path()))
            EXPECT_FALSE(e.path().extension() == ".tmp") << e.path();
        EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));  // the error log's temporary file
    }

    Sandbox site, out, temp;
    const std::string data = out / "site.files/";
    std::unique_ptr<LoopbackServer> server;
    engine::SilentHost host;
};

}  // namespace

TEST_F(UpdateCheckTest, AnUnchangedSiteIsReportedAndItsPagesAreNotRewritten) {
    Sandbox::WriteFile(site / "index.html", Page("hello"));
    Serve();
    SaveRun first = Save(kDefaultSave);
    ASSERT_EQ(first.result, 1);
    EXPECT_FALSE(first.updateCheck);
    SetOldTime(data + "index.html");

    SaveRun second = Save(kDefaultSave);
    EXPECT_TRUE(second.updateCheck);
    EXPECT_EQ(second.result, 2);
    EXPECT_EQ(second.text, "【site.html】\r\n\r\nの更新調査を終了しました。\r\n更新されたページは存在しません。");
    EXPECT_TRUE(Has(second.log, Url("index.html") + "のページを調査中…"));
    EXPECT_TRUE(Has(second.log, "  階層ナンバー: 0"));
    EXPECT_TRUE(Has(second.log, "　※このページは更新されていません。"));
    EXPECT_EQ(MTime(data + "index.html"), kOldTime);

    SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].path, data + "index.html");
    EXPECT_EQ(log.entries[0].size, static_cast<long long>(Page("hello").size()));
    EXPECT_FALSE(Sandbox::Exists(data + "SitrovError.log"));  // nothing failed
    ExpectNoLeftovers();
}

TEST_F(UpdateCheckTest, AChangedPageIsSavedAgainWithTheNewPageItLinksTo) {
    Sandbox::WriteFile(site / "index.html", Page("first"));
    Serve();
    ASSERT_EQ(Save(kDefaultSave).result, 1);
    const std::string changed = Page("now longer, with a link: <a href=\"new.html\">new</a>");
    Sandbox::WriteFile(site / "index.html", changed);
    Sandbox::WriteFile(site / "new.html", Page("new page"));

    SaveRun second = Save(kDefaultSave);
    EXPECT_EQ(second.result, 4);
    EXPECT_NE(second.text.find("更新されたページのコンプリート保存に成功しました。"), std::string::npos);
    EXPECT_TRUE(Has(second.log, "　※このページは更新されていました。"));
    EXPECT_NE(Sandbox::ReadFile(data + "index.html").find("now longer"), std::string::npos);
    EXPECT_EQ(Sandbox::ReadFile(data + "new.html"), Page("new page"));
    SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
    ASSERT_EQ(log.entries.size(), 2u);
    ASSERT_NE(Find(log, Url("index.html")), nullptr);
    EXPECT_EQ(Find(log, Url("index.html"))->size, static_cast<long long>(changed.size()));
    EXPECT_NE(Find(log, Url("new.html")), nullptr);
    ExpectNoLeftovers();
}

TEST_F(UpdateCheckTest, APageThatNowFailsKeepsItsCopyAndEntryAndTheErrorLogIsKept) {
    Sandbox::WriteFile(site / "index.html", Page("hello"));
    Serve();
    ASSERT_EQ(Save(kScheduledSave).result, 1);
    SetOldTime(data + "index.html");
    const std::string saved = Sandbox::ReadFile(data + "index.html");
    ASSERT_TRUE(server->SetRules(R"({"/index.html": {"status": 500}})"));

    SaveRun second = Save(kScheduledSave);
    EXPECT_TRUE(second.updateCheck);
    EXPECT_EQ(second.result, 8);
    EXPECT_EQ(second.text,
              "【site.html】\r\n\r\nの更新調査を終了しました。\r\n"
              "しかし更新チェック、もしくはコンプリート保存に失敗したページが存在します。");
    EXPECT_EQ(Sandbox::ReadFile(data + "index.html"), saved);
    EXPECT_EQ(MTime(data + "index.html"), kOldTime);
    SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].size, static_cast<long long>(Page("hello").size()));
    const std::string errors = Sandbox::ReadFile(data + "SitrovError.log");
    EXPECT_NE(errors.find(Sjis("　　　･･･このページの調査に失敗しました（DL失敗）。") + "\r\n"), std::string::npos);
    ExpectNoLeftovers();
}

TEST_F(UpdateCheckTest, AnIndexPageNamedByTheSaveRunsTheCheckAgain) {
    Sandbox::WriteFile(site / "index.html", Page("folder index"));
    Serve();
    ASSERT_EQ(Save(kDefaultSave | ModeIndexAppended).result, 1);
    ASSERT_TRUE(Sandbox::Exists(data + "index.html"));
    SaveRun second = Save(kDefaultSave | ModeIndexAppended);
    EXPECT_TRUE(second.updateCheck);
    EXPECT_EQ(second.result, 2);
}

TEST_F(UpdateCheckTest, ALogFromAnotherFolderAndSystemIsCheckedWhereTheSiteIsNow) {
    Sandbox::WriteFile(site / "a.html", Page("same"));
    Sandbox::WriteFile(site / "sub/b.html", Page("b"));
    Sandbox::WriteFile(site / "c.html", Page("c is back"));
    Sandbox::WriteFile(site / "e.html", Page("e"));
    Serve();
    const std::string w = kWindowsFolder;
    WriteWindowsLog({
        {w + "a.html", Url("a.html"), 0, static_cast<long long>(Page("same").size())},
        {w + "sub\\b.html", Url("sub/b.html"), 1, 0},  // failed then, saved since
        {w + "c.html", Url("c.html"), 0, 0},           // failed then, placeholder on disk
        {w + "d.html", Url("d.html"), 0, 0},           // failed then, still missing
        {w + "e.html", Url("e.html"), 0, static_cast<long long>(Page("e").size())},  // same size, copy deleted
    });
    Sandbox::WriteFile(data + "a.html", Page("same"));
    SetOldTime(data + "a.html");
    Sandbox::WriteFile(data + "sub/b.html", Page("b"));
    ASSERT_EQ(engine::WriteFailedPage(Url("c.html"), data + "c.html"), 1);

    SaveRun run = Save(kDefaultSave);
    ASSERT_TRUE(run.updateCheck);
    EXPECT_EQ(run.result, 4);
    EXPECT_EQ(MTime(data + "a.html"), kOldTime);
    EXPECT_TRUE(Has(run.log, "　※このページは既に更新チェック済みです。"));
    EXPECT_TRUE(Has(run.log, "　※このページはまだ存在しません（DL失敗）。"));
    EXPECT_EQ(Sandbox::ReadFile(data + "c.html"), Page("c is back"));
    EXPECT_EQ(Sandbox::ReadFile(data + "e.html"), Page("e"));
    EXPECT_FALSE(Sandbox::Exists(data + "d.html"));

    SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
    EXPECT_EQ(log.header.at(1), data);
    EXPECT_EQ(log.header.at(7), std::to_string(log.entries.size()));
    ASSERT_EQ(log.entries.size(), 4u);
    ASSERT_NE(Find(log, Url("a.html")), nullptr);
    EXPECT_EQ(Find(log, Url("a.html"))->path, data + "a.html");
    EXPECT_EQ(Find(log, Url("sub/b.html")), nullptr);  // recorded by whoever saved it
    ASSERT_NE(Find(log, Url("c.html")), nullptr);
    EXPECT_EQ(Find(log, Url("c.html"))->size, static_cast<long long>(Page("c is back").size()));
    ASSERT_NE(Find(log, Url("d.html")), nullptr);
    EXPECT_EQ(Find(log, Url("d.html"))->size, 0);
    EXPECT_NE(Find(log, Url("e.html")), nullptr);
    ExpectNoLeftovers();
}

TEST_F(UpdateCheckTest, ALogWithoutEntriesFindsNothingChanged) {
    Serve();
    WriteWindowsLog({});
    SaveRun run = Save(kDefaultSave);
    ASSERT_TRUE(run.updateCheck);
    EXPECT_EQ(run.result, 2);
    EXPECT_TRUE(ReadLog(data + "SitrovSaveInfo.log").entries.empty());
    ExpectNoLeftovers();
}

TEST_F(UpdateCheckTest, EntriesThatPointOutsideTheSiteTouchNothing) {
    Sandbox::WriteFile(site / "outside.html", Page("x"));
    Serve();
    const std::string w = kWindowsFolder;
    WriteWindowsLog({
        {w + "..\\outside.html", Url("outside.html"), 0, 3},
        {w + "f.html", "file:///etc/hostname", 0, 10},
    });
    SaveRun run = Save(kDefaultSave);
    ASSERT_TRUE(run.updateCheck);
    EXPECT_EQ(run.result, 8);
    EXPECT_FALSE(Sandbox::Exists(out / "outside.html"));
    EXPECT_FALSE(Sandbox::Exists(data + "f.html"));
    EXPECT_EQ(server->RequestLog().find("outside.html"), std::string::npos);
    SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
    EXPECT_EQ(Find(log, Url("outside.html")), nullptr);
    ExpectNoLeftovers();
}

TEST_F(UpdateCheckTest, AStoppedCheckWritesItsLogAndCarriesTheRestOver) {
    for (const char* name : {"a.html", "b.html", "c.html"}) Sandbox::WriteFile(site / name, Page(name));
    Serve(R"({"/a.html": {"delay": 5}})");
    const std::string w = kWindowsFolder;
    const long long size = static_cast<long long>(Page("a.html").size());
    WriteWindowsLog({{w + "a.html", Url("a.html"), 0, size},
                     {w + "b.html", Url("b.html"), 0, size},
                     {w + "c.html", Url("c.html"), 0, 0}});
    for (const char* name : {"a.html", "b.html"}) Sandbox::WriteFile(data + name, Page(name));

    engine::SaveJob job;
    records::SaveRecords records;
    records.SetTempFolder(temp.Path());
    job.SetRecords(&records);
    job.SetModeBits(kDefaultSave);
    job.SetStartUrl(Url("index.html"));
    job.SetSaveTarget(out / "site.html");
    EXPECT_EQ(engine::PrepareSaveStart(job), 1);
    ASSERT_TRUE(job.UpdateCheck());
    engine::StartSaveWorker(host, job);
    // Stopped while the first page of the check is still on its way.
    ASSERT_TRUE(testsupport::WaitFor([&] { return server->RequestLog().find("/a.html") != std::string::npos; }));
    ASSERT_TRUE(job.StopWorker(10000));
    EXPECT_EQ(job.Result(), 8);

    // The window is gone: nothing else finishes the log.
    EXPECT_FALSE(Sandbox::Exists(data + "SitrovSaveInfo.log.tmp"));
    SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_EQ(Find(log, Url("b.html"))->size, size);
    EXPECT_EQ(Find(log, Url("c.html"))->size, 0);
    EXPECT_FALSE(Sandbox::Exists(data + "a.html.tmp"));
    EXPECT_EQ(Sandbox::ReadFile(data + "a.html"), Page("a.html"));
    job.SetRecords(nullptr);
}

TEST_F(UpdateCheckTest, ADamagedLogIsReportedAndTheFullSaveListsEveryPage) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"a.html\">a</a> <a href=\"b.html\">b</a>"));
    Sandbox::WriteFile(site / "a.html", Page("a"));
    Sandbox::WriteFile(site / "b.html", Page("b"));
    Serve();
    ASSERT_EQ(Save(kDefaultSave).result, 1);
    const std::string whole = Sandbox::ReadFile(data + "SitrovSaveInfo.log");
    std::string fewer = whole, more = whole;
    fewer.replace(fewer.find("\r\n3\r\n--- Dummy"), 5, "\r\n1\r\n");
    more.replace(more.find("\r\n3\r\n--- Dummy"), 5, "\r\n9\r\n");
    const struct {
        const char* name;
        std::string log;
    } damages[] = {{"emptied", ""}, {"random bytes", "\x8f\x01\xfe\r\nzz\0\x81"}, {"count lowered", fewer},
                   {"count raised", more}};
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.name);
        Sandbox::WriteFile(data + "SitrovSaveInfo.log", damage.log);
        Sandbox::WriteFile(out / "site.qdx", "garbage");
        SaveRun again = Save(kDefaultSave);
        EXPECT_FALSE(again.updateCheck);
        EXPECT_EQ(again.result, 1);
        EXPECT_TRUE(Has(again.log, "  ！以前の保存ログが壊れているため読めませんでした。全ページを保存し直します。"));
        EXPECT_TRUE(Has(again.log, "  ！Qdxファイルが壊れていたため作り直しました: " + out / "site.qdx"));
        SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
        EXPECT_EQ(log.entries.size(), 3u);
        for (const char* page : {"index.html", "a.html", "b.html"}) EXPECT_NE(Find(log, Url(page)), nullptr) << page;
        EXPECT_EQ(Sandbox::ReadFile(out / "site.qdx").rfind("769\r\nEnd of Qdx file.", 0), 0u);
        ExpectNoLeftovers();
    }
}

TEST_F(UpdateCheckTest, ANewSaveWhileTheServerFailsKeepsTheSavedStartPage) {
    Sandbox::WriteFile(site / "index.html", Page("hello"));
    Serve();
    ASSERT_EQ(Save(kDefaultSave).result, 1);
    const std::string saved = Sandbox::ReadFile(data + "index.html");
    ASSERT_TRUE(std::filesystem::remove(data + "SitrovSaveInfo.log"));  // no check: a new save
    ASSERT_TRUE(server->SetRules("{\"/index.html\": {\"status\": 500}, \"/\": {\"status\": 500}}"));

    SaveRun again = Save(kDefaultSave);
    EXPECT_EQ(again.result, 0);
    EXPECT_EQ(Sandbox::ReadFile(data + "index.html"), saved);
    EXPECT_TRUE(Has(again.log, "  保存済みのページをそのまま残します。"));
    SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].size, static_cast<long long>(saved.size()));

    // Where no copy exists the failure page still takes the page's place.
    ASSERT_TRUE(std::filesystem::remove(data + "index.html"));
    ASSERT_TRUE(std::filesystem::remove(data + "SitrovSaveInfo.log"));
    EXPECT_EQ(Save(kDefaultSave).result, 0);
    EXPECT_EQ(Sandbox::ReadFile(data + "index.html").rfind(engine::kFailedPageHead, 0), 0u);
}

TEST_F(UpdateCheckTest, APageOfACleanUrlIsCheckedUnderItsStoredNameAndNeverGivesWayToAFile) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"guide\">guide</a>"));
    Sandbox::WriteFile(site / "guide.html", Page("the guide"));
    Serve("{\"clean_urls\": true}");
    ASSERT_EQ(Save(kDefaultSave).result, 1);
    EXPECT_NE(Sandbox::ReadFile(data + "index.html").find("href=\"guide.html\""), std::string::npos);
    SavedLog log = ReadLog(data + "SitrovSaveInfo.log");
    ASSERT_NE(Find(log, Url("guide")), nullptr);
    EXPECT_EQ(Find(log, Url("guide"))->path, data + "guide.html");

    // Unchanged, the page is not saved again.
    SetOldTime(data + "guide.html");
    EXPECT_EQ(Save(kDefaultSave).result, 2);
    EXPECT_EQ(MTime(data + "guide.html"), kOldTime);

    // The URL now answers a file: it is stored under its own name, the page stays.
    Sandbox::WriteFile(site / "guide.html", "a longer answer that is no page at all");
    ASSERT_TRUE(server->SetRules("{\"clean_urls\": true, \"/guide\": {\"content_type\": \"application/pdf\"}}"));
    (void)Save(kDefaultSave);
    EXPECT_EQ(Sandbox::ReadFile(data + "guide.html"), Page("the guide"));
    EXPECT_EQ(Sandbox::ReadFile(data + "guide"), "a longer answer that is no page at all");
    ExpectNoLeftovers();
}
