// Sitemap files read into the addresses they list, whatever shape they come in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/SitemapReader.h"
#include "platform/GzipMember.h"

using namespace engine;

namespace {

std::string Gzip(const std::string& text) {
    platform::GzipMember packer;
    std::string out;
    EXPECT_TRUE(packer.Add(text, out) && packer.Finish(out));
    return out;
}

const std::string kUrlSet =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- made by hand -->\n"
    "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
    "  <url><loc>\n    http://h/a.html\n  </loc><lastmod>2024-01-01</lastmod></url>\n"
    "  <url><loc>http://h/q?x=1&amp;y=2</loc></url>\n"
    "  <url><loc><![CDATA[http://h/c.html]]></loc></url>\n"
    "  <url><image:image><image:loc>http://h/pic.jpg</image:loc></image:image><loc>http://h/d.html</loc></url>\n"
    "</urlset>\n";

struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> pages;
    std::vector<std::string> sitemaps;
    const char* problem;  // part of the problem text; "" for a file read whole
};

}  // namespace

TEST(SitemapReaderTest, ShapesOfSitemapsAndTheirFaults) {
    const std::vector<std::string> all = {"http://h/a.html", "http://h/q?x=1&y=2", "http://h/c.html", "http://h/d.html"};
    const std::string twoPages = "<urlset><url><loc>http://h/1</loc></url><url><loc>http://h/2</loc></url>";
    const Case cases[] = {
        {"urlset", kUrlSet, all, {}, ""},
        {"gzip", Gzip(kUrlSet), all, {}, ""},
        {"index with a prefix",
         "\xEF\xBB\xBF<sm:sitemapindex xmlns:sm=\"x\"><sm:sitemap><sm:loc>https://h/s1.xml.gz</sm:loc></sm:sitemap>"
         "<sm:sitemap><sm:loc>https://h/s2.xml</sm:loc></sm:sitemap></sm:sitemapindex>",
         {}, {"https://h/s1.xml.gz", "https://h/s2.xml"}, ""},
        {"text list", "http://h/a.html\r\n\r\n  http://h/b.html  \r\n", {"http://h/a.html", "http://h/b.html"}, {}, ""},
        {"cut short", twoPages + "<url><loc>http://h/3", {"http://h/1", "http://h/2"}, {}, "途中で終わっています"},
        {"tags crossed", twoPages + "<url><loc>http://h/3</url></loc>", {"http://h/1", "http://h/2"}, {}, "合いません"},
        {"gzip cut short", Gzip(kUrlSet).substr(0, 20), {}, {}, "gzip"},
        {"html page", "<!DOCTYPE html><html><body><a href=\"http://h/a\">a</a></body></html>", {}, {}, "サイトマップではありません"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11), {}, {}, "バイナリ"},
        {"UTF-16", "\xFF\xFE<\0u\0", {}, {}, "UTF-16"},
        {"other encoding", "<?xml version='1.0' encoding='Shift_JIS'?><urlset><url><loc>http://h/1</loc></url></urlset>",
         {"http://h/1"}, {}, "Shift_JIS"},
        {"entries that are no address",
         "<urlset><url><loc>ftp://h/1</loc></url><url><loc>http://h/\xFF</loc></url><url><loc>http://h/a b</loc></url>"
         "<url><loc>http://h/ok</loc></url></urlset>",
         {"http://h/ok"}, {}, "http(s)"},
        {"entities stay undeclared",
         "<!DOCTYPE urlset [<!ENTITY a \"http://h/aaaaaaaa\">]><urlset><url><loc>&a;</loc></url></urlset>", {}, {}, "http(s)"},
        {"empty", " \r\n", {}, {}, "空のファイル"},
        {"no end of comment", twoPages + "<!-- ", {"http://h/1", "http://h/2"}, {}, "コメント"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SitemapContents read = ReadSitemap(c.bytes);
        EXPECT_EQ(read.pages, c.pages);
        EXPECT_EQ(read.sitemaps, c.sitemaps);
        EXPECT_EQ(read.malformed, *c.problem != '\0');
        EXPECT_NE(read.problem.find(c.problem), std::string::npos) << read.problem;
    }
}

TEST(SitemapReaderTest, ReadingStopsAtTheBoundsOfOneFile) {
    std::string many = "<urlset>";
    for (size_t i = 0; i <= kSitemapMaxEntries; ++i) many += "<url><loc>http://h/" + std::to_string(i) + "</loc></url>";
    many += "</urlset>";
    SitemapContents read = ReadSitemap(many);
    EXPECT_EQ(read.pages.size(), kSitemapMaxEntries);
    EXPECT_EQ(read.pages.back(), "http://h/" + std::to_string(kSitemapMaxEntries - 1));
    EXPECT_NE(read.problem.find("50000 件"), std::string::npos) << read.problem;

    // Past 50 MiB, as it came or unpacked: the address cut in two there is not taken.
    const std::string line = "http://h/" + std::string(1990, 'x') + "\n";
    std::string list;
    while (list.size() <= kSitemapMaxBytes) list += line;
    for (const std::string& bytes : {list, Gzip(list)}) {
        read = ReadSitemap(bytes);
        EXPECT_NE(read.problem.find("50 MiB"), std::string::npos) << read.problem;
        ASSERT_EQ(read.pages.size(), kSitemapMaxBytes / line.size());
        EXPECT_EQ(read.pages.back().size(), line.size() - 1);
    }
}
