// The start page's links offered for the link trace selection, and their folders.
#include "engine/TraceLinks.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

using namespace engine;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

using Links = std::vector<std::string>;

}  // namespace

TEST(TraceLinks, PageLinksOfTheSiteOnlyEachOnceInPageOrder) {
    const std::string page =
        "<a href=\"a/one.html\">1</a> <a href='../up.htm#part'>u</a> <a href=\"a/one.html#x\">again</a>"
        "<a href=\"/b/\">folder</a> <img src=\"pic.png\"> <link href=\"s.css\"> <script src=\"x.js\"></script>"
        "<a href=\"http://other.example/o.html\">o</a> <a href=\"mailto:me@h\">m</a> <a href=\"#top\">t</a>"
        "<a href=\"p.html\">self</a> <a href=\"list.php?page=2\">q</a> <a href=\"HTTP://H/c/x.html\">case</a>"
        "<a href=\"dir/a b.html\">blank</a> <a href=\"javascript:void(0)\">js</a>";
    EXPECT_EQ(TraceLinksOfPage(page, "http://h/top/p.html"),
              (Links{"http://h/top/a/one.html", "http://h/up.htm", "http://h/b/", "http://h/top/list.php?page=2",
                     "HTTP://H/c/x.html", "http://h/top/dir/a%20b.html"}));
    EXPECT_TRUE(TraceLinksOfPage("<p>no links</p>", "http://h/").empty());
}

TEST(TraceLinks, FoldersGroupTheirLinksInOrderOfFirstAppearance) {
    const struct {
        const char* url;
        const char* folder;
    } cases[] = {{"http://h/a/b.html", "http://h/a/"},         {"http://h/a/", "http://h/a/"},
                 {"http://h/x.php?p=a/b", "http://h/"},        {"http://h/d/e/f.htm", "http://h/d/e/"}};
    for (const auto& c : cases) EXPECT_EQ(TraceFolderOf(c.url), c.folder) << c.url;

    const std::vector<TraceFolder> folders =
        GroupTraceLinks({"http://h/a/1.html", "http://h/b/2.html", "http://h/a/3.html", "http://h/a/"});
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0].prefix, "http://h/a/");
    EXPECT_EQ(folders[0].urls, (Links{"http://h/a/1.html", "http://h/a/3.html", "http://h/a/"}));
    EXPECT_EQ(folders[1].prefix, "http://h/b/");
    EXPECT_EQ(folders[1].urls, (Links{"http://h/b/2.html"}));
}

TEST(TraceLinks, GatheringReadsTheStartPageOverTheNetwork) {
    Sandbox site;
    Sandbox::WriteFile(site / "top/index.html", "<a href=\"a/one.html\">1</a><a href=\"../b/two.html\">2</a>");
    Sandbox::WriteFile(site / "bare.html", "<img src=\"only.png\">");
    LoopbackServer server(site.Path(), "{\"/old.html\": {\"redirect\": \"/top/index.html\"}}");
    ASSERT_TRUE(server.Running());
    const std::string base = server.BaseUrl();
    const Links expected{base + "/top/a/one.html", base + "/b/two.html"};

    const struct {
        const char* path;
        int result;
        Links links;
    } cases[] = {
        {"/top/index.html", 1, expected},
        {"/old.html", 1, expected},  // read against the address the page came from
        {"/bare.html", 0, {}},       // nothing to choose from
        {"/missing.html", 0, {}},
    };
    for (const auto& c : cases) {
        Links links{"stale"};
        EXPECT_EQ(GatherTraceLinks(base + c.path, links, {}), c.result) << c.path;
        EXPECT_EQ(links, c.links) << c.path;
    }
}
