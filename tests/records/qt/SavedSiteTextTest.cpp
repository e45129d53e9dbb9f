// The view's texts and paths that need no window, and the title of a dropped page.
#include <gtest/gtest.h>

#include "platform/Codepage.h"
#include "records/PageTitleFetch.h"
#include "records/SavedSiteText.h"
#include "tests/support/ShiftJis.h"

using namespace records;

namespace {

using testsupport::Sjis;

}  // namespace

TEST(SavedSiteTextTest, OptionTextListsTheSavedOptionsInOrder) {
    struct Case {
        uint32_t flags;
        int32_t limit;
        std::string text;
    };
    const Case cases[] = {
        {0x301, 0, "デフォルト（変更無し）"},
        // Job bits outside the saved options (update check, dynamic pages) change nothing.
        {0x301 | 0x400 | 0x80000, 3, "デフォルト（変更無し）"},
        {0x300, 0, "上位階層の上限： 0 （Default）\r\nデータフォルダ作成\r\n更新チェックファイル（Qdxファイル）作成\r\n"
                   "外部パスの処理：無効\r\n"},
        {0x301, -1, "デフォルト（変更無し）"},
        {0x1 | 0x4, 2, "上位階層の上限： 2\r\n強制変換\r\n外部パスの処理：無効\r\n"},
        {0x1 | 0x4 | 0x80, 0, "上位階層の上限： 0 （Default）\r\nAgent利用\r\n外部パスの処理：無効\r\n"},
        // The agent alone is neither "Agent利用" nor "強制変換".
        {0x1 | 0x80, 0, "上位階層の上限： 0 （Default）\r\n外部パスの処理：無効\r\n"},
        {0x1 | 0x8 | 0x10 | 0x20, 1, "上位階層の上限： 1\r\nAlias補正\r\n外部パスの処理：有効\r\n"},
        {0x1 | 0x20 | 0x2000 | 0x100, 0,
         "上位階層の上限： 0 （Default）\r\nデータフォルダ作成\r\n外部パスの処理：選択\r\n追跡リンク選択\r\n"},
        {0x301 | 0x4000, 0, "上位階層の上限： 0 （Default）\r\nデータフォルダ作成\r\n"
                            "更新チェックファイル（Qdxファイル）作成\r\n外部パスの処理：無効\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(OptionText(c.flags, c.limit), c.text) << std::hex << c.flags;
}

TEST(SavedSiteTextTest, FilesBesideTheRecordFollowItsName) {
    EXPECT_EQ(ErrorLogPathOf("/s/my.site/save.qdx"), "/s/my.site/save.files/SitrovError.log");
    EXPECT_EQ(RecordStem("/s/my.site/noext"), "/s/my.site/noext");
    EXPECT_EQ(OutDomainListPageOf("/s/a.qdx"), "/s/a.files/外部パスリンク/_外部ドメインへのリンク一覧.html");
    EXPECT_EQ(OutDomainFolderOf("/s/a.qdx"), "/s/a.files/外部パスリンク");
    EXPECT_EQ(AbsolutePathFolderOf("/s/a.qdx"), "/s/a.files/絶対パスリンク");
    EXPECT_EQ(AdRemovalArgument("/s/a b.qdx"), "advertisement,\"/s/a b.qdx\"");
    EXPECT_EQ(LinkActionText("名前", "/p"), "【リンク名】\r\n名前\r\n\r\n【登録パス】\r\n/p");
    EXPECT_TRUE(IsWebTarget("HTTPS://h/"));
    EXPECT_FALSE(IsWebTarget("/http://"));
}

TEST(SavedSiteTextTest, TitleOfADroppedPageReadsEitherEncoding) {
    const std::string longTitle(100, 'x');
    std::string kana;
    for (int i = 0; i < 100; ++i) kana += "あ";  // 300 bytes of UTF-8
    struct Case {
        std::string head;
        std::string title;
    };
    const Case cases[] = {
        {"<html><head><title>Plain</title>", "Plain"},
        {"<title>\r\n日本語のページ\r\n</title>", "日本語のページ"},
        {"<meta charset=\"Shift_JIS\"><title>" + Sjis("保存した頁") + "</title>", "保存した頁"},
        // No charset named: bytes that are no UTF-8 are read as Shift-JIS.
        {"<TITLE>" + Sjis("ソフト") + "</TITLE>", "ソフト"},
        {"<title>a\nb</title>", "a b"},
        {"<title>" + longTitle + longTitle + longTitle + "</title>", std::string(260, 'x')},
        // Cut at 260 bytes without splitting a character: 86 whole characters.
        {"<title>" + kana + "</title>", kana.substr(0, 258)},
        {"<title>no end", ""},
        {"<body>none</body>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TitleFromHead(c.head), c.title) << c.head;
}
