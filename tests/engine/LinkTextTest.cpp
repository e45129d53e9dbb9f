// The text forms of links: attribute values, joined URLs, local names.
#include "engine/LinkText.h"
#include "engine/PageCharset.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(LinkText, AttributeValuesAreReadAsHtmlMeansThem) {
    const struct { const char* in; const char* out; } cases[] = {
        {" a.html\t", "a.html"},          {"q?a=1&amp;b=2", "q?a=1&b=2"},  {"x&#46;html", "x.html"},
        {"x&#x2F;y", "x/y"},              {"&quot;a&quot;", "\"a\""},      {"a&b=1", "a&b=1"},
        {"&#233;.html", "\xC3\xA9.html"}, {"&unknown;", "&unknown;"},      {"&#0;", "&#0;"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeAttributeValue(c.in), c.out) << c.in;
}

TEST(LinkText, UrlsJoinAsABrowserJoinsThem) {
    const struct { const char* base; const char* link; const char* out; } cases[] = {
        {"http://h/a/b/p.html", "x.html", "http://h/a/b/x.html"},
        {"http://h/a/b/p.html", "../x.html", "http://h/a/x.html"},
        {"http://h/a/b/p.html", "../../../../x.html", "http://h/x.html"},
        {"http://h/a/b/p.html", "/x/y.html", "http://h/x/y.html"},
        {"https://h/a/p.html", "//o/z.png", "https://o/z.png"},
        {"http://h/a/p.html?q=1", "?r=2", "http://h/a/p.html?r=2"},
        {"http://h/a/p.html", "#s", "http://h/a/p.html#s"},
        {"http://h:8080", "x.html", "http://h:8080/x.html"},
        {"http://h/a/", "./b/./c/../d.html?x=/..", "http://h/a/b/d.html?x=/.."},
        {"http://h/a/", "mailto:x@y", "mailto:x@y"},
        {"http://h/a/", "http://o/", "http://o/"},
    };
    for (const auto& c : cases) EXPECT_EQ(JoinUrl(c.base, c.link), c.out) << c.base << " + " << c.link;
}

TEST(LinkText, NamesAndLocalLinks) {
    std::string out;
    EXPECT_TRUE(DecodePercentName("operator%3D%28%29.html", out));
    EXPECT_EQ(out, "operator=().html");
    for (const char* bad : {"a%2fb", "a%5Cb", "a%00b"}) EXPECT_FALSE(DecodePercentName(bad, out)) << bad;
    EXPECT_EQ(RelativeLocalLink("/d/top/a/p.html", "/d/top/b/x.html"), "../b/x.html");
    EXPECT_EQ(RelativeLocalLink("/d/top/p.html", "/d/top/p.files/r.png"), "p.files/r.png");
    EXPECT_EQ(EncodeLocalLink("a b%#?.html"), "a%20b%25%23%3F.html");
    EXPECT_EQ(EncodeRequestPath("a b/\xE8\xA1\xA8%41.html"), "a%20b/%E8%A1%A8%41.html");
    EXPECT_EQ(WithRootPath("http://h:1"), "http://h:1/");
    EXPECT_EQ(WithRootPath("https://h?q"), "https://h/?q");
    EXPECT_EQ(WithRootPath("http://h/a"), "http://h/a");
    EXPECT_TRUE(IsOtherScheme("tel:123"));
    EXPECT_FALSE(IsOtherScheme("http://h/"));
    EXPECT_FALSE(IsOtherScheme("c:/x"));
    EXPECT_FALSE(IsOtherScheme("a.html?x=b:c"));
}

TEST(PageCharset, DeclaredCharsetsTurnLinkPathsIntoUtf8) {
    const struct { const char* head; PageCharset charset; } cases[] = {
        {"\xEF\xBB\xBF<html>", PageCharset::Utf8},
        {"<meta charset=\"Shift_JIS\">", PageCharset::ShiftJis},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-jp\">", PageCharset::EucJp},
        {"<meta charset=utf-8>", PageCharset::Utf8},
        {"<p>no declaration</p>", PageCharset::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(CharsetOfPage(c.head), c.charset) << c.head;
    EXPECT_EQ(CharsetOfContentType("text/html; charset=Shift_JIS"), PageCharset::ShiftJis);
    EXPECT_EQ(CharsetOfContentType("text/html;charset=\"EUC-JP\""), PageCharset::EucJp);
    EXPECT_EQ(CharsetOfContentType("text/html"), PageCharset::Unknown);

    LinkTable table;
    table.Add("\x95\x5C\x8E\xA6.html?q=\x95\x5C");  // "表示" in Shift-JIS: its second byte is 0x5C
    table.Add("\x83\x5C/index.html");               // "ソ"
    table.Add("plain.html");
    LinkPathsToUtf8(table, PageCharset::ShiftJis);
    EXPECT_EQ(table.urls[1], "\xE8\xA1\xA8\xE7\xA4\xBA.html?q=\x95\x5C");  // the query keeps its bytes
    EXPECT_EQ(table.urls[2], "\xE3\x82\xBD/index.html");
    EXPECT_EQ(table.urls[3], "plain.html");
    LinkTable euc;
    euc.Add("\xC9\xBD.html");  // "表" in EUC-JP
    LinkPathsToUtf8(euc, PageCharset::EucJp);
    EXPECT_EQ(euc.urls[1], "\xE8\xA1\xA8.html");
}
