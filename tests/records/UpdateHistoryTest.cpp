// Updates that ask only what changed: the history index beside the saved-site log, the
// conditional requests it makes possible, the content hash, embedded files checked and
// retried, and the earlier versions kept under "_history". Against the loopback server.
#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/HttpClient.h"
#include "platform/FileUtil.h"
#include "records/ChangeReport.h"
#include "records/HistoryIndex.h"
#include "records/KeptVersions.h"
#include "records/SaveRecords.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

constexpr uint32_t kDefaultSave = 769;  // interactive, data folder, record
constexpr int64_t kOldTime = 1000000000;

std::string Page(const std::string& body) { return "<html><head><title>t</title></head><body>" + body + "</body></html>"; }
std::string Picture(const std::string& payload) { return "GIF89a" + payload; }

void SetOldTime(const std::string& path) {
    const timespec times[2] = {{kOldTime, 0}, {kOldTime, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

int64_t MTime(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtime) : -1;
}

size_t CountLines(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

constexpr const char* kUnchanged = "　※このページは更新されていません。";
constexpr const char* kChanged = "　※このページは更新されていました。";

struct SaveRun {
    int result = -1;
    bool updateCheck = false;
    std::vector<std::string> log;
};

class UpdateHistoryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::HttpGlobalInit(); }

    void Serve(const std::string& rules = "") {
        server = std::make_unique<LoopbackServer>(site.Path(), rules);
        ASSERT_TRUE(server->Running());
    }
    std::string Url(const std::string& path) const { return server->BaseUrl() + "/" + path; }

    SaveRun Save(int64_t historyRuns = 5) {
        engine::SaveJob job;
        records::SaveRecords records;
        records.SetTempFolder(temp.Path());
        job.SetRecords(&records);
        job.SetModeBits(kDefaultSave);
        engine::NamedOptions named;
        named.historyRuns = historyRuns;
        job.SetNamed(named);
        job.SetStartUrl(Url("index.html"));
        job.SetSaveTarget(*out / "site.html");
        EXPECT_EQ(engine::PrepareSaveStart(job), 1);
        SaveRun run;
        run.result = engine::SaveWorker(host, job);
        run.updateCheck = job.UpdateCheck();
        if (run.result == 0 || run.result == 8) records.KeepErrorLog(job);
        records.FinishSavedSiteLog(job);
        run.log = job.DetailedLog();
        job.SetRecords(nullptr);
        return run;
    }

    records::HistoryEntry Entry(const std::string& path) {
        records::HistoryIndex index;
        EXPECT_EQ(index.Open(data + records::kHistoryIndexName), records::HistoryIndex::OpenedExisting);
        records::HistoryEntry entry;
        EXPECT_TRUE(index.Find(Url(path), entry)) << path;
        return entry;
    }

    records::HistoryRun LastRun() {
        records::HistoryIndex index;
        EXPECT_EQ(index.Open(data + records::kHistoryIndexName), records::HistoryIndex::OpenedExisting);
        records::HistoryRun run;
        EXPECT_TRUE(index.LastRun(run));
        return run;
    }

    // Three pages, the top one showing a picture.
    void WriteSite() {
        Sandbox::WriteFile(site / "index.html", Page("<img src=\"pic.gif\"> <a href=\"a.html\">a</a> <a href=\"b.html\">b</a>"));
        Sandbox::WriteFile(site / "a.html", Page("aaaa"));
        Sandbox::WriteFile(site / "b.html", Page("bbbb"));
        Sandbox::WriteFile(site / "pic.gif", Picture("first"));
    }

    // A new, empty save target.
    void FreshTarget() {
        out = std::make_unique<Sandbox>();
        data = *out / "site.files/";
    }

    Sandbox site, temp;
    std::unique_ptr<Sandbox> out = std::make_unique<Sandbox>();
    std::string data = *out / "site.files/";
    std::unique_ptr<LoopbackServer> server;
    engine::SilentHost host;
};

}  // namespace

TEST_F(UpdateHistoryTest, AnUnchangedSiteIsAskedConditionallyAndSendsNoBodies) {
    const struct {
        const char* validators;
        const char* asked;  // what the update's requests carry
    } servers[] = {{"etag", "if-none-match="}, {"last_modified", "if-modified-since="}};
    for (const auto& kind : servers) {
        SCOPED_TRACE(kind.validators);
        WriteSite();
        Serve(std::string("{\"validators\": \"") + kind.validators + "\"}");
        ASSERT_EQ(Save().result, 1);
        const long long fresh = server->BytesSent();
        for (const char* page : {"index.html", "a.html", "b.html", "pic.gif"}) SetOldTime(data + page);
        const size_t before = server->RequestLog().size();

        SaveRun update = Save();
        ASSERT_TRUE(update.updateCheck);
        EXPECT_EQ(update.result, 2);
        EXPECT_EQ(CountLines(update.log, kUnchanged), 3u);
        const std::string asked = server->RequestLog().substr(before);
        EXPECT_EQ(Occurrences(asked, kind.asked), 4u) << asked;  // three pages and the picture
        for (const char* page : {"index.html", "a.html", "b.html", "pic.gif"}) EXPECT_EQ(MTime(data + page), kOldTime) << page;
        // Every answer was a 304 without a body: a few headers against the whole site.
        EXPECT_LT(server->BytesSent() - fresh, fresh / 2);
        EXPECT_EQ(Entry("a.html").status, "unchanged");
        EXPECT_EQ(Entry("pic.gif").status, "unchanged");
        const records::HistoryRun run = LastRun();
        EXPECT_EQ(run.kind, "update");
        EXPECT_EQ(run.counts[2], 4);  // unchanged
        EXPECT_GT(run.ended, 0);
        EXPECT_TRUE(records::VersionRuns(data).empty());
        server.reset();
        FreshTarget();
    }
}

TEST_F(UpdateHistoryTest, ASameSizeChangeIsFoundByItsHashAndOnlyThatPageIsReportedAndKept) {
    WriteSite();
    Serve();  // no validators: every page comes whole and its hash decides
    ASSERT_EQ(Save().result, 1);
    const std::string oldCopy = Sandbox::ReadFile(data + "a.html");
    SetOldTime(data + "b.html");
    EXPECT_EQ(Save().result, 2);  // unchanged, all fetched whole
    Sandbox::WriteFile(site / "a.html", Page("AAAA"));  // the same size

    SaveRun update = Save();
    EXPECT_EQ(update.result, 4);
    EXPECT_EQ(CountLines(update.log, kChanged), 1u);
    EXPECT_EQ(CountLines(update.log, kUnchanged), 2u);
    EXPECT_NE(Sandbox::ReadFile(data + "a.html").find("AAAA"), std::string::npos);
    EXPECT_EQ(MTime(data + "b.html"), kOldTime);
    EXPECT_EQ(Entry("a.html").status, "changed");
    EXPECT_EQ(Entry("b.html").status, "unchanged");
    // The replaced copy is kept as it was, and nothing else is.
    const std::vector<std::string> runs = records::VersionRuns(data);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(Sandbox::ReadFile(data + "_history/" + runs[0] + "/a.html"), oldCopy);
    EXPECT_FALSE(Sandbox::Exists(data + "_history/" + runs[0] + "/b.html"));
    EXPECT_EQ(LastRun().versions, runs[0]);
}

TEST_F(UpdateHistoryTest, AChangedPictureIsFetchedAgainAndAFailedOneIsRetried) {
    WriteSite();
    Sandbox::WriteFile(site / "other.gif", Picture("other"));
    Sandbox::WriteFile(site / "a.html", Page("<img src=\"other.gif\">"));
    Serve("{\"validators\": \"both\", \"/other.gif\": {\"status\": 500}}");
    ASSERT_NE(Save().result, 1);  // the second picture failed
    ASSERT_FALSE(Sandbox::Exists(data + "other.gif"));
    EXPECT_EQ(Entry("other.gif").status, "failed");

    // The picture changes on an unchanged page, and the failing one comes back.
    Sandbox::WriteFile(site / "pic.gif", Picture("second, longer"));
    ASSERT_TRUE(server->SetRules("{\"validators\": \"both\"}"));
    SaveRun update = Save();
    EXPECT_EQ(update.result, 4);
    EXPECT_EQ(CountLines(update.log, kUnchanged), 3u);
    EXPECT_EQ(Sandbox::ReadFile(data + "pic.gif"), Picture("second, longer"));
    EXPECT_EQ(Sandbox::ReadFile(data + "other.gif"), Picture("other"));
    EXPECT_EQ(Entry("pic.gif").status, "changed");
    EXPECT_EQ(Entry("other.gif").status, "new");
    const std::vector<std::string> runs = records::VersionRuns(data);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(Sandbox::ReadFile(data + "_history/" + runs[0] + "/pic.gif"), Picture("first"));
    EXPECT_FALSE(Sandbox::Exists(data + "pic.gif.tmp"));
}

TEST_F(UpdateHistoryTest, VersionsAreKeptForTheNewestRunsOnly) {
    WriteSite();
    Serve();
    ASSERT_EQ(Save().result, 1);
    for (int i = 1; i <= 3; ++i) {
        Sandbox::WriteFile(site / "a.html", Page("version " + std::to_string(i)));
        ASSERT_EQ(Save(2).result, 4);
    }
    const std::vector<std::string> runs = records::VersionRuns(data);
    ASSERT_EQ(runs.size(), 2u);
    // The newest run kept what the run before it saved.
    EXPECT_NE(Sandbox::ReadFile(data + "_history/" + runs[1] + "/a.html").find("version 2"), std::string::npos);
    EXPECT_NE(Sandbox::ReadFile(data + "_history/" + runs[0] + "/a.html").find("version 1"), std::string::npos);

    // A limit of 0 keeps nothing, and the earlier versions go at the end of the run.
    Sandbox::WriteFile(site / "a.html", Page("version 4"));
    ASSERT_EQ(Save(0).result, 4);
    EXPECT_TRUE(records::VersionRuns(data).empty());
    EXPECT_FALSE(Sandbox::Exists(data + "_history"));
}

TEST_F(UpdateHistoryTest, ADamagedIndexIsMadeAnewAndTheUpdateGoesOn) {
    WriteSite();
    Serve("{\"validators\": \"etag\"}");
    ASSERT_EQ(Save().result, 1);
    Sandbox::WriteFile(data + records::kHistoryIndexName, std::string("SQLite format 3\0garbage", 24) + std::string(4000, 'x'));

    SaveRun update = Save();
    EXPECT_EQ(update.result, 2);  // the sizes decide while the index knows no hashes
    EXPECT_EQ(CountLines(update.log, "  ！更新履歴が壊れていたため、保存済みのコピーから作り直しました: " + data +
                                         records::kHistoryIndexName),
              1u);
    EXPECT_EQ(CountLines(update.log, kUnchanged), 3u);
    EXPECT_EQ(Entry("a.html").status, "unchanged");
    EXPECT_FALSE(Entry("a.html").hash.empty());

    // The next update asks conditionally again.
    const size_t before = server->RequestLog().size();
    EXPECT_EQ(Save().result, 2);
    EXPECT_EQ(Occurrences(server->RequestLog().substr(before), "if-none-match="), 3u);
}

TEST_F(UpdateHistoryTest, AGonePageIsMarkedAndItsCopyStays) {
    WriteSite();
    Serve();
    ASSERT_EQ(Save().result, 1);
    const std::string copy = Sandbox::ReadFile(data + "b.html");
    ASSERT_TRUE(server->SetRules("{\"/b.html\": {\"status\": 404}}"));
    EXPECT_EQ(Save().result, 8);
    EXPECT_EQ(Sandbox::ReadFile(data + "b.html"), copy);
    EXPECT_EQ(Entry("b.html").status, "gone");
    EXPECT_EQ(LastRun().counts[3], 1);  // gone
}

TEST_F(UpdateHistoryTest, PagesAskedAheadAreReportedInTheLogsOrderWithTheirOwnVerdicts) {
    std::string links;
    for (int i = 1; i <= 8; ++i) {
        const std::string name = "p" + std::to_string(i) + ".html";
        links += "<a href=\"" + name + "\">" + name + "</a> ";
        Sandbox::WriteFile(site / name, Page("page " + std::to_string(i)));
    }
    Sandbox::WriteFile(site / "index.html", Page(links));
    Serve("{\"validators\": \"etag\"}");
    ASSERT_EQ(Save().result, 1);
    // The first pages answer slowly, so the later ones arrive first; two pages change.
    Sandbox::WriteFile(site / "p3.html", Page("page 3, changed"));
    Sandbox::WriteFile(site / "p6.html", Page("page 6, changed"));
    ASSERT_TRUE(server->SetRules("{\"validators\": \"etag\", \"/index.html\": {\"delay\": 0.4}, "
                                 "\"/p1.html\": {\"delay\": 0.3}}"));

    SaveRun update = Save();
    ASSERT_EQ(update.result, 4);
    size_t last = 0;
    for (int i = 1; i <= 8; ++i) {
        SCOPED_TRACE(i);
        const std::string url = Url("p" + std::to_string(i) + ".html");
        const auto at = std::find(update.log.begin(), update.log.end(), url + "のページを調査中…");
        ASSERT_NE(at, update.log.end());
        const size_t line = static_cast<size_t>(at - update.log.begin());
        EXPECT_GT(line, last);  // in the order of the saved-site log
        last = line;
        ASSERT_LT(line + 2, update.log.size());
        EXPECT_EQ(update.log[line + 2], (i == 3 || i == 6) ? kChanged : kUnchanged);
    }
    EXPECT_NE(Sandbox::ReadFile(data + "p6.html").find("page 6, changed"), std::string::npos);
    EXPECT_EQ(records::VersionRuns(data).size(), 1u);
}

namespace {

// A Shift-JIS page: "日本語の見出し" over a line of English.
std::string ShiftJisPage(const std::string& line) {
    return "<html><head><meta charset=\"Shift_JIS\"><title>t</title></head><body><h1>"
           "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x8C\xA9\x8F\x6F\x82\xB5</h1><p>" +
           line + "</p></body></html>";
}

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
    const size_t start = text.find(from);
    if (start == std::string::npos) return {};
    const size_t end = text.find(to, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string PercentDecoded(const std::string& href) {
    std::string out;
    for (size_t i = 0; i < href.size(); ++i) {
        if (href[i] == '%' && i + 2 < href.size()) {
            out += static_cast<char>(std::stoi(href.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += href[i];
        }
    }
    return out;
}

}  // namespace

TEST_F(UpdateHistoryTest, TheChangeReportCountsListsAndShowsTheChangedWordsEscaped) {
    WriteSite();
    Sandbox::WriteFile(site / "a.html", ShiftJisPage("The quick brown fox"));
    Serve();
    ASSERT_EQ(Save().result, 1);
    EXPECT_EQ(records::NewestChangeReport(data), "");  // a fresh save writes none

    // One page changed (in a script, a tag made of references), one new (linked from the top
    // page, which so changes too), one gone.
    Sandbox::WriteFile(site / "a.html",
                       ShiftJisPage("The quick red fox <script>alert(1)</script><b>&lt;svg onload=alert(2)&gt;</b>"));
    Sandbox::WriteFile(site / "index.html", Page("<img src=\"pic.gif\"> <a href=\"a.html\">a</a> <a href=\"b.html\">b</a> "
                                                 "<a href=\"c.html\">c</a>"));
    Sandbox::WriteFile(site / "c.html", Page("cccc"));
    ASSERT_TRUE(server->SetRules("{\"/b.html\": {\"status\": 404}}"));
    EXPECT_EQ(Save().result, 8);
    const std::string reportPath = records::NewestChangeReport(data);
    ASSERT_NE(reportPath, "");
    EXPECT_EQ(platform::NameOf(reportPath).rfind("更新レポート_", 0), 0u);
    const std::string report = Sandbox::ReadFile(reportPath);

    const std::string pages = Between(report, "<tr class=\"pages\">", "</tr>");
    EXPECT_NE(pages.find("<td class=\"changed\">2</td>"), std::string::npos) << pages;
    EXPECT_NE(pages.find("<td class=\"new\">1</td>"), std::string::npos) << pages;
    EXPECT_NE(pages.find("<td class=\"gone\">1</td>"), std::string::npos) << pages;
    EXPECT_NE(Between(report, "<tr class=\"files\">", "</tr>").find("<td class=\"unchanged\">1</td>"), std::string::npos);
    // The changed page links to its comparison: the changed words, the page's own text in
    // UTF-8, and nothing of the page as markup.
    const std::string changed = Between(Between(report, "id=\"changed\"", "</ul>"), "\"a.html\"", "</li>");
    const size_t diffLink = changed.find("href=\"#diff-");
    ASSERT_NE(diffLink, std::string::npos) << changed;
    const std::string anchor = changed.substr(diffLink + 7, changed.find('"', diffLink + 7) - diffLink - 7);
    const std::string diff = Between(report, "id=\"" + anchor + "\"", "</div>");
    EXPECT_NE(diff.find("<del>brown</del>"), std::string::npos);
    EXPECT_NE(diff.find("<ins>red</ins>"), std::string::npos);
    EXPECT_NE(report.find("日本語の見出し"), std::string::npos);
    EXPECT_NE(report.find("&lt;svg onload=alert(2)&gt;"), std::string::npos);
    EXPECT_EQ(report.find("<svg"), std::string::npos);
    EXPECT_EQ(report.find("<script"), std::string::npos);
    EXPECT_EQ(report.find("alert(1)"), std::string::npos);
    // The gone page is listed and its copy stays; every link leads to a file of the copy.
    EXPECT_NE(Between(report, "id=\"gone\"", "</ul>").find("b.html"), std::string::npos);
    EXPECT_TRUE(Sandbox::Exists(data + "b.html"));
    size_t links = 0;
    for (size_t at = report.find("href=\""); at != std::string::npos; at = report.find("href=\"", at + 1)) {
        const std::string href = report.substr(at + 6, report.find('"', at + 6) - at - 6);
        if (href[0] == '#') continue;
        ++links;
        EXPECT_TRUE(Sandbox::Exists(data + PercentDecoded(href))) << href;
    }
    EXPECT_GE(links, 6u);  // a, its kept version, index, its kept version, c, b, pic.gif

    // Without kept versions the changed page is listed with the reason its text is not compared.
    Sandbox::WriteFile(site / "a.html", ShiftJisPage("The lazy dog"));
    EXPECT_EQ(Save(0).result, 8);
    const std::string bare = Sandbox::ReadFile(records::NewestChangeReport(data));
    EXPECT_NE(Between(bare, "id=\"changed\"", "</ul>").find("a.html"), std::string::npos);
    EXPECT_NE(bare.find("history-runs=0"), std::string::npos);
    EXPECT_EQ(bare.find("<del>"), std::string::npos);
    EXPECT_EQ(bare.find("href=\"#diff-"), std::string::npos);
}
