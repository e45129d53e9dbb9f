#include <gtest/gtest.h>

#include "platform/ByteSize.h"
#include "platform/ByteString.h"

using namespace platform;

TEST(ByteString, CaseIsIgnoredForAsciiOnly) {
    EXPECT_TRUE(EqualsI("INDEX.HTML", "index.html"));
    EXPECT_FALSE(EqualsI("\xc3\x84", "\xc3\xa4"));  // Ä and ä differ: only ASCII folds
    EXPECT_TRUE(StartsWithI("HTTP://x", "http://"));
    EXPECT_TRUE(EndsWithI("style.CSS", ".css"));
    EXPECT_FALSE(EndsWithI("css", ".css"));
}

TEST(ByteString, FindAndReverseFindIgnoreCase) {
    EXPECT_EQ(FindI("a HREF=x href=y", "href="), 2u);
    EXPECT_EQ(FindI("a HREF=x href=y", "href=", 3), 9u);
    EXPECT_EQ(FindI("abc", "abcd"), npos);
    EXPECT_EQ(RFindI("x.PHP?a.php", ".php"), 7u);
    EXPECT_EQ(RFindI("", "a"), npos);
}

// The search jumps between candidates of either case: it must find exactly what a plain
// left-to-right comparison finds, from every start, at the ends and past them.
TEST(ByteString, FindIAgreesWithAPlainSearchEverywhere) {
    const auto plain = [](std::string_view hay, std::string_view needle, size_t from) -> size_t {
        for (size_t i = from; i + needle.size() <= hay.size(); ++i)
            if (EqualsI(hay.substr(i, needle.size()), needle)) return i;
        return npos;
    };
    // Long enough to be searched many places at a time; '@' and '`' differ only in the case bit.
    std::string hay = "Hh hREf=\"x\" HREF href=\xC3\xA4 &QUOT;&quot url(/a) H @`[{";
    for (int i = 0; i < 3; ++i) hay += hay.substr(static_cast<size_t>(i) * 7);
    for (std::string_view needle : {"href=", "h", "H", "&quot", "url(", "\xC3\xA4", "=", " h", "x\"", "zz", "rEf",
                                    "hreF=\"x", "H h", "\xA4 &qUot;", "@`", "`@", "[{", "{["})
        for (size_t from = 0; from <= hay.size() + 1; ++from)
            EXPECT_EQ(FindI(hay, needle, from), plain(hay, needle, from)) << needle << " from " << from;
    EXPECT_EQ(FindI("abc", "", 3), 3u);
    EXPECT_EQ(FindI("abc", "", 4), npos);
}

TEST(ByteString, ReplaceAllCountsAndKeepsRest) {
    std::string s = "a = b = c";
    EXPECT_EQ(ReplaceAll(s, " = ", "="), 2u);
    EXPECT_EQ(s, "a=b=c");
    EXPECT_EQ(ReplaceAll(s, "zz", "y"), 0u);
}

TEST(ByteString, DecimalReadsLikeTheRuntime) {
    EXPECT_EQ(ParseDecimal("  42abc"), 42);
    EXPECT_EQ(ParseDecimal("-7"), -7);
    EXPECT_EQ(ParseDecimal("3.9"), 3);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999999"), LLONG_MAX);
}

TEST(ByteString, SplitAtLastSeparator) {
    EXPECT_EQ(UpToLast("http://h/a/b.html", '/'), "http://h/a/");
    EXPECT_EQ(AfterLast("http://h/a/b.html", '/'), "b.html");
    EXPECT_EQ(UpToLast("name", '/'), "");
    EXPECT_EQ(AfterLast("name", '/'), "name");
}

TEST(ByteSize, ShortFormKeepsThreeDigits) {
    EXPECT_EQ(FormatByteSize(0), "0 バイト");
    EXPECT_EQ(FormatByteSize(1023), "1023 バイト");
    EXPECT_EQ(FormatByteSize(1024), "1.00 KB");
    EXPECT_EQ(FormatByteSize(1536), "1.50 KB");
    EXPECT_EQ(FormatByteSize(15 * 1024 + 512), "15.5 KB");
    EXPECT_EQ(FormatByteSize(150 * 1024), "150 KB");
    EXPECT_EQ(FormatByteSize(3ull * 1024 * 1024 * 1024), "3.00 GB");
}
