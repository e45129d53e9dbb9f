#include <gtest/gtest.h>

#include <thread>

#include "platform/Codepage.h"

using namespace platform;

TEST(Codepage, JapaneseRoundTripsThroughShiftJis) {
    std::string sjis, back;
    ASSERT_EQ(Utf8ToCp932("保存済み", sjis), CodepageOk);
    EXPECT_EQ(sjis, "\x95\xdb\x91\xb6\x8d\xcf\x82\xdd");
    ASSERT_EQ(Cp932ToUtf8(sjis, back), CodepageOk);
    EXPECT_EQ(back, "保存済み");
}

TEST(Codepage, WaveDashIsTheFullWidthTilde) {
    std::string sjis;
    ASSERT_EQ(Utf8ToCp932("Sitrova Ver3.30\xef\xbd\x9e", sjis), CodepageOk);  // U+FF5E
    EXPECT_EQ(sjis, "Sitrova Ver3.30\x81\x60");
}

TEST(Codepage, UnmappableCharacterIsAnErrorNamingIt) {
    std::string sjis = "old";
    size_t bad = 0;
    const std::string text = "ok \xe2\x98\x83 snow";  // U+2603 has no code in CP932
    EXPECT_EQ(Utf8ToCp932(text, sjis, &bad), CodepageUnmappable);
    EXPECT_TRUE(sjis.empty());
    EXPECT_EQ(bad, 3u);
    EXPECT_EQ(DescribeUnmappable(text, bad), "U+2603 (\xe2\x98\x83)");
}

TEST(Codepage, BrokenShiftJisIsAnError) {
    std::string out;
    EXPECT_EQ(Cp932ToUtf8("abc\x82", out), CodepageUnmappable);  // lead byte without trail
}

// The converters are kept open between calls: a broken or unmappable text must leave nothing
// behind for the next conversion, in either direction, on any thread.
TEST(Codepage, AFailedConversionLeavesTheNextOneExact) {
    const auto check = [] {
        std::string out;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Cp932ToUtf8("abc\x82", out), CodepageUnmappable);
            ASSERT_EQ(Cp932ToUtf8("\x95\xdb\x91\xb6", out), CodepageOk);
            EXPECT_EQ(out, "保存");
            EXPECT_EQ(Utf8ToCp932("\xe2\x98\x83", out), CodepageUnmappable);
            ASSERT_EQ(Utf8ToCp932("済み", out), CodepageOk);
            EXPECT_EQ(out, "\x8d\xcf\x82\xdd");
        }
    };
    std::thread other(check);
    check();
    other.join();
}

// Runs between the ASCII are remembered: the second time a run turns up, in another text,
// it must give the same bytes, and a failure must still name its place in the whole text.
TEST(Codepage, RepeatedRunsConvertAlikeAndFailuresKeepTheirPlace) {
    std::string a, b;
    ASSERT_EQ(Utf8ToCp932("http://x/保存済み.html 保存済み", a), CodepageOk);
    EXPECT_EQ(a, "http://x/\x95\xdb\x91\xb6\x8d\xcf\x82\xdd.html \x95\xdb\x91\xb6\x8d\xcf\x82\xdd");
    ASSERT_EQ(Utf8ToCp932("保存済み", b), CodepageOk);
    EXPECT_EQ(b, "\x95\xdb\x91\xb6\x8d\xcf\x82\xdd");
    size_t bad = 0;
    EXPECT_EQ(Utf8ToCp932("保存 ok \xe2\x98\x83", b, &bad), CodepageUnmappable);
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(bad, 10u);
    EXPECT_EQ(Utf8ToCp932("ok \xe3\x81 x", b, &bad), CodepageUnmappable);  // a character cut short
    EXPECT_EQ(bad, 3u);
}
