// A complete save that also starts from the pages of the site's sitemaps.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/PlaceholderPages.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/GzipMember.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/SavedLog.h"

using namespace engine;
using namespace engine::mode;
using testsupport::LinesWith;
using testsupport::LoopbackServer;
using testsupport::Page;
using testsupport::Sandbox;

namespace {

std::string Gzip(const std::string& text) {
    platform::GzipMember packer;
    std::string out;
    EXPECT_TRUE(packer.Add(text, out) && packer.Finish(out));
    return out;
}

std::string UrlSet(const std::vector<std::string>& urls) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
    for (const std::string& url : urls) xml += "  <url><loc>" + url + "</loc></url>\n";
    return xml + "</urlset>\n";
}

int Requests(const LoopbackServer& server, const std::string& path) {
    const std::string log = server.RequestLog();
    int n = 0;
    for (size_t at = 0; (at = log.find("GET " + path + " ", at)) != std::string::npos; ++at) ++n;
    return n;
}

// The site lives in /site/; the start page links a.html alone, and the rest is known only to
// the sitemaps.
class SitemapSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::HttpGlobalInit();
        Sandbox::WriteFile(site / "site/index.html", Page("<a href=\"a.html\">a</a>"));
        for (const char* name : {"a", "hidden", "packed", "private/p"})
            Sandbox::WriteFile(site / ("site/" + std::string(name) + ".html"), Page(std::string("page ") + name));
        Sandbox::WriteFile(site / "outside.html", Page("above the start folder"));
    }

    int Save(LoopbackServer& server, bool sitemaps) {
        job = std::make_unique<SaveJob>();
        job->SetModeBits(ModeSomeComplete);
        job->SetStartUrl(server.BaseUrl() + "/site/index.html");
        copy = std::make_unique<Sandbox>();
        job->SetSaveTarget(*copy / "index.html");
        NamedOptions named;
        named.sitemaps = sitemaps;
        job->SetNamed(named);
        return SaveWorker(host, *job);
    }

    Sandbox site;
    std::unique_ptr<Sandbox> copy;
    SilentHost host;
    std::unique_ptr<SaveJob> job;
};

}  // namespace

TEST_F(SitemapSaveTest, PagesOnlyTheSitemapsListAreSavedWithTheOptionWithinTheSaveLimits) {
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    const std::string base = server.BaseUrl();
    Sandbox::WriteFile(site / "robots.txt", "User-agent: *\nDisallow: /site/private/\nSitemap: " + base +
                                                "/maps/index.xml\nSitemap: http://elsewhere.invalid/sitemap.xml\n");
    Sandbox::WriteFile(site / "sitemap.xml", UrlSet({base + "/site/index.html", base + "/site/a.html",
                                                     base + "/site/hidden.html", base + "/outside.html",
                                                     "http://elsewhere.invalid/site/x.html"}));
    Sandbox::WriteFile(site / "maps/index.xml",
                       "<sitemapindex><sitemap><loc>" + base + "/maps/more.xml.gz</loc></sitemap></sitemapindex>");
    Sandbox::WriteFile(site / "maps/more.xml.gz", Gzip(UrlSet({base + "/site/packed.html", base + "/site/private/p.html"})));

    EXPECT_EQ(Save(server, false), 1);
    EXPECT_EQ(IsSavedCopy(*copy / "a.html"), 1);
    EXPECT_FALSE(Sandbox::Exists(*copy / "hidden.html"));
    EXPECT_EQ(Requests(server, "/sitemap.xml"), 0);

    EXPECT_EQ(Save(server, true), 1);
    EXPECT_EQ(IsSavedCopy(*copy / "hidden.html"), 1);
    EXPECT_EQ(IsSavedCopy(*copy / "packed.html"), 1);
    EXPECT_EQ(LinesWith(*job, "サイトマップから 6 ページを見つけました"), 1);
    // Each sitemap is asked for once; a page linked and listed is fetched once.
    EXPECT_EQ(Requests(server, "/sitemap.xml"), 1);
    EXPECT_EQ(Requests(server, "/maps/more.xml.gz"), 1);
    EXPECT_EQ(Requests(server, "/site/a.html"), 2);  // once in each save
    // Outside the folder, forbidden by robots.txt or on another host: never asked for.
    EXPECT_EQ(Requests(server, "/outside.html"), 0);
    EXPECT_EQ(Requests(server, "/site/private/p.html"), 0);
    EXPECT_FALSE(Sandbox::Exists(*copy / "private/p.html"));
    EXPECT_EQ(LinesWith(*job, "robots.txt により取得しません: " + base + "/site/private/p.html"), 1);
    EXPECT_EQ(LinesWith(*job, "サイトマップが別のホストにあるため読みません: http://elsewhere.invalid/sitemap.xml"), 1);
    EXPECT_EQ(LinesWith(*job, "サイトマップの 1 件は別のホストのページのため辿りません"), 1);
}

TEST_F(SitemapSaveTest, ABrokenSitemapCostsOneLogLineAndTheRestIsSavedWhole) {
    LoopbackServer server(site.Path(), R"({"/endless.xml": {"endless": true}})");
    ASSERT_TRUE(server.Running());
    const std::string base = server.BaseUrl();
    Sandbox::WriteFile(site / "robots.txt", "Sitemap: " + base + "/endless.xml\nSitemap: " + base +
                                                "/missing.xml\nSitemap: " + base + "/broken.xml.gz\n");
    // Cut off in the middle of its second entry.
    Sandbox::WriteFile(site / "sitemap.xml", "<urlset><url><loc>" + base + "/site/hidden.html</loc></url><url><loc>" + base);
    Sandbox::WriteFile(site / "broken.xml.gz", Gzip(UrlSet({base + "/site/packed.html"})).substr(0, 30));

    EXPECT_EQ(Save(server, true), 1);
    EXPECT_EQ(IsSavedCopy(*copy / "a.html"), 1);
    EXPECT_EQ(IsSavedCopy(*copy / "hidden.html"), 1);
    EXPECT_EQ(LinesWith(*job, "（途中で終わっています）: " + base + "/sitemap.xml"), 1);
    EXPECT_EQ(LinesWith(*job, "（50 MiB を超えた部分は読みません）: " + base + "/endless.xml"), 1);
    EXPECT_EQ(LinesWith(*job, "サイトマップを読めません（HTTP 404）: " + base + "/missing.xml"), 1);
    EXPECT_EQ(LinesWith(*job, "（gzip のデータが壊れているか、途中で終わっています）: " + base + "/broken.xml.gz"), 1);
    EXPECT_EQ(LinesWith(*job, "サイトマップ"), 6);  // the four, the pages found, and the look at them
}
