// Qdx6_RerEvu.so loaded by file name and called through its exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/DynamicLibrary.h"
#include "engine/BlogPages.h"
#include "rerevu/RerEvu.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

class RerEvuExports : public ::testing::Test {
protected:
    platform::DynamicLibrary lib{std::string(SITROVA_BIN_DIR) + "/" + QDX6_RERE_EVU_FILE};
    Sandbox box;

    template <typename Fn>
    Fn Get(const char* name) {
        Fn fn = lib.Function<Fn>(name);
        EXPECT_NE(fn, nullptr) << name;
        return fn;
    }
};

TEST_F(RerEvuExports, ReservedDeviceNamesInAnyElement) {
    const auto fn = Get<ContainsReservedDeviceNameFn>("ContainsReservedDeviceName");
    ASSERT_NE(fn, nullptr);
    const struct {
        const char* path;
        int expected;
    } cases[] = {
        {"C:\\x\\con.html", 1}, {"C:\\aux\\a.html", 1}, {"C:\\x\\com1.txt", 1}, {"C:\\x\\CLOCK$", 1},
        {"C:\\x\\console.html", 0}, {"C:\\x\\com10.html", 0}, {"/home/me/lpt9.html", 1}, {"/home/me/comx", 1},
        {"http://nul/x.html", 1}, {"https://h/prn.htm", 1}, {"/home/me/site.html", 0}, {"c:\\x\\a.html", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(fn(c.path), c.expected) << c.path;
    EXPECT_EQ(fn(nullptr), 0);
}

TEST_F(RerEvuExports, BlogUrlsOfBothServices) {
    const auto fn = Get<IsBlogUrlFn>("IsBlogUrl");
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(fn("http://AMEBLO.jp/someone/"), 1);
    EXPECT_EQ(fn("https://blog.livedoor.jp/who/archives/1.html"), 1);
    EXPECT_EQ(fn("http://example.org/blog/"), 0);
}

TEST_F(RerEvuExports, AbsoluteLinksOfTheOwnHostBecomeRelative) {
    const auto fn = Get<ShapeCodeAbsToRelativeFn>("ShapeCodeAbsToRelative");
    ASSERT_NE(fn, nullptr);
    const std::string longTail(300, 'q');
    const std::string page = box / "c.html";
    Sandbox::WriteFile(page,
                       "<a href=\"http://h/a/b/d.html\">1</a><a href='http://h/a/x/y.html'>2</a>\r\n"
                       "<img src=http://h/z.html> see http://other/a/b.html\r\n"
                       "<a href=\"http://h/a/b/" + longTail + ".html\">long</a> tail http://h/a");
    EXPECT_EQ(fn(page.c_str(), "http://h/a/b/c.html"), 1);
    const std::string once = Sandbox::ReadFile(page);
    EXPECT_EQ(once,
              "<a href=\"d.html\">1</a><a href='../x/y.html'>2</a>\r\n"
              "<img src=../../z.html> see http://other/a/b.html\r\n"
              "<a href=\"" + longTail + ".html\">long</a> tail http://h/a");
    // A second run finds nothing left to change.
    EXPECT_EQ(fn(page.c_str(), "http://h/a/b/c.html"), 1);
    EXPECT_EQ(Sandbox::ReadFile(page), once);
    EXPECT_FALSE(Sandbox::Exists(page + "Temp"));
    EXPECT_EQ(fn((box / "missing.html").c_str(), "http://h/a/b/c.html"), 0);
}

TEST_F(RerEvuExports, RootLinksIntoThePageFolderBecomeRelative) {
    const auto fn = Get<AriasRevisionFn>("AriasRevision");
    ASSERT_NE(fn, nullptr);
    const std::string page = box / "p.html";
    Sandbox::WriteFile(page, "<a href=\"/dir/page.html\">a</a><a href=/other/x.html>b</a> http://far/dir/q.html");
    EXPECT_EQ(fn(page.c_str(), "http://h/dir/index.html"), 1);
    EXPECT_EQ(Sandbox::ReadFile(page), "<a href=\"page.html\">a</a><a href=/other/x.html>b</a> http://far/dir/q.html");
    EXPECT_EQ(fn((box / "missing.html").c_str(), "http://h/dir/index.html"), 0);
}

TEST_F(RerEvuExports, BlogPagesAfterDownload) {
    const auto fn = Get<IsSuccessBlogPageDownloadingFn>("IsSuccessBlogPageDownloading");
    ASSERT_NE(fn, nullptr);
    const std::string missing = box / "entry.html";
    Sandbox::WriteFile(missing, "<html><div CLASS=\"error\">no article</div></html>");
    EXPECT_EQ(fn("http://ameblo.jp/who/entry-1.html", missing.c_str()), 1);
    EXPECT_EQ(Sandbox::ReadFile(missing), engine::NotFoundPage());
    const std::string notFound = engine::NotFoundPage();
    EXPECT_EQ(std::count(notFound.begin(), notFound.end(), '\n'), 7);

    const std::string root = box / "b.html";
    Sandbox::WriteFile(root, "<a href=\"/who/archives/2.html\">2</a>");
    EXPECT_EQ(fn("http://blog.livedoor.jp/who/archives/1.html", root.c_str()), 1);
    EXPECT_EQ(Sandbox::ReadFile(root), "<a href=\"2.html\">2</a>");

    const std::string plain = box / "o.html";
    Sandbox::WriteFile(plain, "<a href=\"/x/y.html\">class=\"error\"</a>");
    EXPECT_EQ(fn("http://example.org/x/z.html", plain.c_str()), 1);
    EXPECT_EQ(Sandbox::ReadFile(plain), "<a href=\"/x/y.html\">class=\"error\"</a>");
    EXPECT_EQ(fn("http://ameblo.jp/who/", (box / "none.html").c_str()), 0);
}

TEST_F(RerEvuExports, ARewriteTheDiskRefusesReturnsFailure) {
    const auto shape = Get<ShapeCodeAbsToRelativeFn>("ShapeCodeAbsToRelative");
    const auto blog = Get<IsSuccessBlogPageDownloadingFn>("IsSuccessBlogPageDownloading");
    ASSERT_NE(shape, nullptr);
    ASSERT_NE(blog, nullptr);
    const std::string page = box / "c.html";
    Sandbox::WriteFile(page + "Temp/in-the-way", "");  // the rewrite cannot make its temporary file
    const std::string linked = "<a href=\"http://h/a/b/d.html\">1</a>";
    Sandbox::WriteFile(page, linked);
    EXPECT_EQ(shape(page.c_str(), "http://h/a/b/c.html"), 0);
    EXPECT_EQ(Sandbox::ReadFile(page), linked);
    Sandbox::WriteFile(page, "<div class=\"error\">none</div>");
    EXPECT_EQ(blog("http://ameblo.jp/who/entry-1.html", page.c_str()), 0);
}

TEST_F(RerEvuExports, TitlesFromTheHeadOfThePage) {
    const auto title = Get<GetWebPageTitleWithProgressThunkFn>("GetWebPageTitleWithProgressThunk");
    const auto manga = Get<GetWebPageTitleForMangakanFn>("GetWebPageTitleForMangakan");
    ASSERT_TRUE(title && manga);
    Sandbox::WriteFile(box / "t.html", "<html><head><TITLE>\r\nお知らせ Page\r\n</TITLE></head></html>");
    Sandbox::WriteFile(box / "late.html", std::string(1100, ' ') + "<title>late</title>");
    Sandbox::WriteFile(box / "m.html",
                       "<html><title>漫画館 .com</title><HR width=\"90%\" size=\"5\">\n   NARUTO 12ABC (1-3)\n<TABLE>");
    Sandbox::WriteFile(box / "w.html", "<title>ONE piece</title>");
    LoopbackServer server(box.Path(), R"({"/slow.html": {"delay": 1.2, "body": "<title>slow</title>"}})");
    ASSERT_TRUE(server.Running());
    const std::string base = server.BaseUrl() + "/";

    char buffer[260];
    const struct {
        std::string url;
        int mode, length;
        const char* expected;
    } cases[] = {
        {base + "t.html", 0, 259, "お知らせ Page"},
        {base + "t.html", 0, 8, "お知"},  // room for six bytes: never half a character
        {base + "slow.html", 0, 259, "slow"},  // waits past the quiet half second (no window here)
        {base + "late.html", 0, 259, ""},
        {base + "gone.html", 0, 259, ""},
        {base + "m.html", 1, 259, "Naruto12Abc"},
        {base + "w.html", 1, 259, "OnePiece"},
    };
    for (const auto& c : cases) {
        const int n = title(nullptr, c.url.c_str(), buffer, c.length, c.mode);
        EXPECT_EQ(n, static_cast<int>(std::strlen(c.expected))) << c.url;
        if (n) {
            EXPECT_STREQ(buffer, c.expected) << c.url;
        }
    }
    EXPECT_EQ(manga((base + "m.html").c_str(), buffer, 260), 11);
    EXPECT_STREQ(buffer, "Naruto12Abc");
    EXPECT_EQ(manga((base + "m.html").c_str(), buffer, 7), 6);
    EXPECT_STREQ(buffer, "Naruto");
}

}  // namespace
