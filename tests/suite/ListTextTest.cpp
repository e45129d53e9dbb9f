// Search scores, sorting of cells, the details of a record and the window size file.
#include <gtest/gtest.h>

#include "suite/ListText.h"
#include "suite/QdxDetails.h"
#include "tests/support/Sandbox.h"

using namespace suite;
using testsupport::Sandbox;

TEST(ListText, SearchScoresCountEveryOccurrence) {
    // Twice in the comment and once in the path: 3 + 3 + 1.
    EXPECT_EQ(QdxScore("news", "/saves/news.qdx", "Daily NEWS and more news", {}), 7);
    EXPECT_EQ(QdxScore("news", "/saves/a.qdx", "", {"news  http://h/", "x"}), 2);
    EXPECT_EQ(CountOccurrences("aAaA", "aa"), 3);  // overlapping, any case
    EXPECT_EQ(CountOccurrences("short", "longer word"), 0);
    EXPECT_EQ(CountOccurrences("text", ""), 0);
    EXPECT_EQ(FileScore("jpg", "http://h/p.jpg", "/s/p.JPG"), 2);
}

TEST(ListText, CellsCompareAsNumbersOnlyWhenBothAre) {
    EXPECT_LT(CompareCells("9", "10"), 0);
    EXPECT_LT(CompareCells("10", "9x"), 0);  // "9x" is no number: text order
    EXPECT_LT(CompareCells("abc", "abd"), 0);
    EXPECT_EQ(CompareCells("2", "2.0"), 0);
    EXPECT_TRUE(FirstClickAscending(true, 1));
    EXPECT_FALSE(FirstClickAscending(true, 3));
    EXPECT_FALSE(FirstClickAscending(false, 0));
}

TEST(ListText, RecordDetailsAndErrors) {
    Sandbox box;
    Sandbox::WriteFile(box / "bad.qdx", "not a number\r\n");
    Sandbox::WriteFile(box / "site.qdx", "769\r\nEnd\r\n__[QdxExtraComment]\r\nnotes\r\n__[KvMultiProfileSectionEnd]\r\n");
    EXPECT_EQ(ReadQdxDetails(box / "missing.qdx").message, "Qdx-Error:2\r\n指定されたファイルが開けません。");
    EXPECT_FALSE(Sandbox::Exists(box / "missing.qdx"));
    EXPECT_EQ(ReadQdxDetails(box / "bad.qdx").message, "Qdx-Error:1\r\n指定されたファイルはサポートされていない形式です。");
    const QdxDetails d = ReadQdxDetails(box / "site.qdx");
    EXPECT_EQ(d.status, DetailsRead);
    const std::string text = DetailsText(box / "site.qdx", d);
    EXPECT_NE(text.find("【登録がありません】"), std::string::npos);
    EXPECT_NE(text.find("URLの取得に失敗しました。"), std::string::npos);
    EXPECT_EQ(CommentColumnText(std::string(70, 'x')), std::string(59, 'x') + "...");
    EXPECT_EQ(CommentColumnText("short"), "short");
    std::string kana32, kana29;
    for (int i = 0; i < 32; ++i) kana32 += "あ";  // 64 bytes stored: shown whole
    for (int i = 0; i < 29; ++i) kana29 += "あ";
    EXPECT_EQ(CommentColumnText(kana32), kana32);
    EXPECT_EQ(CommentColumnText(kana32 + "あ"), kana29 + "...");
}

TEST(ListText, WindowSizeFileRoundTrips) {
    Sandbox box;
    const std::string ini = box / "QdxSuite.ini";
    EXPECT_EQ(ReadWindowSize(ini).width, 480);
    EXPECT_EQ(ReadWindowSize(ini).height, 360);
    ASSERT_EQ(WriteWindowSize(ini, {640, 400}), 1);
    EXPECT_NE(Sandbox::ReadFile(ini).find("[QdxSuite-WH-Size]\r\nWidth=640\r\nHeight=400"), std::string::npos);
    EXPECT_EQ(ReadWindowSize(ini).width, 640);
}
