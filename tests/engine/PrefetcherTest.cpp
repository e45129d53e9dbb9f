// Fetching ahead of the crawl: the pool on its own, and whole crawls with and without it
// against a small site on the loopback server.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

#include "engine/CrawlDriver.h"
#include "engine/JobRecords.h"
#include "engine/Prefetcher.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/ContentHash.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WaitFor.h"

using namespace engine;
using namespace engine::mode;
using testsupport::LoopbackServer;
using testsupport::Sandbox;
namespace fs = std::filesystem;

namespace {

std::string Page(const std::string& body) {
    return "<html><head><title>t</title></head><body>" + body + "</body></html>";
}

std::string Png(int seed) { return std::string("\x89PNG\r\n\x1a\n", 8) + std::string(300 + seed, char('a' + seed % 26)); }

// The saved-site log as the crawl reports it, with paths relative to the copy.
class PageRecorder : public JobRecords {
public:
    explicit PageRecorder(std::string root) : m_root(std::move(root)) {}
    void BeginSave(SaveJob&) override {}
    void RecordPage(SaveJob&, const std::string& path, const std::string& url, int32_t level, int64_t size) override {
        entries.push_back(path.substr(m_root.size()) + " " + url + " " + std::to_string(level) + " " +
                          std::to_string(size));
    }
    int CheckSavedSite(SaveHost&, SaveJob&, const std::string&, const std::string&) override { return 8; }
    void WriteErrorLine(std::string_view) override {}
    void FinishSavedSiteLog(SaveJob&) override {}
    void KeepErrorLog(SaveJob&) override {}
    void WriteDescriptionLog(SaveJob&, const std::string&) override {}
    bool KeepsHistory() const override { return true; }
    void RecordFetched(SaveJob&, const FetchedFile& file) override {
        fetched.push_back(file.path.substr(m_root.size()) + " " + file.hash);
    }

    std::vector<std::string> entries;
    std::vector<std::string> fetched;  // each file the history hears of, with its hash

private:
    std::string m_root;
};

// Every file under root by its relative path, with its bytes.
std::map<std::string, std::string> Tree(const std::string& root) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file()) files[fs::relative(it->path(), root).string()] = Sandbox::ReadFile(it->path());
    return files;
}

std::vector<std::string> LeftOvers(const std::string& root) {
    std::vector<std::string> found;
    for (const auto& [path, bytes] : Tree(root)) {
        const std::string ext = fs::path(path).extension().string();
        if (ext == ".pre" || ext == ".part") found.push_back(path);
    }
    return found;
}

// The paths of the GET requests in the order the server saw them.
std::vector<std::string> Requests(const LoopbackServer& server) {
    std::vector<std::string> paths;
    std::istringstream log(server.RequestLog());
    for (std::string method, path, range; log >> method >> path >> range;)
        if (method == "GET") paths.push_back(path);
    return paths;
}

size_t CountOf(const std::vector<std::string>& list, const std::string& item) {
    return static_cast<size_t>(std::count(list.begin(), list.end(), item));
}

size_t PositionOf(const std::vector<std::string>& list, const std::string& item) {
    return static_cast<size_t>(std::find(list.begin(), list.end(), item) - list.begin());
}

bool LogHas(const std::vector<std::string>& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

using testsupport::WaitFor;

// What one crawl left behind.
struct Outcome {
    int result = -1;
    std::map<std::string, std::string> tree;
    std::vector<std::string> log;
    std::vector<std::string> simpleLog;
    std::vector<std::string> records;
    std::vector<std::string> fetched;
    uint32_t found = 0;
    uint32_t pending = 0;
};

// A small site with what a crawl meets: a page linked from several pages, a folder link, a
// style sheet with pictures, a shared picture, a picture named twice, missing pages and files.
void WriteSite(const Sandbox& site) {
    Sandbox::WriteFile(site / "index.html",
                       "<html><head><title>top</title><link rel=\"stylesheet\" href=\"style.css\"></head><body>"
                       "<img src=\"pic1.png\"><img src=\"pic2.png\"><img src=\"pic1.png\"><img src=\"shared.png\">"
                       "<img src=\"lost.png\"><a href=\"a.html\">a</a> <a href=\"b.html\">b</a> "
                       "<a href=\"sub/\">sub</a> <a href=\"missing.html\">missing</a> "
                       "<a href=\"d\">d</a> <a href=\"notes\">notes</a> <a href=\"lost\">lost</a> "
                       "<a href=\"d?q=1\">query</a></body></html>");
    // Names that do not say what they are: a page, a style sheet and a plain file.
    Sandbox::WriteFile(site / "d.html", Page("<link rel=\"stylesheet\" href=\"skin\"><img src=\"d.png\">"
                                             "<a href=\"d\">self</a> <a href=\"a.html\">a</a>"));
    Sandbox::WriteFile(site / "skin", "p { background: url(d.png); }\n");
    Sandbox::WriteFile(site / "notes", "plain notes\n");
    Sandbox::WriteFile(site / "a.html", Page("<img src=\"shared.png\"><img src=\"a.png\"><a href=\"b.html\">b</a> "
                                             "<a href=\"index.html\">top</a> <a href=\"c.html\">c</a> <a href=\"lost\">l</a>"));
    Sandbox::WriteFile(site / "b.html", Page("<img src=\"b1.png\"><img src=\"b2.png\"><img src=\"b3.png\">"
                                             "<a href=\"a.html\">a</a>"));
    Sandbox::WriteFile(site / "c.html", Page("<img src=\"c1.png\"><img src=\"c2.png\"> <a href=\"sub/page.html\">p</a>"));
    Sandbox::WriteFile(site / "sub/index.html", Page("<img src=\"../shared.png\"><img src=\"own.png\">"
                                                     "<a href=\"../a.html\">a</a> <a href=\"page.html\">page</a> <a href=\"../sub/\">here</a>"));
    Sandbox::WriteFile(site / "sub/page.html", Page("<img src=\"own.png\"> leaf"));
    Sandbox::WriteFile(site / "style.css", "body { background: url(bg.png); }\nh1 { background: url('sub/own.png'); }\n");
    const char* pictures[] = {"pic1.png", "pic2.png", "shared.png", "a.png", "b1.png", "b2.png",
                              "b3.png",   "c1.png",   "c2.png",     "bg.png", "sub/own.png", "d.png"};
    int seed = 0;
    for (const char* name : pictures) Sandbox::WriteFile(site / name, Png(seed++));
}

// One small site in two editions: names with ".html", and clean URLs as static hosts publish
// them (a style sheet without ".css", a page beside the folder of its name).
void WriteEdition(const Sandbox& site, bool clean) {
    const auto name = [clean](const std::string& page) { return "\"" + (clean ? page : page + ".html") + "\""; };
    const std::string style = clean ? "look" : "look.css";
    Sandbox::WriteFile(site / "index.html",
                       Page("<link rel=\"stylesheet\" href=\"" + style + "\"><a href=" + name("guide") + ">g</a> " +
                            "<a href=" + name("blog") + ">b</a> <a href=\"blog/\">posts</a> <a href=" +
                            name("blog/one") + ">one</a> <a href=" + name("gone") + ">gone</a>"));
    Sandbox::WriteFile(site / "guide.html", Page("<a href=" + name("blog/one") + ">one</a> <a href=\"./\">top</a>"));
    Sandbox::WriteFile(site / "blog.html", Page("<img src=\"p.png\"> <a href=" + name("blog/one") + ">one</a>"));
    Sandbox::WriteFile(site / "blog/index.html", Page("<a href=" + name("one") + ">1</a> <a href=" + name("../guide") + ">g</a>"));
    Sandbox::WriteFile(site / "blog/one.html",
                       Page("<link rel=\"stylesheet\" href=\"../" + style + "\"><a href=" + name("../blog") + ">b</a>"));
    Sandbox::WriteFile(site / style, "body { background: url(p.png); }\n");
    Sandbox::WriteFile(site / "p.png", Png(1));
}

// The page that a slow first link keeps the walk waiting on, while the pool fetches the rest.
constexpr const char* kSlowFirstPage =
    "{\"/a.html\": {\"delay\": 0.4}, \"/missing.html\": {\"status\": 404}, "
    "\"/skin\": {\"content_type\": \"text/css\"}, \"clean_urls\": true}";

class PrefetchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::HttpGlobalInit(); }

    // A whole crawl of the site's start page into `folder` of the target sandbox. Without
    // fetching ahead it runs the page step alone, the walk the pool must not change.
    Outcome Crawl(const LoopbackServer& server, const std::string& folder, bool ahead, uint32_t flags = 0,
                  uint32_t cpuSleepMs = 0) {
        const std::string root = target / folder;
        fs::create_directories(root);
        SaveJob job;
        PageRecorder records(root);
        platform::HttpSession http;
        const std::string url = server.BaseUrl() + "/index.html";
        job.SetModeBits(ModeSomeComplete | flags);
        job.SetStartUrl(url);
        job.SetSaveTarget(root + "index.html");
        job.SetCpuSleepMs(cpuSleepMs);
        job.Run().retryWaitMs = job.Run().resumePauseMs = 20;
        job.SetRecords(&records);
        job.SetHttp(&http);
        Outcome out;
        if (ahead) {
            out.result = NewSiteDownload(host, job, root + "index.html", url, 0);
        } else {
            CrawlState state;
            out.result = CrawlPage(host, job, root + "index.html", url, 0, state);
        }
        job.SetHttp(nullptr);
        out.tree = Tree(root);
        out.log = job.DetailedLog();
        out.simpleLog = job.SimpleLog();
        out.records = records.entries;
        out.fetched = records.fetched;
        out.found = job.FoundCount();
        out.pending = job.PendingCount();
        return out;
    }

    Sandbox site;
    Sandbox target;
    SilentHost host;
};

}  // namespace

TEST_F(PrefetchTest, FetchingAheadChangesNothingThatTheSaveLeaves) {
    WriteSite(site);
    for (uint32_t flags : {0u, static_cast<uint32_t>(agent), static_cast<uint32_t>(neglect)}) {
        SCOPED_TRACE(flags);
        LoopbackServer server(site.Path(), kSlowFirstPage);
        ASSERT_TRUE(server.Running());
        const Outcome walk = Crawl(server, "walk" + std::to_string(flags) + "/", false, flags);
        const size_t walkRequests = Requests(server).size();
        const Outcome ahead = Crawl(server, "ahead" + std::to_string(flags) + "/", true, flags);
        std::vector<std::string> requests = Requests(server);
        requests.erase(requests.begin(), requests.begin() + static_cast<long>(walkRequests));

        EXPECT_EQ(ahead.result, walk.result);
        EXPECT_EQ(walk.result, 0);  // the missing page and picture fail the save
        EXPECT_EQ(ahead.tree, walk.tree);
        EXPECT_EQ(ahead.log, walk.log);
        EXPECT_EQ(ahead.simpleLog, walk.simpleLog);
        EXPECT_EQ(ahead.records, walk.records);
        // The hashes of what was fetched ahead were worked out by the pool, of the same bytes.
        EXPECT_EQ(ahead.fetched, walk.fetched);
        EXPECT_TRUE(LogHas(walk.fetched, "b.html " + platform::ContentHash(Sandbox::ReadFile(site / "b.html"))));
        EXPECT_TRUE(LogHas(walk.fetched, "pic2.png " + platform::ContentHash(Png(1))));
        EXPECT_EQ(ahead.found, walk.found);
        EXPECT_EQ(ahead.pending, walk.pending);
        EXPECT_TRUE(LeftOvers(target.Path()).empty());
        // A page waits for the end of its step under a temporary name, yet its link to its
        // own folder still names it.
        EXPECT_NE(walk.tree.at("sub/index.html").find("href=\"../sub/index.html\""), std::string::npos);
        // The same requests, each page and file once, though not in the same order: the pool
        // fetched the later pages while the walk waited for the slow first one.
        EXPECT_EQ(requests.size(), walkRequests);
        for (const char* path : {"/a.html", "/b.html", "/c.html", "/sub/index.html", "/pic1.png", "/shared.png",
                                 "/d", "/skin", "/notes"})
            EXPECT_EQ(CountOf(requests, path), 1u) << path;
        // A failed answer is not asked for again by a page classified before it came; forced
        // conversion tries its second way of fetching at once.
        EXPECT_EQ(CountOf(requests, "/lost"), flags == neglect ? 2u : 1u);
        EXPECT_EQ(CountOf(requests, "/d?q=1"), 0u);  // a query page, and query pages are not followed
        // What their answers made of them: a page and a style sheet under names a browser
        // opens, a file under its own name, and the links of the copy lead to them.
        EXPECT_EQ(walk.tree.count("d.html") + walk.tree.count("skin.css") + walk.tree.count("notes"), 3u);
        EXPECT_EQ(walk.tree.count("d") + walk.tree.count("skin") + walk.tree.count("notes.html"), 0u);
        EXPECT_NE(walk.tree.at("index.html").find("href=\"d.html\""), std::string::npos);
        EXPECT_NE(walk.tree.at("index.html").find("href=\"notes\""), std::string::npos);
        EXPECT_NE(walk.tree.at("d.html").find("href=\"skin.css\""), std::string::npos);
        EXPECT_LT(PositionOf(requests, "/b.html"), PositionOf(requests, "/a.png"));
    }
}

TEST_F(PrefetchTest, BelowTheFullCpuLevelNothingIsFetchedAhead) {
    WriteSite(site);
    LoopbackServer server(site.Path(), kSlowFirstPage);
    const Outcome walk = Crawl(server, "walk/", false);
    const std::vector<std::string> walkOrder = Requests(server);
    const Outcome light = Crawl(server, "light/", true, 0, 1);
    const std::vector<std::string> all = Requests(server);
    // The robots.txt of the site is asked for once by each, the light save before its start page.
    const auto withoutRobots = [](std::vector<std::string> order) {
        EXPECT_EQ(std::erase(order, "/robots.txt"), 1u);
        return order;
    };
    EXPECT_EQ(withoutRobots(std::vector<std::string>(all.begin() + static_cast<long>(walkOrder.size()), all.end())),
              withoutRobots(walkOrder));
    EXPECT_EQ(light.tree, walk.tree);
    EXPECT_EQ(light.log, walk.log);
}

TEST_F(PrefetchTest, APageThatFailsAheadStillGetsItsSecondTries) {
    struct Case {
        const char* name;
        uint32_t flags;
        const char* link;     // linked from the start page after the slow page
        const char* rule;     // fails the first request of the page only
        std::vector<std::pair<std::string, size_t>> requests;
        const char* line;     // a line of the second try ("" for none)
    };
    const std::vector<Case> cases = {
        {"retry after a pause", RetryOnFailure, "late.html", "\"/late.html\": {\"drop_after\": 0, \"drop_times\": 1}",
         {{"/late.html", 2}}, "  応答を待機中…"},
        {"folder of an index page", 0, "late/index.html",
         "\"/late/index.html\": {\"drop_after\": 0, \"drop_times\": 1}", {{"/late/index.html", 1}, {"/late/", 1}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox site;
        Sandbox::WriteFile(site / "index.html",
                           Page("<a href=\"slow.html\">slow</a> <a href=\"" + std::string(c.link) + "\">late</a>"));
        Sandbox::WriteFile(site / "slow.html", Page("slow"));
        Sandbox::WriteFile(site / c.link, Page("arrived late"));
        LoopbackServer server(site.Path(), "{\"/slow.html\": {\"delay\": 0.4}, " + std::string(c.rule) + "}");
        const Outcome out = Crawl(server, std::string(c.name) + "/", true, c.flags);
        EXPECT_EQ(out.result, 1);
        EXPECT_EQ(out.tree.at(c.link), Page("arrived late"));
        const std::vector<std::string> requests = Requests(server);
        for (const auto& [path, count] : c.requests) EXPECT_EQ(CountOf(requests, path), count) << path;
        EXPECT_FALSE(LogHas(out.log, "  ＤＬに失敗しました。"));
        if (*c.line) {
            EXPECT_TRUE(LogHas(out.log, c.line));
        }
    }
}

TEST_F(PrefetchTest, AStopMidSaveLeavesNoStagedFile) {
    std::string links;
    for (int i = 0; i < 12; ++i) {
        const std::string n = std::to_string(i);
        links += "<a href=\"p" + n + ".html\">" + n + "</a> ";
        Sandbox::WriteFile(site / ("p" + n + ".html"), Page("<img src=\"p" + n + "a.png\"><img src=\"p" + n + "b.png\">"));
        Sandbox::WriteFile(site / ("p" + n + "a.png"), Png(i));
        Sandbox::WriteFile(site / ("p" + n + "b.png"), Png(i + 1));
    }
    Sandbox::WriteFile(site / "index.html", Page(links));
    // The walk hangs in the first page's pictures while the pool has staged the other pages.
    LoopbackServer server(site.Path(), "{\"/p0a.png\": {\"delay\": 20}, \"/p0b.png\": {\"delay\": 20}}");
    SaveJob job;
    job.SetModeBits(ModeSomeComplete);
    job.SetStartUrl(server.BaseUrl() + "/index.html");
    job.SetSaveTarget(target / "index.html");
    job.StartWorker([this, &job] { return SaveWorker(host, job); });
    ASSERT_TRUE(WaitFor([&] { return CountOf(Requests(server), "/p0b.png") == 1; }));
    // The pool keeps a few of the page's links ahead of the walk, not all of them.
    ASSERT_TRUE(WaitFor([&] { return Sandbox::Exists(target / "p3.html.pre"); }));

    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(job.StopWorker(10000));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(10));  // not the 20 s of the pictures
    EXPECT_EQ(LeftOvers(target.Path()), std::vector<std::string>{});
    EXPECT_FALSE(Sandbox::Exists(target / "p3.html"));  // staged, never reached
    EXPECT_EQ(CountOf(Requests(server), "/p11.html"), 0u);
}

TEST_F(PrefetchTest, ThePoolTakesDropsAndCleansUpStagedFiles) {
    Sandbox::WriteFile(site / "page.html", Page("page"));
    Sandbox::WriteFile(site / "pic.png", Png(1));
    Sandbox::WriteFile(site / "fake.png", Page("not a picture"));
    LoopbackServer server(site.Path());
    const std::string base = server.BaseUrl() + "/";
    SaveJob job;
    const auto staged = [&](const std::string& name) {
        return WaitFor([&] { return Sandbox::Exists(Prefetcher::StagingPath(target / name)); });
    };
    // A file of the site that happens to bear a staging name is left alone.
    Sandbox::WriteFile(target / "kept.html.pre", "a file of the site");
    {
        Prefetcher pool(job);
        pool.SubmitPage(base + "page.html", target / "kept.html");
        pool.SubmitPage(base + "page.html", target / "taken.html");
        pool.SubmitEmbed(base + "pic.png", target / "pic.png");
        pool.SubmitEmbed(base + "fake.png", target / "fake.png");
        pool.SubmitPage(base + "page.html", target / "dropped.html");
        pool.SubmitPage(base + "page.html", target / "other.html");
        pool.SubmitPage(base + "page.html", target / "left.html");
        for (const char* name : {"taken.html", "pic.png", "dropped.html", "other.html", "left.html"})
            ASSERT_TRUE(staged(name)) << name;

        EXPECT_EQ(pool.Take(base + "page.html", target / "taken.html"), Prefetcher::Fetched);
        EXPECT_EQ(Sandbox::ReadFile(target / "taken.html"), Page("page"));
        EXPECT_EQ(pool.Take(base + "pic.png", target / "pic.png"), Prefetcher::Fetched);
        // The same rules as the walk's own fetch: a picture name that brought a page fails.
        EXPECT_EQ(pool.Take(base + "fake.png", target / "fake.png"), Prefetcher::Failed);
        EXPECT_FALSE(Sandbox::Exists(target / "fake.png"));
        pool.Drop(target / "dropped.html");
        // Another URL for the same file: the staged copy is not that URL's.
        EXPECT_EQ(pool.Take(base + "elsewhere.html", target / "other.html"), Prefetcher::NotFetched);
        EXPECT_EQ(pool.Take(base + "page.html", target / "never.html"), Prefetcher::NotFetched);
        EXPECT_EQ(pool.Take(base + "page.html", target / "kept.html"), Prefetcher::NotFetched);
        for (const char* name : {"dropped.html", "other.html"}) {
            EXPECT_FALSE(Sandbox::Exists(target / name)) << name;
            EXPECT_FALSE(Sandbox::Exists(Prefetcher::StagingPath(target / name))) << name;
        }
        EXPECT_EQ(pool.Started(), 6u);
    }
    EXPECT_FALSE(Sandbox::Exists(target / "left.html"));
    EXPECT_EQ(LeftOvers(target.Path()), std::vector<std::string>{"kept.html.pre"});
    EXPECT_EQ(Sandbox::ReadFile(target / "kept.html.pre"), "a file of the site");
}

TEST_F(PrefetchTest, APageKeptForTheRetriesGivesUpItsPlaceAndIsTakenLater) {
    Sandbox::WriteFile(site / "page.html", Page("page"));
    LoopbackServer server(site.Path());
    const std::string url = server.BaseUrl() + "/page.html";
    SaveJob job;
    Prefetcher pool(job, PrefetchLimits{1, 1, 1});
    pool.SubmitPage(url, target / "deep.html");
    ASSERT_TRUE(WaitFor([&] { return Sandbox::Exists(Prefetcher::StagingPath(target / "deep.html")); }));
    pool.Keep(target / "deep.html");
    // The one place ahead is free again for the next page.
    pool.SubmitPage(url, target / "next.html");
    ASSERT_TRUE(WaitFor([&] { return Sandbox::Exists(Prefetcher::StagingPath(target / "next.html")); }));
    EXPECT_EQ(pool.Take(url, target / "deep.html"), Prefetcher::Fetched);
    EXPECT_EQ(Sandbox::ReadFile(target / "deep.html"), Page("page"));
    // A failed fetch is not kept: the retries ask the server again.
    EXPECT_EQ(pool.Take(url, target / "next.html"), Prefetcher::Fetched);
    const std::string missing = server.BaseUrl() + "/missing.html";
    pool.SubmitPage(missing, target / "missing.html");
    ASSERT_TRUE(WaitFor([&] { return pool.Started() == 3; }));
    pool.Keep(target / "missing.html");
    EXPECT_EQ(pool.Take(missing, target / "missing.html"), Prefetcher::NotFetched);
}

// Which fetch of a dead host reads as its failure and which as given up follows the walk's
// order, not the order in which the pool and the walk happened to ask.
TEST_F(PrefetchTest, ADeadHostIsGivenUpInTheWalksOrder) {
    Sandbox::WriteFile(site / "pic.png", Png(1));
    LoopbackServer server(site.Path());
    const std::string dead = "http://127.0.0.1:1/";
    SaveJob job;
    Prefetcher pool(job, PrefetchLimits{1, 4, 4});
    pool.SubmitEmbed(dead + "late.png", target / "late.png");
    pool.SubmitEmbed(server.BaseUrl() + "/pic.png", target / "pic.png");
    // One thread, first in first out: the later file of the dead host has failed ahead.
    ASSERT_TRUE(WaitFor([&] { return pool.Started() == 2; }));
    FetchOrigin first;
    EXPECT_EQ(FetchUrlToFile(job, dead + "early.png", target / "early.png", &first), 0);
    EXPECT_EQ(first.failure, "サーバーに接続できません（拒否されたか、応答がありません）");
    FetchOrigin later;
    EXPECT_EQ(pool.Take(dead + "late.png", target / "late.png", &later), Prefetcher::Failed);
    EXPECT_EQ(later.failure, "このホストには先に接続できなかったため、再び試しません");
}

// The pool fetches a page's links a few at a time in the walk's order; one that the walk saved
// through a deeper link meanwhile is not fetched again when its turn comes.
TEST_F(PrefetchTest, APageSavedThroughADeeperLinkIsNotFetchedAheadAgain) {
    std::string links = "<a href=\"a.html\">a</a> <a href=\"slow.html\">s</a> <a href=\"c.html\">c</a>";
    for (int i = 0; i < 8; ++i) links += " <a href=\"p" + std::to_string(i) + ".html\">p</a>";
    Sandbox::WriteFile(site / "index.html", Page(links));
    Sandbox::WriteFile(site / "a.html", Page("<a href=\"c.html\">c</a>"));
    for (const char* name : {"slow.html", "c.html", "p0.html", "p1.html", "p2.html", "p3.html", "p4.html", "p5.html",
                             "p6.html", "p7.html"})
        Sandbox::WriteFile(site / name, Page(name));
    LoopbackServer server(site.Path(), R"({"/slow.html": {"delay": 0.4}})");
    const Outcome out = Crawl(server, "ahead/", true);
    EXPECT_EQ(out.result, 1);
    const std::vector<std::string> requests = Requests(server);
    EXPECT_EQ(CountOf(requests, "/c.html"), 1u);
    EXPECT_EQ(requests.size(), 13u);  // robots.txt, the start page and eleven pages, each once
}

// A busy server's wait is logged with the file it held up, where the walk alone logs it, though
// the pool heard it while the walk still waited for an earlier page.
TEST_F(PrefetchTest, ABusyServersWaitIsLoggedWithTheFileItHeldUp) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"slow.html\">s</a> <a href=\"b.html\">b</a>"));
    Sandbox::WriteFile(site / "slow.html", Page("<img src=\"pic.png\"><img src=\"late.png\">"));
    Sandbox::WriteFile(site / "b.html", Page("b"));
    Sandbox::WriteFile(site / "pic.png", Png(1));
    Sandbox::WriteFile(site / "late.png", Png(2));
    const std::string rules = R"({"/slow.html": {"delay": 0.4}, "/pic.png": {"delay": 0.4},
        "/b.html": {"busy": {"status": 429, "retry_after": "0", "times": 1}},
        "/late.png": {"busy": {"status": 503, "retry_after": "0", "times": 1}}})";
    LoopbackServer walkServer(site.Path(), rules);
    const Outcome walk = Crawl(walkServer, "walk/", false);
    LoopbackServer aheadServer(site.Path(), rules);
    const Outcome ahead = Crawl(aheadServer, "ahead/", true);
    EXPECT_EQ(CountOf(Requests(walkServer), "/b.html"), 2u);
    EXPECT_EQ(CountOf(Requests(aheadServer), "/late.png"), 2u);
    // The two servers differ in their ports only.
    const auto withoutServer = [](std::vector<std::string> log, const std::string& base) {
        for (std::string& line : log)
            for (size_t at; (at = line.find(base)) != std::string::npos;) line.erase(at, base.size());
        return log;
    };
    EXPECT_EQ(withoutServer(ahead.log, aheadServer.BaseUrl()), withoutServer(walk.log, walkServer.BaseUrl()));
    EXPECT_EQ(ahead.tree, walk.tree);
}

TEST_F(PrefetchTest, ASitePublishedWithCleanUrlsSavesAsItsHtmlEdition) {
    Sandbox cleanSite;
    WriteEdition(site, false);
    WriteEdition(cleanSite, true);
    LoopbackServer html(site.Path(), "{\"/gone.html\": {\"status\": 404}}");
    LoopbackServer clean(cleanSite.Path(), "{\"/look\": {\"content_type\": \"text/css\"}, \"clean_urls\": true}");
    ASSERT_TRUE(html.Running() && clean.Running());
    const Outcome fromHtml = Crawl(html, "html/", true);
    const Outcome fromClean = Crawl(clean, "clean/", true);

    // The same files, byte for byte, but for the failed page: a gone name that does not say
    // what it is leaves no placeholder, its link keeps its address online.
    std::map<std::string, std::string> expected = fromHtml.tree;
    ASSERT_EQ(expected.erase("gone.html"), 1u);
    std::map<std::string, std::string> got = fromClean.tree;
    const std::string online = clean.BaseUrl() + "/gone";
    const size_t at = got["index.html"].find("\"" + online + "\"");
    ASSERT_NE(at, std::string::npos);
    got["index.html"].replace(at + 1, online.size(), "gone.html");
    EXPECT_EQ(got, expected);
    EXPECT_EQ(got.count("blog.html") + got.count("blog/index.html") + got.count("look.css"), 3u);
    // The records name the stored pages.
    const std::string record = "guide.html " + clean.BaseUrl() + "/guide 0 ";
    EXPECT_EQ(std::count_if(fromClean.records.begin(), fromClean.records.end(),
                            [&record](const std::string& r) { return r.rfind(record, 0) == 0; }),
              1)
        << ::testing::PrintToString(fromClean.records);
}
