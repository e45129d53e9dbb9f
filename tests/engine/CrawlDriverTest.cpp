// The crawl driver against a small site on the loopback server.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/CrawlDriver.h"
#include "engine/PlaceholderPages.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "engine/UrlModel.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using namespace engine;
using namespace engine::mode;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

std::string Page(const std::string& body) { return "<html><head><title>t</title></head><body>" + body + "</body></html>"; }

bool LogHas(const std::vector<std::string>& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

size_t CountRequests(const LoopbackServer& server, const std::string& path) {
    const std::string log = server.RequestLog();
    size_t n = 0;
    for (size_t p = log.find("GET " + path + " "); p != std::string::npos; p = log.find("GET " + path + " ", p + 1)) ++n;
    return n;
}

class CrawlTest : public ::testing::Test {
protected:
    void SetUp() override { platform::HttpGlobalInit(); }

    // Runs a whole save of `leaf` on the site into the sandbox's "out" folder.
    int Save(LoopbackServer& server, const std::string& leaf, uint32_t flags = 0) {
        job.SetModeBits(ModeSomeComplete | flags);
        job.Run().retryWaitMs = job.Run().resumePauseMs = 20;
        job.SetStartUrl(server.BaseUrl() + "/" + leaf);
        job.SetSaveTarget(out + leaf);
        return SaveWorker(host, job);
    }

    Sandbox site;
    Sandbox target;
    std::string out = target.Path();
    SilentHost host;
    SaveJob job;
};

}  // namespace

TEST(CrawlLog, LongUrlsAreCutInFailureLines) {
    const std::string thirty(30, 'u');
    EXPECT_EQ(ShortUrlForLog(thirty), thirty);
    EXPECT_EQ(ShortUrlForLog(thirty + "v"), thirty + "･･･");
    EXPECT_TRUE(IsNovelSiteUrl("http://ncode.syosetu.com/n1"));
    EXPECT_FALSE(IsNovelSiteUrl("http://ncode.syosetu.com"));  // the prefix alone is too short
}

TEST(CrawlState, DeferredPagesKeepTheirOrderWithoutRepeats) {
    CrawlState state;
    state.Defer("/a", "http://h/a", 81);
    state.Defer("/b", "http://h/b", 82);
    state.Defer("/a2", "http://h/a", 83);  // same URL waits already
    state.Defer("/B", "http://h/B", 84);   // other case is another URL
    DeferredPage page;
    std::vector<std::string> order;
    while (state.TakeFirst(page)) order.push_back(page.url);
    EXPECT_EQ(order, (std::vector<std::string>{"http://h/a", "http://h/b", "http://h/B"}));
}

TEST_F(CrawlTest, StartPageAloneIsSavedAndCounted) {
    Sandbox::WriteFile(site / "index.html", Page("no links here"));
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    EXPECT_EQ(Save(server, "index.html"), 1);
    EXPECT_EQ(Sandbox::ReadFile(out + "index.html"), Page("no links here"));
    const auto log = job.DetailedLog();
    EXPECT_EQ(log.front(), server.BaseUrl() + "/index.html" + "のサイト保存を開始しました･･･");
    EXPECT_TRUE(LogHas(log, "  このページにリンクはもうありません。"));
    EXPECT_TRUE(LogHas(log, "◆◇◆◇◆◇"));
    EXPECT_TRUE(LogHas(log, "サイト保存を終了しました。"));
    EXPECT_EQ(job.SimpleLog().front(), " - Start - ");
    EXPECT_EQ(job.SimpleLog().back(), " - Finished - ");
}

TEST_F(CrawlTest, ServersCharsetHeaderNamesThePagesEncoding) {
    // No <meta>: only the header says that "表示.html" is written in Shift-JIS (its second byte
    // is 0x5C, which read as ASCII would be a refused backslash).
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"\x95\x5C\x8E\xA6.html\">x</a>"));
    Sandbox::WriteFile(site / "\xE8\xA1\xA8\xE7\xA4\xBA.html", Page("shown"));
    LoopbackServer server(site.Path(), "{\"/index.html\": {\"content_type\": \"text/html; charset=Shift_JIS\"}}");
    ASSERT_TRUE(server.Running());
    EXPECT_EQ(Save(server, "index.html"), 1);
    EXPECT_EQ(CountRequests(server, "/%E8%A1%A8%E7%A4%BA.html"), 1u);
    EXPECT_EQ(Sandbox::ReadFile(out + "\xE8\xA1\xA8\xE7\xA4\xBA.html"), Page("shown"));
}

// A form's button label or option is no address: only a value whose name says what it is
// (a movie's parameter) is fetched, while the same word as a link is asked for.
TEST_F(CrawlTest, FormValuesAreFollowedOnlyWhenTheirNameSaysWhatTheyAre) {
    Sandbox::WriteFile(site / "index.html",
                       Page("<form><input type=\"submit\" value=\"Go\"><option value=\"default\">d</option></form>"
                            "<param name=\"movie\" value=\"clip.swf\"><a href=\"about\">about</a>"));
    Sandbox::WriteFile(site / "clip.swf", "FWS");
    Sandbox::WriteFile(site / "about", Page("about"));
    LoopbackServer server(site.Path(), "{\"/about\": {\"content_type\": \"text/html\"}}");
    ASSERT_TRUE(server.Running());
    EXPECT_EQ(Save(server, "index.html"), 1);
    EXPECT_EQ(CountRequests(server, "/Go"), 0u);
    EXPECT_EQ(CountRequests(server, "/default"), 0u);
    EXPECT_EQ(CountRequests(server, "/clip.swf"), 1u);
    EXPECT_EQ(CountRequests(server, "/about"), 1u);
    EXPECT_TRUE(Sandbox::Exists(out + "about.html"));
}

TEST_F(CrawlTest, PageLinkedTwiceIsFetchedOnce) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"a.html\">a</a> <a href=\"b.html\">b</a>"));
    Sandbox::WriteFile(site / "a.html", Page("<a href=\"b.html\">b again</a>"));
    Sandbox::WriteFile(site / "b.html", Page("leaf"));
    LoopbackServer server(site.Path());
    EXPECT_EQ(Save(server, "index.html"), 1);
    EXPECT_TRUE(Sandbox::Exists(out + "a.html"));
    EXPECT_EQ(Sandbox::ReadFile(out + "b.html"), Page("leaf"));
    EXPECT_EQ(CountRequests(server, "/b.html"), 1u);
    EXPECT_TRUE(LogHas(job.DetailedLog(), "  このページはすでにＤＬ済みです。"));
    EXPECT_EQ(job.FoundCount(), 3u);
    EXPECT_EQ(job.PercentDone(), 100);
}

TEST_F(CrawlTest, PagesBeyondTheDepthLimitAreFetchedInTheRetryPhase) {
    const int pages = 84;
    for (int i = 0; i < pages; ++i) {
        const std::string next = i + 1 < pages ? "<a href=\"p" + std::to_string(i + 1) + ".html\">next</a>" : "end";
        Sandbox::WriteFile(site / ("p" + std::to_string(i) + ".html"), Page(next));
    }
    LoopbackServer server(site.Path());
    EXPECT_EQ(Save(server, "p0.html"), 1);
    for (int i = 0; i < pages; ++i) EXPECT_TRUE(Sandbox::Exists(out + "p" + std::to_string(i) + ".html")) << i;
    const auto log = job.DetailedLog();
    EXPECT_TRUE(LogHas(log, "  このページのＤＬに失敗しました(検索階層が深過ぎる)。後にリトライします。"));
    EXPECT_TRUE(LogHas(log, "エラーページのリトライを開始します。"));
    EXPECT_TRUE(LogHas(log, "  階層ナンバー: 0   (R.Func: 0 )"));
    EXPECT_TRUE(LogHas(log, "  階層ナンバー: 0   (R.Func:80 )"));
}

TEST_F(CrawlTest, LeftoverFailurePlaceholderIsReplacedByTheRealPage) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"a.html\">a</a>"));
    Sandbox::WriteFile(site / "a.html", Page("real"));
    ASSERT_EQ(WriteFailedPage("http://old/a.html", out + "a.html"), 1);
    LoopbackServer server(site.Path());
    EXPECT_EQ(Save(server, "index.html"), 1);
    EXPECT_EQ(Sandbox::ReadFile(out + "a.html"), Page("real"));
}

TEST_F(CrawlTest, FailedPageLeavesPlaceholderAndFailsTheSave) {
    const std::string longName = "a-page-with-a-rather-long-name.html";
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"" + longName + "\">x</a>"));
    LoopbackServer server(site.Path(), "{\"/" + longName + "\": {\"status\": 404}}");
    EXPECT_EQ(Save(server, "index.html"), 0);
    EXPECT_EQ(IsSavedCopy(out + longName), 0);  // only the placeholder, which the test deletes
    const auto log = job.DetailedLog();
    EXPECT_TRUE(LogHas(log, "  ＤＬに失敗しました。"));
    const std::string url = server.BaseUrl() + "/" + longName;
    EXPECT_TRUE(LogHas(log, "ページ「" + url.substr(0, 30) + "･･･」のコンプリートに失敗。"));
}

// Each failure line reads as it always did; the line after it says why, with the whole URL.
TEST_F(CrawlTest, FailureLinesAreFollowedByTheirReasonAndTheWholeUrl) {
    const std::string longName = "a-page-that-is-gone-for-good.html";
    Sandbox::WriteFile(site / "index.html",
                       Page("<a href=\"" + longName + "\">x</a><img src=\"secret.png\"><img src=\"cut.png\">"
                            "<img src=\"http://127.0.0.1:1/a.png\"><img src=\"http://127.0.0.1:1/b.png\">"));
    Sandbox::WriteFile(site / "cut.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(2000, 'x'));
    LoopbackServer server(site.Path(), "{\"/" + longName + "\": {\"status\": 410}, \"/secret.png\": {\"status\": 403},"
                                       " \"/cut.png\": {\"drop_after\": 0}}");
    ASSERT_TRUE(server.Running());
    EXPECT_EQ(Save(server, "index.html"), 0);
    const auto log = job.DetailedLog();
    const auto followedBy = [&log](const std::string& line, const std::string& next) {
        for (size_t i = 0; i + 1 < log.size(); ++i)
            if (log[i] == line && log[i + 1] == next) return true;
        return false;
    };
    const std::string base = server.BaseUrl() + "/";
    const std::string gone = "サーバーの応答 HTTP 410（削除されました）: " + base + longName;
    EXPECT_TRUE(followedBy("  ＤＬに失敗しました。", "  　理由: " + gone));
    EXPECT_TRUE(followedBy("ページ「" + (base + longName).substr(0, 30) + "･･･」のコンプリートに失敗。", "  　理由: " + gone));
    EXPECT_TRUE(followedBy("    ！ダウンロードに失敗",
                           "    　理由: サーバーの応答 HTTP 403（アクセスが禁止されています）: " + base + "secret.png"));
    EXPECT_TRUE(followedBy("    ！ダウンロードに失敗", "    　理由: 転送が途中で切れました: " + base + "cut.png"));
    EXPECT_TRUE(followedBy("    ！ダウンロードに失敗",
                           "    　理由: サーバーに接続できません（拒否されたか、応答がありません）: http://127.0.0.1:1/a.png"));
    // The second file of the dead host is given up, as in a save without fetching ahead,
    // even when a fetch ahead of the walk tried it before the first one failed.
    EXPECT_TRUE(followedBy("    ！ダウンロードに失敗",
                           "    　理由: このホストには先に接続できなかったため、再び試しません: http://127.0.0.1:1/b.png"));
}

TEST_F(CrawlTest, ForcedConversionKeepsAndConvertsAPartialPage) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"cut.html\">x</a>"));
    const std::string body = Page("<a href=\"early.html\">e</a>" + std::string(50000, 'x') + "<a href=\"late.html\">l</a>");
    Sandbox::WriteFile(site / "cut.html", body);
    Sandbox::WriteFile(site / "early.html", Page("early"));
    // Every try breaks off early.
    LoopbackServer server(site.Path(), "{\"/cut.html\": {\"drop_after\": 1000}}");
    (void)Save(server, "index.html", neglect);
    const std::string kept = Sandbox::ReadFile(out + "cut.html");
    EXPECT_EQ(IsSavedCopy(out + "cut.html"), 1);
    EXPECT_GE(kept.size(), 1000u);
    EXPECT_EQ(kept.substr(0, 200), body.substr(0, 200));
    EXPECT_TRUE(LogHas(job.DetailedLog(), "  ＤＬが正常終了しませんでしたが、変換を続行します。"));
    EXPECT_TRUE(Sandbox::Exists(out + "early.html"));
    EXPECT_FALSE(Sandbox::Exists(out + "cut.html.part"));
    // Without the option the page is a failure, as before.
    Sandbox other;
    job.ClearModeBits(neglect);
    out = other.Path();
    EXPECT_EQ(Save(server, "index.html"), 0);
    EXPECT_EQ(IsSavedCopy(out + "cut.html"), 0);
}

TEST_F(CrawlTest, AHostThatDoesNotAnswerIsNotAskedAgain) {
    Sandbox::WriteFile(site / "index.html",
                       Page("<img src=\"http://127.0.0.1:1/a.png\"><img src=\"http://127.0.0.1:1/b.png\">"));
    LoopbackServer server(site.Path());
    EXPECT_EQ(Save(server, "index.html", RetryOnFailure), 0);
    EXPECT_TRUE(job.HostUnreachable("http://127.0.0.1:1/c.png"));
    EXPECT_FALSE(job.HostUnreachable(server.BaseUrl() + "/index.html"));
    // No pause for a second try at a host that is not there.
    EXPECT_FALSE(LogHas(job.DetailedLog(), "    応答を待機中…"));
    // The page points at the pictures online.
    EXPECT_NE(Sandbox::ReadFile(out + "index.html").find("src=\"http://127.0.0.1:1/a.png\""), std::string::npos);
}

TEST_F(CrawlTest, RetryOnFailureTriesOnceMoreAfterAPause) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"busy.html\">x</a>"));
    LoopbackServer server(site.Path(), "{\"/busy.html\": {\"status\": 503}}");
    EXPECT_EQ(Save(server, "index.html", RetryOnFailure), 0);
    EXPECT_TRUE(LogHas(job.DetailedLog(), "  応答を待機中…"));
    EXPECT_EQ(CountRequests(server, "/busy.html"), 2u);
}

TEST_F(CrawlTest, APageWithMoreLinksThanTheTableHoldsSaysHowManyStayOnline) {
    std::string body;
    for (int i = 1; i <= kLinkSlots + 99; ++i) body += "<a href=\"mailto:u" + std::to_string(i) + "@h.invalid\">";
    Sandbox::WriteFile(site / "index.html", Page(body));
    LoopbackServer server(site.Path());
    EXPECT_EQ(Save(server, "index.html"), 1);
    const auto log = job.DetailedLog();
    EXPECT_TRUE(LogHas(log, "  " + std::to_string(kLinkSlots - 1) + "個のリンク先が見つかりました。"));
    const std::string left = "  　※リンク数が上限の" + std::to_string(kLinkSlots - 1) +
                             "個を超えたため、残り100個のリンク先は辿らず、オンラインのまま残します。";
    // The classification's progress marks continue that line.
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::string& l) { return l.rfind(left, 0) == 0; }));
}

TEST_F(CrawlTest, EmbeddedFilesAreFetchedAndFailuresCounted) {
    Sandbox::WriteFile(site / "index.html", Page("<img src=\"pic.png\"><img src=\"lost.png\">"));
    Sandbox::WriteFile(site / "pic.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(2000, 'x'));
    LoopbackServer server(site.Path());
    EXPECT_EQ(Save(server, "index.html"), 0);
    EXPECT_TRUE(Sandbox::Exists(out + "pic.png"));
    EXPECT_FALSE(Sandbox::Exists(out + "lost.png"));
    const auto log = job.DetailedLog();
    EXPECT_TRUE(LogHas(log, "  埋め込みデータをＤＬ中…"));
    EXPECT_TRUE(LogHas(log, "    pic.png  (1.96 KB )"));
    EXPECT_TRUE(LogHas(log, "    ！ダウンロードに失敗"));
    EXPECT_TRUE(LogHas(log, "  埋め込みデータのＤＬを完了。"));
}
