// The input view's rules that need no window: field texts, the check before a save, the kind
// of save, the option bits, titles, shortcuts and the report of dropped record files.
#include <gtest/gtest.h>

#include "app/DropFiles.h"
#include "app/InputRules.h"
#include "engine/ModeFlags.h"
#include "platform/Codepage.h"
#include "tests/support/Sandbox.h"

using namespace engine::mode;
using testsupport::Sandbox;

TEST(InputRules, SaveNameAndDefaultPathFollowTheUrl) {
    const struct {
        const char* url;
        const char* name;
    } cases[] = {
        {"http://h/a/page.html", "page.html"},
        {"http://h/a/", "index.html"},
        {"", "新規ページ.html"},
        {"nothing", "新規ページ.html"},
    };
    for (const auto& c : cases) EXPECT_EQ(app::SaveNameForUrl(c.url), c.name) << c.url;

    EXPECT_EQ(app::DefaultSavePath({}, "/work", ""), "/work/新規ページ.html");
    EXPECT_EQ(app::DefaultSavePath({}, "/", "http://h/"), "/index.html");
    EXPECT_EQ(app::DefaultSavePath({"/saved/one/site.html", "/x/y.html"}, "/work", "http://h/p.htm"), "/saved/one/p.htm");
    EXPECT_EQ(app::SavePathForUrl("/s/old.html", "http://h/d/"), "/s/index.html");
    EXPECT_EQ(app::SavePathForUrl("old.html", "http://h/d/"), "old.html");
}

TEST(InputRules, UrlSetFromOutsideGetsFolderSlashAndCompletion) {
    constexpr uint32_t off = 0x4000;  // the completion is off
    const struct {
        const char* text;
        uint32_t defMode;
        const char* field;
    } cases[] = {
        {"http://h/dir", off, "http://h/dir/"},
        {"http://h/dir", 0, "http://h/dir/index.html"},
        {"http://h/dir/", 0, "http://h/dir/index.html"},
        {"http://h/page.html#part", off, "http://h/page.html"},
        {"http://h/dir#top", off, "http://h/dir/"},
        {"http://h/a#b/c", off, "http://h/a#b/c/"},  // a "#" before the last "/" stays
        {"http://h/search?q=x", off, "http://h/search?q=x"},
        {"http://www.example.com", off, "http://www.example.com/"},
        {"http://www.youtube.com/watch?v=abc", off, "http://www.youtube.com/watch?v=abc"},
        {"  http://h/p.html \r\nsecond line", off, "http://h/p.html"},
    };
    for (const auto& c : cases) EXPECT_EQ(app::UrlForField(c.text, c.defMode), c.field) << c.text;
}

TEST(InputRules, VideoPagesNeedAnIdentifierOfTwoCharacters) {
    EXPECT_FALSE(app::IsVideoPageUrl("http://www.youtube.com/watch?v=a"));  // 32 characters
    EXPECT_TRUE(app::IsVideoPageUrl("http://www.youtube.com/watch?v=ab"));
    EXPECT_FALSE(app::IsVideoPageUrl("http://jp.youtube.com/watch?v=a"));
    EXPECT_TRUE(app::IsVideoPageUrl("http://jp.youtube.com/watch?v=ab"));
}

TEST(InputRules, KindOfSaveAndFolderLevels) {
    const struct {
        const char* url;
        uint32_t defMode;
        bool complete;
    } kinds[] = {
        {"http://h/a.html", 0, true},     {"http://h/a.htm", 0, true},       {"http://h/", 0, true},
        {"http://h/a.zip", 0, false},     {"http://h/a.php", 0, false},      {"http://h/a.php", 0x80000, true},
        {"http://h/a.cgi", 0x80000, false}, {"http://h/x.shtml", 0x80000, true}, {"http://h/a.html?x=1", 0, false},
    };
    for (const auto& k : kinds) EXPECT_EQ(app::IsCompleteSaveUrl(k.url, k.defMode), k.complete) << k.url;

    EXPECT_EQ(app::UrlFolderLevels("http://h/index.html"), 0);
    EXPECT_EQ(app::UrlFolderLevels("http://h/a/index.html"), 1);
    EXPECT_EQ(app::UrlFolderLevels("https://h/a/b/"), 2);
    EXPECT_EQ(app::UrlFolderLevels("http://h/a.php?u=/x/y/z"), 0);
    EXPECT_EQ(app::UrlFolderLevels("http://h"), 0);
}

TEST(InputRules, CheckReportsTheFirstFaultInOrder) {
    Sandbox box;
    const std::string ok = box / "site.html";
    const struct {
        const char* url;
        const char* limit;
        std::string save;
        int result;
    } cases[] = {
        {"ftp://h/a.html", "0", ok, app::InputBadUrl},
        {"http://h/con/a.html", "9", ok, app::InputReservedName},
        {"http://h/a/index.html", "2", ok, app::InputBadLimit},
        {"http://h/a/index.html", "1", "site.html", app::InputBadSavePath},
        {"http://h/a/index.html", "", box / "dir/", app::InputNoName},
        {"http://h/index.html", "0", box / "a:b.html", app::InputBadName},
        {"http://h/index.html", "0", box / "a\\b.html", app::InputBadName},
        {"https://h/index.html", "0", ok, app::InputOk},
    };
    for (const auto& c : cases) {
        app::InputFields fields{c.url, c.limit, c.save};
        EXPECT_EQ(app::CheckInputFields(fields, [] { return true; }), c.result) << c.url << " " << c.save;
    }
    EXPECT_EQ(app::InputCheckMessage(app::InputBadLimit), "上位階層の指定が不正です。");
    EXPECT_EQ(app::InputCheckMessage(app::InputFolderDeclined), "");
}

TEST(InputRules, CheckEncodesTheUrlAndAsksForAMissingFolder) {
    Sandbox box;
    app::InputFields fields{"http://h/a b/ページ.html", "0", box / "new/deeper/site.html"};
    int asked = 0;
    EXPECT_EQ(app::CheckInputFields(fields, [&] { ++asked; return false; }), app::InputFolderDeclined);
    EXPECT_EQ(fields.url, "http://h/a%20b/%E3%83%9A%E3%83%BC%E3%82%B8.html");
    EXPECT_FALSE(Sandbox::Exists(box / "new"));
    EXPECT_EQ(app::CheckInputFields(fields, [&] { ++asked; return true; }), app::InputOk);
    EXPECT_TRUE(Sandbox::Exists(box / "new/deeper"));
    EXPECT_EQ(asked, 2);

    Sandbox::WriteFile(box / "file", "x");
    app::InputFields blocked{"http://h/i.html", "0", box / "file/sub/site.html"};
    EXPECT_EQ(app::CheckInputFields(blocked, [] { return true; }), app::InputFolderNotCreated);

    // A name the file system cannot hold makes nothing of the chain before it, and says why.
    app::InputFields tooLong{"http://h/i.html", "0", box / "made/" + std::string(300, 'n') + "/site.html"};
    EXPECT_EQ(app::CheckInputFields(tooLong, [] { return true; }), app::InputPathTooLong);
    EXPECT_FALSE(Sandbox::Exists(box / "made"));
    EXPECT_NE(app::InputCheckMessage(app::InputPathTooLong).find("長すぎます"), std::string::npos);
}

TEST(InputRules, OptionBitsFromBoxesAndSettings) {
    // The fresh default: data folder and record on, retry and the title check on.
    const app::InputOptions initial = app::InitialInputOptions(0x11C301);
    EXPECT_TRUE(initial.dataFolder);
    EXPECT_TRUE(initial.updateLog);
    EXPECT_EQ(initial.outDomain, 0);
    EXPECT_EQ(app::InitialInputOptions(0x10).outDomain, 1);
    EXPECT_EQ(app::InitialInputOptions(0x20).outDomain, 2);
    EXPECT_EQ(app::JobOptionBits(initial, 0x11C301), datafolder | qdxfile | RetryOnFailure | NotFoundTitleCheck);

    app::InputOptions all;
    all.forced = all.alias = all.agent = all.traceSelect = true;
    all.outDomain = 2;
    // "Do not retry" and "404 is no failure" in the settings switch the job's bits off.
    EXPECT_EQ(app::JobOptionBits(all, 0x80000 | 0x800000 | 0x1000000),
              neglect | arias | agent | TraceSelect | OutDomainSelect | FollowDynamicPages);
    EXPECT_EQ(app::JobOptionBits(app::InputOptions{}, 0) & ~app::InputOptionMask(), 0u);
}

TEST(InputRules, SiteAdapterBitsFollowTheStartUrl) {
    const struct {
        const char* urlBase;
        uint32_t bits;
    } cases[] = {
        {"HTTPS://Web.Archive.org/web/2005/www.x.com/", WebArchiveSite},
        {"http://someone.blog.fc2.com/", BlogSite},
        {"http://web.archive.org/web/2005/http://ameblo.jp/someone/", WebArchiveSite | BlogSite},
        {"http://someone.fc2.com/web.archive.org/web/", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::SiteAdapterBits(c.urlBase), c.bits) << c.urlBase;
        EXPECT_EQ(c.bits & ~app::InputOptionMask(), 0u) << "the input view clears what it sets";
    }
}

TEST(InputRules, TitlesBecomeSaveNames) {
    const struct {
        const char* title;
        const char* name;
    } cases[] = {
        {"Demo: Page", "Demo_ Page.html"},
        {"  a/b?c  ", "a_b_c.html"},
        {"Tom &amp; Jerry", "Tom & Jerry.html"},
        {"<b>", "_b_.html"},
        {"　日本語のページ　", "日本語のページ.html"},
        {"...", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(app::NameFromTitle(c.title), c.name) << c.title;
    const std::string longTitle(300, 'x');
    EXPECT_EQ(app::NameFromTitle(longTitle).size(), 205u);
    std::string wide;
    for (int i = 0; i < 100; ++i) wide += "あ";  // 3 bytes each: the cut keeps whole characters
    EXPECT_EQ(app::NameFromTitle(wide), std::string(wide, 0, 198) + ".html");

    std::string sjis;
    ASSERT_EQ(platform::Utf8ToCp932("日本語", sjis), platform::CodepageOk);
    EXPECT_EQ(app::TitleAsUtf8(sjis), "日本語");
    EXPECT_EQ(app::TitleAsUtf8("日本語"), "日本語");
}

TEST(InputRules, RefererRestartAndShortcutTexts) {
    EXPECT_EQ(app::TitleReferer("http://h/a/b.html"), "http://h/a/");
    EXPECT_EQ(app::TitleReferer("http://h/a/"), "http://h/");
    EXPECT_EQ(app::TitleReferer("http://host"), "http://host");
    EXPECT_EQ(app::TitleReferer("https://host/"), "https://host/");

    EXPECT_EQ(app::RestartArgument("http://h/i.html", "/s/i.html"), "PresetUrl,\"http://h/i.html\",\"/s/i.html\"");
    EXPECT_EQ(app::RestartArgument("https://h/", "/s/i.html"), "PresetUrl,\"https://h/\",\"/s/i.html\"");
    EXPECT_EQ(app::RestartArgument("http://", "/s/i.html"), "");
    EXPECT_EQ(app::RestartArgument("ftp://h/i.html", "/s/i.html"), "");
    EXPECT_EQ(app::RestartArgument("http://h/i.html", ""), "");

    EXPECT_EQ(app::ShortcutUrl("[InternetShortcut]\r\nURL=http://h/p.html\r\nIconIndex=0\r\n"), "http://h/p.html");
    EXPECT_EQ(app::ShortcutUrl("[InternetShortcut]\nurl=http://h/x\n"), "http://h/x");
    EXPECT_EQ(app::ShortcutUrl("no link here"), "");
}

TEST(InputRules, FileUrlsAreClassifiedForTheAnalysisRefusal) {
    const struct {
        const char* url;
        const char* kind;
    } cases[] = {
        {"http://h/a.swf", "フラッシュファイル"}, {"http://h/a.MP3", "音ファイル"}, {"http://h/a.wmv", "動画ファイル"},
        {"http://h/p.jpeg", "画像ファイル"},      {"http://h/x.cgi?a", "Cgiファイル"}, {"http://h/x.php", "Php/ASP.NETファイル"},
        {"http://h/a.zip", "不明"},               {"ftp://h/a.jpg", "不明"},
    };
    for (const auto& c : cases) {
        std::string kind, message;
        app::ClassifyFileUrl(c.url, kind, message);
        EXPECT_EQ(kind, c.kind) << c.url;
        EXPECT_FALSE(message.empty());
    }
}

TEST(DropFiles, ReportListsDeletedRecordsThenErrors) {
    app::QdxDropResult result;
    EXPECT_EQ(app::QdxDropReport(result), "");
    result.errors = {"/b.qdx\r\nQdx-Error:1\r\nX\r\n"};
    EXPECT_EQ(app::QdxDropReport(result), "\r\n次のエラーが発生しました。\r\n/b.qdx\r\nQdx-Error:1\r\nX\r\n");
    result.deleted = {"/a.qdx", "/c.qdx"};
    EXPECT_EQ(app::QdxDropReport(result),
              "以下のQdxファイルは実体が存在しなかったので、削除しました。\r\n\r\n/a.qdx\r\n/c.qdx\r\n"
              "\r\nまた、次のエラーが発生しました。\r\n/b.qdx\r\nQdx-Error:1\r\nX\r\n");
    result.errors.clear();
    EXPECT_EQ(app::QdxDropReport(result),
              "以下のQdxファイルは実体が存在しなかったので、削除しました。\r\n\r\n/a.qdx\r\n/c.qdx\r\n");
}
