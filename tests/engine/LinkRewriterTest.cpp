#include "engine/LinkRewriter.h"

#include "engine/LinkKind.h"
#include "engine/PlaceholderPages.h"
#include "engine/SaveJob.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

using engine::LinkTable;
using testsupport::Sandbox;

namespace {

// The file's identity: a page written back through its "Temp" twin gets a new one.
ino_t InodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

void AddLink(LinkTable& table, const std::string& url, int32_t kind, const std::string& path = "",
             int32_t level = 0) {
    table.Add(url);
    table.kinds.back() = kind;
    table.paths.back() = path;
    table.levels.back() = level;
}

TEST(PlaceholderPagesTest, FailedPageHasItsExactShiftJisBytes) {
    Sandbox box;
    const std::string path = box / "page.html";
    ASSERT_EQ(engine::WriteFailedPage("http://example.test/a.html", path), 1);
    const std::string expected =
        "<html><head><title>Failed Download</title></head><body>\r\n"
        "\x82\xb1\x82\xcc\x83\x79\x81\x5b\x83\x57\x82\xcd\x83\x5f\x83\x45\x83\x93\x83\x8d\x81\x5b\x83\x68\x82\xc5"
        "\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42"
        "<br>\r\nBy Sitrova<br>\r\n"
        "<br>\r\n<a href=\"http://example.test/a.html\">http://example.test/a.html</a>\r\n"
        "</body>\r\n</html>\r\n";
    EXPECT_EQ(Sandbox::ReadFile(path), expected);
}

TEST(PlaceholderPagesTest, CanceledPageHasItsExactShiftJisBytesAndReplacesAFile) {
    Sandbox box;
    const std::string path = box / "page.html";
    Sandbox::WriteFile(path, std::string(5000, 'x'));
    ASSERT_EQ(engine::WriteCanceledPage("http://example.test/b.html", path), 1);
    const std::string expected =
        "<html><head><title>Canceled Download</title></head><body>\r\n"
        "\x82\xb1\x82\xcc\x83\x79\x81\x5b\x83\x57\x82\xcc\x83\x5f\x83\x45\x83\x93\x83\x8d\x81\x5b\x83\x68\x82\xcd"
        "\x83\x86\x81\x5b\x83\x55\x81\x5b\x82\xc9\x82\xe6\x82\xe8\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b\x82\xb3"
        "\x82\xea\x82\xdc\x82\xb5\x82\xbd\x81\x42"
        "<br>\r\n"
        "By Sitrova<br>\r\n"
        "<br>\r\n"
        "<a href=\"http://example.test/b.html\">\r\n"
        "http://example.test/b.html\r\n"
        "</a>\r\n"
        "</body>\r\n"
        "</html>\r\n";
    EXPECT_EQ(Sandbox::ReadFile(path), expected);
}

TEST(PlaceholderPagesTest, UrlCannotBreakOutOfThePlaceholdersLink) {
    Sandbox box;
    const std::string path = box / "page.html";
    ASSERT_EQ(engine::WriteFailedPage("http://x.test/a\"onclick=<b>/index.html?q=1&r=2", path), 1);
    const std::string safe = "http://x.test/a%22onclick=%3Cb%3E/index.html?q=1&r=2";
    EXPECT_NE(Sandbox::ReadFile(path).find("<a href=\"" + safe + "\">" + safe + "</a>"), std::string::npos);
    ASSERT_EQ(engine::WriteCanceledPage("http://x.test/\"", path), 1);
    EXPECT_NE(Sandbox::ReadFile(path).find("<a href=\"http://x.test/%22\">\r\nhttp://x.test/%22\r\n"),
              std::string::npos);
}

TEST(PlaceholderPagesTest, SavedCopyIsARealPageAndALeftoverFailurePageIsDeleted) {
    Sandbox box;
    EXPECT_EQ(engine::IsSavedCopy(box / "missing.html"), 0);

    Sandbox::WriteFile(box / "real.html", "<html><head><title>Real</title></head></html>");
    EXPECT_EQ(engine::IsSavedCopy(box / "real.html"), 1);
    EXPECT_TRUE(Sandbox::Exists(box / "real.html"));

    ASSERT_EQ(engine::WriteFailedPage("http://example.test/f.html", box / "failed.html"), 1);
    EXPECT_EQ(engine::IsSavedCopy(box / "failed.html"), 0);
    EXPECT_FALSE(Sandbox::Exists(box / "failed.html"));

    // A cancelled page stays: the user excluded it, a later run must not fetch it again.
    ASSERT_EQ(engine::WriteCanceledPage("http://example.test/c.html", box / "canceled.html"), 1);
    EXPECT_EQ(engine::IsSavedCopy(box / "canceled.html"), 1);

    // The failure head counts only within the first 512 bytes.
    Sandbox::WriteFile(box / "late.html", std::string(600, ' ') + std::string(engine::kFailedPageHead));
    EXPECT_EQ(engine::IsSavedCopy(box / "late.html"), 1);

    Sandbox::WriteFile(box / "folder.html/inner.txt", "x");
    EXPECT_EQ(engine::IsSavedCopy(box / "folder.html"), 0);
}

TEST(FixDirectoryLinksTest, DoubleQuotedFolderLinksGetTheirIndexWhenItWasSaved) {
    Sandbox box;
    const std::string page = box / "page.html";
    Sandbox::WriteFile(page,
                       "<a href=\"sub/\">one</a> <a href=\"SUB/\">two</a> <a href='sub/'>three</a> <a href=sub/>four</a>"
                       "<a href=\"gone/\">five</a><img alt=\"\" src=\"x.gif\">");
    Sandbox::WriteFile(box / "sub/index.html", "index");
    EXPECT_EQ(1, engine::FixDirectoryLinks("http://example.test/page.html", page, {"sub/", "gone/", ""},
                              {box / "sub/index.html", box / "gone/index.html", box / "index.html"}));
    EXPECT_EQ(Sandbox::ReadFile(page),
              "<a href=\"sub/index.html\">one</a> <a href=\"SUB/index.html\">two</a> <a href='sub/'>three</a> "
              "<a href=sub/>four</a><a href=\"gone/\">five</a><img alt=\"\" src=\"x.gif\">");
}

TEST(FixDirectoryLinksTest, PageIsNotRewrittenWhenNothingChanges) {
    Sandbox box;
    const std::string page = box / "page.html";
    Sandbox::WriteFile(page, "<a href='sub/'>single</a>");
    Sandbox::WriteFile(box / "sub/index.html", "index");
    const ino_t before = InodeOf(page);
    EXPECT_EQ(1, engine::FixDirectoryLinks("http://example.test/page.html", page, {"sub/"}, {box / "sub/index.html"}));
    EXPECT_EQ(InodeOf(page), before);
}

TEST(FixDirectoryLinksTest, NovelSiteFolderLinksAreFixedBeforeTheirIndexExistsExceptUpward) {
    Sandbox box;
    const std::string page = box / "page.html";
    Sandbox::WriteFile(page, "<a href=\"n1234/\">a</a><a href=\"../other/\">b</a><a href=\"../\">c</a>");
    EXPECT_EQ(1, engine::FixDirectoryLinks("http://ncode.syosetu.com/n1234/1/", page, {"n1234/", "../other/", "../"},
                              {box / "n1234/index.html", box / "x/index.html", box / "y/index.html"}));
    EXPECT_EQ(Sandbox::ReadFile(page),
              "<a href=\"n1234/index.html\">a</a><a href=\"../other/\">b</a><a href=\"../index.html\">c</a>");
}

TEST(FixDynamicLinksTest, OnlyTheFirstOccurrenceOfEachTailIsRenamed) {
    Sandbox box;
    const std::string page = box / "page.html";
    Sandbox::WriteFile(page, "<a href=\"a.php?x=1\">1</a><a href=\"a.php?x=1\">again</a><a href=\"b.PHP?y=2\">2</a>");
    engine::SaveJob job;
    const std::vector<std::string> originals = {".php?x=1", ".php?y=2", ".php?none"};
    const std::vector<std::string> newNames = {"__php____q_x=1.html", "__php____q_y=2.html", "__php____q_none.html"};

    engine::FixDynamicLinks(job, page, originals, newNames);  // not following dynamic pages
    EXPECT_EQ(Sandbox::ReadFile(page),
              "<a href=\"a.php?x=1\">1</a><a href=\"a.php?x=1\">again</a><a href=\"b.PHP?y=2\">2</a>");

    job.SetModeBits(engine::mode::FollowDynamicPages);
    engine::FixDynamicLinks(job, page, originals, newNames);
    EXPECT_EQ(Sandbox::ReadFile(page), "<a href=\"a__php____q_x=1.html\">1</a><a href=\"a.php?x=1\">again</a>"
                                       "<a href=\"b__php____q_y=2.html\">2</a>");
}

TEST(RelocateOutDomainEmbedsTest, ForeignPictureMovesIntoThePagesFilesFolder) {
    Sandbox box;
    const std::string page = box / "news.html";
    Sandbox::WriteFile(page, "<img src=\"http://other.test/img/pic.gif\"><a href=\"local.html\">x</a>"
                             "<img src=\"HTTP://OTHER.TEST/img/pic.gif\">");
    LinkTable table;
    AddLink(table, "local.html", engine::LinkPage, box / "local.html", 3);
    AddLink(table, "http://other.test/img/pic.gif", engine::OutDomainEmbed);
    engine::SaveJob job;
    std::string text = Sandbox::ReadFile(page);
    EXPECT_EQ(engine::RewritePageLinks(job, text, page, "http://example.test/news.html", 3, table), 1);

    EXPECT_EQ(text, "<img src=\"news.files/pic.gif\"><a href=\"local.html\">x</a><img src=\"news.files/pic.gif\">");
    EXPECT_TRUE(Sandbox::Exists(box / "news.files"));
    EXPECT_EQ(table.urls[2], "http://other.test/img/pic.gif");
    EXPECT_EQ(table.kinds[2], engine::EmbedData);
    EXPECT_EQ(table.paths[2], box / "news.files/pic.gif");
    EXPECT_EQ(table.levels[2], 4);
    EXPECT_EQ(table.kinds[1], engine::LinkPage);
    EXPECT_EQ(table.paths[1], box / "local.html");
}

TEST(RelocateOutDomainEmbedsTest, HostingBannersAloneAreLeftWhereTheyAre) {
    Sandbox box;
    const std::string page = box / "top.html";
    const std::string text = "<img src=\"http://img.geocities.jp/banner.gif\"><img src=\"http://ad.isweb.co.jp/b.gif\">";
    Sandbox::WriteFile(page, text);
    LinkTable table;
    AddLink(table, "http://img.geocities.jp/banner.gif", engine::OutDomainEmbed);
    AddLink(table, "http://ad.isweb.co.jp/b.gif", engine::OutDomainEmbed);
    EXPECT_EQ(engine::RelocateOutDomainEmbeds(page, "http://example.test/top.html", 0, table), 0);
    EXPECT_EQ(Sandbox::ReadFile(page), text);
    EXPECT_FALSE(Sandbox::Exists(box / "top.files"));
    EXPECT_EQ(table.kinds[1], engine::NotFollowed);
    EXPECT_EQ(table.kinds[2], engine::NotFollowed);

    // Beside another site's picture the banners move too.
    AddLink(table, "http://pics.test/real.jpg", engine::OutDomainEmbed);
    table.kinds[1] = table.kinds[2] = engine::OutDomainEmbed;
    Sandbox::WriteFile(page, text + "<img src=\"http://pics.test/real.jpg\">");
    EXPECT_EQ(engine::RelocateOutDomainEmbeds(page, "http://example.test/top.html", 0, table), 1);
    EXPECT_EQ(Sandbox::ReadFile(page), "<img src=\"top.files/banner.gif\"><img src=\"top.files/b.gif\">"
                                       "<img src=\"top.files/real.jpg\">");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(table.kinds[i], engine::EmbedData);
}

TEST(RelocateOutDomainEmbedsTest, SameNamesFromTwoSitesGetTwoFilesAndLongerUrlsStayWhole) {
    Sandbox box;
    const std::string page = box / "p.htm";
    Sandbox::WriteFile(page, "<img src=\"http://a.test/pic.gif\"><img src=\"http://b.test/pic.gif\">"
                             "<img src=\"http://a.test/pic.gif2\">");
    LinkTable table;
    AddLink(table, "http://a.test/pic.gif", engine::OutDomainEmbed);
    AddLink(table, "http://b.test/pic.gif", engine::OutDomainEmbed);
    AddLink(table, "http://a.test/pic.gif2", engine::OutDomainEmbed);
    EXPECT_EQ(engine::RelocateOutDomainEmbeds(page, "http://example.test/p.htm", -1, table), 1);
    EXPECT_EQ(Sandbox::ReadFile(page), "<img src=\"p.files/pic.gif\"><img src=\"p.files/pic_2.gif\">"
                                       "<img src=\"p.files/pic.gif2\">");
    EXPECT_EQ(table.paths[2], box / "p.files/pic_2.gif");
    EXPECT_EQ(table.levels[3], 0);
}

TEST(RelocateOutDomainEmbedsTest, PageWithoutForeignEmbedsIsNotTouched) {
    Sandbox box;
    const std::string page = box / "plain.html";
    Sandbox::WriteFile(page, "<a href=\"http://other.test/page.html\">x</a>");
    const ino_t before = InodeOf(page);
    LinkTable table;
    AddLink(table, "http://other.test/page.html", engine::NotFollowed);
    EXPECT_EQ(engine::RelocateOutDomainEmbeds(page, "http://example.test/plain.html", 0, table), 0);
    EXPECT_EQ(InodeOf(page), before);
    EXPECT_FALSE(Sandbox::Exists(box / "plain.files"));
}

}  // namespace

namespace {

// A table entry as the page step leaves it: the text as written, its URL, kind and path.
void AddFound(LinkTable& table, const std::string& written, const std::string& url, int32_t kind,
              const std::string& path = "") {
    table.Add(url, written);
    table.kinds.back() = kind;
    table.paths.back() = path;
}

}  // namespace

TEST(PointLinksAtCopyTest, EveryLinkReachesTheCopyOrTheSiteOnline) {
    Sandbox box;
    const std::string data = box / "data/";
    const std::string page = data + "top/d/p.html";
    for (const char* f : {"top/d/a.html", "top/d/pic.gif", "top/d/x y.gif", "top/up.html", "top/d/q__q_a=1.html"})
        Sandbox::WriteFile(data + f, "x");
    LinkTable table;
    AddFound(table, "a.html#s", "http://h/t/d/a.html", engine::LinkPage, data + "top/d/a.html");
    AddFound(table, "/t/up.html", "http://h/t/up.html", engine::LinkPage, data + "top/up.html");
    AddFound(table, "x%20y.gif", "http://h/t/d/x%20y.gif", engine::EmbedData, data + "top/d/x y.gif");
    AddFound(table, "q.html?a=1", "http://h/t/d/q.html?a=1", engine::LinkPage, data + "top/d/q__q_a=1.html");
    AddFound(table, "fail.gif", "http://h/t/d/fail.gif", engine::EmbedData, data + "top/d/fail.gif");
    AddFound(table, "../../above.html", "http://h/above.html", engine::NotFollowed);
    AddFound(table, "later.html", "http://h/t/d/later.html", engine::LinkPage, data + "top/d/later.html");
    AddFound(table, "http://o/r.png", "http://o/r.png", engine::EmbedData, data + "top/d/p.files/r.png");
    const struct { std::string in, out; } cases[] = {
        {"<a href=\"a.html#s\">", "<a href=\"a.html#s\">"},                // already right: kept
        {"<a href='/t/up.html'>", "<a href='../up.html'>"},                // server root → relative
        {"<img src=\"x%20y.gif\">", "<img src=\"x%20y.gif\">"},            // escapes resolve on disk
        {"<a href=\"q.html?a=1\">", "<a href=\"q__q_a=1.html\">"},         // query → its local name
        {"<img src=\"fail.gif\">", "<img src=\"http://h/t/d/fail.gif\">"},  // failed → online
        {"<a href=../../above.html>", "<a href=http://h/above.html>"},   // above the limit → online
        {"<a href=\"later.html\">", "<a href=\"later.html\">"},            // still to be saved
        {"<a href=\"past511.html\">", "<a href=\"http://h/t/d/past511.html\">"},  // never scanned → online
        {"<img src=\"p.files/r.png\">", "<img src=\"http://o/r.png\">"},   // relocated, fetch failed
        {"<img srcset=\"pic.gif 1x, gone.gif 2x\">", "<img srcset=\"pic.gif 1x, http://h/t/d/gone.gif 2x\">"},
        {"<p style=\"background: url( gone.gif )\">", "<p style=\"background: url( http://h/t/d/gone.gif )\">"},
        {"<img SRC = \"fail.gif\" data-src=fail.gif>", "<img SRC = \"http://h/t/d/fail.gif\" data-src=http://h/t/d/fail.gif>"},
        {"<video poster=\"fail.gif\"><td background=fail.gif>",
         "<video poster=\"http://h/t/d/fail.gif\"><td background=http://h/t/d/fail.gif>"},
        {"<a href=\"#top\"><a href=\"mailto:a@b\"><a href=\"tel:1\"><a href=\"https://o/\">",
         "<a href=\"#top\"><a href=\"mailto:a@b\"><a href=\"tel:1\"><a href=\"https://o/\">"},
        {"1 + 1 = 2; s = \"a = b\"", "1 + 1 = 2; s = \"a = b\""},
        {"<code><span>href=</span><span>gone.html</span> xhref=\"gone.html\"</code>",
         "<code><span>href=</span><span>gone.html</span> xhref=\"gone.html\"</code>"},  // text, no links
    };
    const engine::WillBeSaved later = [](const std::string& url) { return url == "http://h/t/d/later.html"; };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(engine::PointLinksAtCopyText(text, page, "http://h/t/d/p.html", data, table, later), c.in != c.out)
            << c.in;
        EXPECT_EQ(text, c.out) << c.in;
    }
}

TEST(PointLinksAtCopyTest, LinksPointedOnlineComeBackWhenTheirFileWasSavedLater) {
    Sandbox box;
    const std::string data = box / "data/";
    const std::string page = data + "top/d/p.html";
    Sandbox::WriteFile(data + "top/later.html", "x");
    Sandbox::WriteFile(data + "top/guide.html", "x");  // saved as a page, though its name did not say so
    Sandbox::WriteFile(page, "<a href=\"http://h/t/later.html#s\"><a href=\"http://h/t/never.html\">"
                             "<a href=\"http://o/t/later.html\"><a href=\"http://h/etc/passwd\"><a href=\"http://h/t/guide\">");
    // What the end of a save would look at, without reading the page again.
    std::vector<std::string> targets;
    EXPECT_TRUE(engine::RelinkTargets(Sandbox::ReadFile(page), page, "http://h/t/d/p.html", data, 8, targets));
    EXPECT_EQ(targets, (std::vector<std::string>{data + "top/later.html", data + "top/never.html", data + "etc/passwd",
                                                 data + "etc/passwd.html", data + "top/guide",
                                                 data + "top/guide.html"}));
    EXPECT_FALSE(engine::RelinkTargets(Sandbox::ReadFile(page), page, "http://h/t/d/p.html", data, 1, targets));
    EXPECT_TRUE(targets.empty());
    EXPECT_EQ(engine::RelinkToSavedFiles(page, "http://h/t/d/p.html", data), 1);
    EXPECT_EQ(Sandbox::ReadFile(page), "<a href=\"../later.html#s\"><a href=\"http://h/t/never.html\">"
                                       "<a href=\"http://o/t/later.html\"><a href=\"http://h/etc/passwd\"><a href=\"../guide.html\">");
    EXPECT_EQ(engine::RelinkToSavedFiles(page, "http://h/t/d/p.html", data), 0);
}
