// The link scanner, the conversion of saved pages and the classification of their links.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "engine/LinkKind.h"
#include "engine/LinkScanner.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "tests/support/Sandbox.h"

using namespace engine;
using testsupport::Sandbox;

namespace {

std::vector<std::string> Links(std::string text, int capacity = kLinkSlots) {
    LinkTable table;
    table.capacity = capacity;
    const int next = ExtractLinks(text, table);
    EXPECT_EQ(next, table.Count() + 1);
    return {table.urls.begin() + 1, table.urls.end()};
}

using List = std::vector<std::string>;

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

TEST(ExtractLinks, ValuesAreTakenByTheScannersQuotingRules) {
    const struct { std::string html; List links; } cases[] = {
        {"<a href=\"a.html\">", {"a.html"}},
        {"<a href = \"a.html\">", {"a.html"}},
        {"<a HREF  =  'b.html'>", {"b.html"}},
        {"<a href=c.html>", {"c.html"}},
        {"<a href=d.html class=x>", {"d.html"}},
        {"<a href=e.html\nclass=x>", {"e.html"}},
        {"<a href=&quot;f.html&quot;>", {"f.html"}},
        {"<a href=\"g.html>no closing quote", {}},
        {"<a href=\"javascript:void(0)\">", {}},
        {"<a href=\"javascript:go('h.html')\">", {"h.html"}},
        {"<input type=button onClick=\"window.open('i.html')\">", {"i.html"}},
        {"<a onDblClick=\"w('j.html')\">", {"j.html"}},
        {"<a onclick=\"doIt()\">", {}},
        {"<a href=\"A.html\"><a href=\"a.HTML\">", {"A.html"}},
        {"<a href=\"p.html#sec\"><a href=\"#top\">", {"p.html", "#top"}},
        {"<img src=\"s.gif\"><a href=\"h.html\"><td background=bg.gif>", {"h.html", "s.gif", "bg.gif"}},
        {"<div style=\"background:url('bg.png')\"><p style=\"x:url( \"sp.png\" )\">", {"bg.png", "sp.png"}},
        {"<a href=\"file:///c:/x\"><a href=\"C:\\x.gif\"><a href=\"con.html\"><a href=\"./n.html\">", {"n.html"}},
        {"document.write(\"<a href=\\\"w.html\\\">\")", {"w.html"}},
        {"<style>@import url(\"imp.css\");</style>", {"imp.css"}},
        {"<style>@import \"quoted.css\";</style>", {"quoted.css"}},
        {"function f() { window.open('js.html', 'w'); $('#x').load(\"part.html\"); }", {"js.html", "part.html"}},
        {"window.open(\"javascript:void(0)\")", {}},
        {"<a href=\"\"><p style=\"url()\">", {}},
        // Values as HTML means them: references decoded, blanks trimmed.
        {"<a href=\"q.php?a=1&amp;b=2\"><a href=\" sp.html \"><a href=\"x&#46;html\">", {"q.php?a=1&b=2", "sp.html", "x.html"}},
        // Today's picture and media attributes, every srcset candidate, refresh targets.
        {"<img src=\"a.png\" srcset=\"b.png 2x, c,d.png 3x\" data-src=\"e.png\" data-srcset=\"f.png 100w\">",
         {"a.png", "e.png", "b.png", "c,d.png", "f.png"}},
        {"<video poster=\"v.jpg\"><source srcset=\"s.avif\"></video>", {"s.avif", "v.jpg"}},
        {"<meta http-equiv=\"refresh\" content=\"0; url=next.html\"><p>refresh</p>", {"next.html"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Links(c.html), c.links) << c.html;
}

TEST(ExtractLinks, LineEndsAndEqualsSignsAreNormalisedInPlace) {
    const struct { std::string in, out; } cases[] = {
        {"a\nb\r\nc\n", "a\r\nb\r\nc\r\n"},
        {"\n\n\r\r\nend", "\r\n\r\n\r\r\nend"},
        {"x = 1", "x=1"},
        {"x =1", "x=1"},
        {"x  =  1", "x=1"},
        {"x =  1", "x= 1"},
        {"x= 1", "x= 1"},
        {"<p>plain</p>", "<p>plain</p>"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        LinkTable table;
        (void)ExtractLinks(text, table);
        EXPECT_EQ(text, c.out) << c.in;
    }
}

TEST(ExtractLinks, TheTableTakesAtMostItsCapacityLessOne) {
    std::string page;
    for (int i = 1; i <= 600; ++i) page += "<a href=\"p" + std::to_string(i) + ".html\">";
    page += "<img src=\"late.gif\">";
    const List full = Links(page, 512);
    ASSERT_EQ(full.size(), 511u);
    EXPECT_EQ(full.front(), "p1.html");
    EXPECT_EQ(full.back(), "p511.html");
    EXPECT_EQ(Links(page, 256).size(), 255u);
}

TEST(ExtractLinks, APageOfTwentyThousandLinksYieldsThemAllAndAFullTableCountsTheRest) {
    std::string page;
    for (int i = 1; i <= 20000; ++i) page += "<a href=\"p" + std::to_string(i) + ".html\">";
    page += "<img src=\"P1.HTML\"><img src=\"late.gif\"><div style=\"background:url(late.gif)\">";
    const List all = Links(page);
    ASSERT_EQ(all.size(), 20001u);
    EXPECT_EQ(all[19999], "p20000.html");
    EXPECT_EQ(all.back(), "late.gif");

    LinkTable table;
    table.capacity = 256;
    (void)ExtractLinks(page, table);
    EXPECT_EQ(table.Count(), 255);
    // Each link past the table once, whatever its case or pass; none that the table holds.
    EXPECT_EQ(table.leftOnline.size(), 20001u - 255u);
}

TEST(CleanLink, FilesDrivesDevicesAndAnchorsAreHandled) {
    const struct { const char* in; int keep; const char* out; } cases[] = {
        {"file:/x.html", 0, ""},         {"FILE:///c:/x", 0, ""},
        {"d:\\a.gif", 0, ""},            {"Z:x", 0, ""},
        {"aux.gif", 0, ""},              {"dir/LPT1.txt", 0, ""},
        {"a.html#x", 1, "a.html"},       {"b.HTM#y", 1, "b.HTM"},
        {"c.gif#z", 1, "c.gif#z"},       {"./d.html", 1, "d.html"},
        {"../e.html", 1, "../e.html"},   {"#top", 1, "#top"},
        {"../lib/os#getcwd", 1, "../lib/os"}, {"dir/#x", 1, "dir/#x"},
        {"go?q=1#x", 1, "go?q=1#x"},
    };
    for (const auto& c : cases) {
        std::string link = c.in;
        EXPECT_EQ(CleanLink(link), c.keep) << c.in;
        if (c.keep) {
            EXPECT_EQ(link, c.out) << c.in;
        }
    }
}

TEST(UrlFromScript, TheFirstQuotedTextIsTheUrl) {
    const struct { const char* text; int found; const char* url; } cases[] = {
        {"window.open('a.html','w')", 1, "a.html"},
        {"go(\"b.html\")", 1, "b.html"},
        {"go(\"x\", 'c.html')", 1, "c.html"},  // apostrophes first
        {"go('javascript:x')", 0, ""},
        {"history.back()", 0, ""},
        {"go('open", 0, ""},
    };
    for (const auto& c : cases) {
        std::string url = "unchanged";
        EXPECT_EQ(UrlFromScript(c.text, url), c.found) << c.text;
        EXPECT_EQ(url, c.found ? c.url : "unchanged") << c.text;
    }
}

TEST(MakeRelative, SameSiteUrlsBecomeRelativeToThePage) {
    const struct { const char* url; const char* page; int result; const char* out; } cases[] = {
        {"http://h/a/b.html", "http://h/a/p.html", 1, "b.html"},
        {"http://h/x.html", "http://h/a/b/p.html", 1, "../../x.html"},
        {"http://h/a/c/x.html", "http://h/a/b/p.html", 1, "../c/x.html"},
        {"http://h/a/b/c/x.html", "http://h/a/p.html", 1, "b/c/x.html"},
        {"http://H/A/x.html", "http://h/a/p.html", 1, "x.html"},
        {"https://h/a/x.html", "http://h/a/p.html", 1, "x.html"},
        {"http://h/a/x.html", "https://h/p.html", 1, "a/x.html"},
        {"http://h/", "http://h/a/p.html", 1, "../"},
        {"http://h/a/", "http://h/a/p.html", 1, "index.html"},
        {"http://h/a/x.html?q=/b/c", "http://h/a/p.php?r=/s/t", 1, "x.html?q=/b/c"},
        {"http://other/x.html", "http://h/p.html", 0, "http://other/x.html"},
        {"http://h.evil/x.html", "http://h/p.html", 0, "http://h.evil/x.html"},
        {"http://h:8080/x.html", "http://h/p.html", 0, "http://h:8080/x.html"},
        {"ftp://h/x.html", "http://h/p.html", 0, "ftp://h/x.html"},
        {"http://h", "http://h/p.html", 0, "http://h"},
    };
    for (const auto& c : cases) {
        std::string url = c.url;
        EXPECT_EQ(MakeRelative(url, c.page), c.result) << c.url << " from " << c.page;
        EXPECT_EQ(url, c.out) << c.url << " from " << c.page;
    }
}

class PageTest : public ::testing::Test {
protected:
    void SetUp() override {
        job.SetSaveTarget(box / "site/index.html");
        std::filesystem::create_directories(box / "site/d");
    }
    std::string Convert(const std::string& html, const std::string& url = "http://h/d/p.html") {
        Sandbox::WriteFile(page, html);
        ConvertPage(job, page, url);
        return Sandbox::ReadFile(page);
    }
    Sandbox box;
    SaveJob job;
    std::string page = box / "site/d/p.html";
};

TEST_F(PageTest, AbsoluteLinksIntoTheSiteBecomeRelative) {
    const struct { std::string in, out; } cases[] = {
        {"<a href=\"http://h/d/a.html\">", "<a href=\"a.html\">"},
        {"<a href='HTTPS://h/x.html'>", "<a href='../x.html'>"},
        {"<a href=http://h/d/s/b.html>", "<a href=s/b.html>"},
        {"see http://h/d/c.html\nhttp://h/d/e.html)", "see c.html\ne.html)"},
        {"<a href=\"http://other/a.html\">", "<a href=\"http://other/a.html\">"},
        {"<a href=\"/d/a.html\">", "<a href=\"/d/a.html\">"},  // root links need alias correction
        {"http://h/d/a.html", "http://h/d/a.html"},           // no end: left alone
    };
    for (const auto& c : cases) EXPECT_EQ(Convert(c.in), c.out) << c.in;
    EXPECT_EQ(job.DetailedLog().back(), "  コードを変換＆リンク先を調査中…50％･･･");
}

TEST_F(PageTest, AliasCorrectionMakesRootLinksRelative) {
    job.SetModeBits(mode::arias);
    const struct { std::string in, out; } cases[] = {
        {"<a href=\"/d/a.html\">", "<a href=\"a.html\">"},
        {"<a href='/y.html'>", "<a href='../y.html'>"},
        {"<img src=/d/s/p.gif>", "<img src=s/p.gif>"},
        {"<script src=\"//cdn.example/x.js\">", "<script src=\"//cdn.example/x.js\">"},
        {"<a href=\"/d/\">", "<a href=\"index.html\">"},
        {"<img src=\"/d/a.gif\"/><br />", "<img src=\"a.gif\"/><br />"},
        {"a /d/x.html b", "a /d/x.html b"},  // not behind "=" or a quote
    };
    for (const auto& c : cases) EXPECT_EQ(Convert(c.in), c.out) << c.in;
    EXPECT_EQ(job.DetailedLog().back(), "  コードを変換＆リンク先を調査中…30％･･･60％･･･");
}

TEST_F(PageTest, ArchivedPagesAreRelativeToTheirOwnUrl) {
    job.SetModeBits(mode::WebArchiveSite);
    const std::string url = "http://web.archive.org/web/2005/www.ex.com/a/p.html";
    EXPECT_EQ(ConvertBase(job, url), "http://www.ex.com/a/p.html");
    EXPECT_EQ(ConvertBase(job, "http://web.archive.org/web/2005/http://www.ex.com/a/p.html"),
              "http://www.ex.com/a/p.html");
    EXPECT_EQ(Convert("<a href=\"http://www.ex.com/a/x.html\">", url), "<a href=\"x.html\">");
}

TEST_F(PageTest, UnchangedPagesAreNotWrittenAgain) {
    Sandbox::WriteFile(page, "<a href=\"a.html\">\r\n");
    const ino_t before = InodeOf(page);
    ConvertPage(job, page, "http://h/d/p.html");
    LinkTable table;
    EXPECT_EQ(ScanLinks(job, page, table), 1);
    EXPECT_EQ(InodeOf(page), before);
    EXPECT_FALSE(Sandbox::Exists(page + "Temp"));
}

TEST_F(PageTest, PagesOfOtherSitesGetTheRewriteAlone) {
    Sandbox::WriteFile(page, "<a href=\"http://o/d/a.html\"><a href=\"/d/b.html\">");
    EXPECT_EQ(MakePageLinksRelative(page, "http://o/d/p.html"), 1);
    EXPECT_EQ(Sandbox::ReadFile(page), "<a href=\"a.html\"><a href=\"/d/b.html\">");
    EXPECT_EQ(MakePageLinksRelative(page, "http://o/d/p.html"), 0);
}

TEST_F(PageTest, ScanKeepsThePagesTextButForItsLineEnds) {
    Sandbox::WriteFile(page, "<a href = \"a.html\">\n<img src=\"b.gif\"><p>1 + 1 = 2</p><script>s = \"a = b\"</script>");
    LinkTable table;
    EXPECT_EQ(ScanLinks(job, page, table), 2);
    EXPECT_EQ(table.urls[1], "a.html");
    EXPECT_EQ(table.urls[2], "b.gif");
    EXPECT_EQ(Sandbox::ReadFile(page),
              "<a href = \"a.html\">\r\n<img src=\"b.gif\"><p>1 + 1 = 2</p><script>s = \"a = b\"</script>");
}

TEST_F(PageTest, LinksToOtherSitesAreListedWhenAsked) {
    const struct { uint32_t flags; std::string link; int result; int32_t kind; bool listed; } cases[] = {
        {mode::OutDomainAll, "http://o/p.html", LinkNotTaken, NotFollowed, true},
        {mode::OutDomainSelect, "https://o/q.html", LinkNotTaken, NotFollowed, true},
        {mode::OutDomainAll, "http://o/x.php?id=1", LinkNotTaken, NotFollowed, false},
        {mode::OutDomainAll, "http://o/x__php____q_id=1.html", LinkNotTaken, NotFollowed, false},
        {0, "http://o/p.html", LinkNotTaken, NotFollowed, false},
        {mode::OutDomainAll, "http://o/pic.gif", LinkAbsolute, OutDomainEmbed, false},
    };
    for (const auto& c : cases) {
        job.ClearModeBits(mode::OutDomainAll | mode::OutDomainSelect);
        job.SetModeBits(c.flags);
        job.SetOutDomainLinks({}, {});
        std::string link = c.link, path;
        int32_t kind = 0, level = 0;
        EXPECT_EQ(ClassifyLink(job, page, "http://h/d/p.html", 0, path, link, kind, level), c.result) << c.link;
        EXPECT_EQ(kind, c.kind) << c.link;
        std::vector<std::string> urls, paths;
        job.TakeOutDomainLinks(urls, paths);
        EXPECT_EQ(urls, c.listed ? List{c.link} : List{}) << c.link;
        EXPECT_EQ(paths, c.listed ? List{page} : List{}) << c.link;
    }
}

TEST_F(PageTest, LinksLeavingTheDataFolderAreRefusedWithAReason) {
    const std::string dataFolder = box / "site/";
    job.SetLankLimit(1);
    std::string path;
    int32_t kind = 0, level = 0;

    std::string inside = "../x.html";  // one level up from site/d stays in site
    EXPECT_EQ(ClassifyLink(job, page, "http://h/d/p.html", 0, path, inside, kind, level), LinkTaken);
    EXPECT_EQ(path, dataFolder + "x.html");

    const std::string start = box / "site/index.html";
    for (std::string link : {"../y.html", "a/../../z.html", "%2e%2e/w.html"}) {
        const std::string found = link;
        EXPECT_EQ(ClassifyLink(job, start, "http://h/d/index.html", 0, path, link, kind, level), LinkNotTaken) << found;
        EXPECT_EQ(kind, NotFollowed);
        EXPECT_EQ(job.DetailedLog().back(), "  リンク先を保存しません（保存フォルダの外を指すため）: " + found);
    }
    EXPECT_FALSE(Sandbox::Exists(box / "y.html"));
    std::error_code ec;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(box.Path(), ec), {}), 1);  // only site/
}

namespace {

long PeakKiB() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

// A large script (a site's search index) with "a = b" in it: the scan's mended copy is one
// more text, not two, so a save's memory does not peak at three times its largest file.
TEST(ScanLinksText, ALargeTextWithSpacedEqualsSignsIsScannedBesideOneCopy) {
    constexpr size_t kBytes = 32u << 20;
    std::string text;
    text.reserve(kBytes + 64);
    text += "<a href = \"first.html\">x</a>\r\n";
    while (text.size() < kBytes) text += "var a = 1, b = 2; // some script of a realistic shape\r\n";
    text += "<img src =\"last.png\">";
    LinkTable table;
    bool lineEndsChanged = true;
    const long before = PeakKiB();
    EXPECT_EQ(ScanLinksText(text, table, lineEndsChanged), 2);
    EXPECT_LT(PeakKiB() - before, static_cast<long>(kBytes / 1024 * 3 / 2));
    EXPECT_FALSE(lineEndsChanged);
    EXPECT_EQ(table.urls[1], "first.html");
    EXPECT_EQ(table.urls[2], "last.png");
}
