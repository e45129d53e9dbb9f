#include <gtest/gtest.h>

#include "app/PageAnalysis.h"
#include "app/PageMeasure.h"
#include "engine/LinkKind.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

namespace {

using namespace app;
using testsupport::Sandbox;

PageAnalysis WithLinks(std::vector<AnalysedLink> links) {
    PageAnalysis page;
    page.url = "http://a.example/dir/index.html";
    for (AnalysedLink& l : links) page.links.push_back(std::move(l));
    SummariseLinks(page);
    return page;
}

TEST(PageAnalysis, MainPictureOnlyWhenClearlyLargerThanTheOneBefore) {
    struct Case {
        uint32_t first, second;
        size_t main;  // 0: none
    } cases[] = {{59, 100, 2}, {61, 100, 0}, {100, 61, 1}, {0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + "/" + std::to_string(c.second));
        const PageAnalysis page =
            WithLinks({{"http://a.example/dir/p1.png", KindPicture, 1, c.first, ""},
                       {"http://a.example/dir/p2.png", KindPicture, 1, c.second, ""}});
        const std::string report = Report(page, true, false);
        if (c.main == 0) {
            EXPECT_EQ(report.find("■メインと思われる画像。"), std::string::npos);
        } else {
            EXPECT_EQ(report, "■メインと思われる画像。\r\nhttp://a.example/dir/p" + std::to_string(c.main) + ".png\r\n");
        }
    }
}

TEST(PageAnalysis, ManyLinksIntoOneOtherSiteFromTwentyFive) {
    for (int count : {24, 25}) {
        std::vector<AnalysedLink> links;
        for (int i = 0; i < count; ++i)
            links.push_back({"http://b.example/f/p" + std::to_string(i) + ".html", engine::OutDomainPage, 0, 0, ""});
        const PageAnalysis page = WithLinks(links);
        EXPECT_EQ(HasManyOutLinks(page), count == 25) << count;
        EXPECT_EQ(AdviceText(page).find("◇外部パス オプションの『選択』を推奨。"), count == 25 ? 0u : std::string::npos);
    }
}

TEST(PageAnalysis, FramesFoldTheirNeedsIntoThePage) {
    PageAnalysis page = WithLinks({});
    page.isFramePage = true;
    auto frame = std::make_unique<PageAnalysis>(WithLinks({{"/top.html", engine::LinkPage, -3, 1, ""}}));
    page.links.push_back({"http://a.example/dir/f.html", engine::LinkPage, 1, 0, ""});
    page.frames.push_back(std::move(frame));
    SummariseLinks(page);
    EXPECT_TRUE(page.needsAlias);
    EXPECT_EQ(page.maxUpper, 3);
    EXPECT_EQ(RecommendedUpperLimit(page), 3);
    EXPECT_NE(Report(page, true, true).find("○フレームページです。\r\n【http://a.example/dir/index.html】の詳細\r\n"
                                            "　－　[ページタイトル不明]\r\n■最大上位階層：3\r\n▽上位階層へのリンクとなるのは以下のページです。\r\n"
                                            "/top.html　－　[ページタイトル不明]\r\n"),
              std::string::npos);
}

TEST(PageAnalysis, BlogServiceGetsUpperLimitZeroOnEitherScheme) {
    for (const char* url : {"http://ameblo.jp/someone/", "https://ameblo.jp/someone/entry-1.html",
                            "HTTPS://AMEBLO.JP/someone/", "https://a.example/ameblo.jp/"}) {
        PageAnalysis page = WithLinks({{"http://a.example/top.html", engine::LinkPage, -2, 0, ""}});
        page.url = url;
        const bool limited = std::string(url).find("a.example") == std::string::npos;
        EXPECT_EQ(RecommendedUpperLimit(page), limited ? 0 : 2) << url;
        EXPECT_EQ(UpperLimitAdvice(page).rfind("目的範囲の保存のための", 0) == 0, limited) << url;
    }
}

std::string Png(uint32_t side) {
    std::string b("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (int k = 0; k < 2; ++k)
        for (int shift = 24; shift >= 0; shift -= 8) b += static_cast<char>((side >> shift) & 0xFF);
    return b + std::string(16, '\0');
}

TEST(PageAnalysis, LoopbackPageReportsUpperLinksMainPictureAndManyLinks) {
    Sandbox site, other;
    std::string links;
    for (int i = 0; i < 25; ++i) links += "<a href=\"@B@/f/p" + std::to_string(i) + ".html\">x</a>";
    Sandbox::WriteFile(site / "a/b/index.html", "<html><body><a href=\"../../top.html\">up</a><img src=\"small.png\">"
                                                "<img src=\"big.png\">" + links + "</body></html>");
    Sandbox::WriteFile(site / "top.html", "<html><head><title>最上位</title></head></html>");
    Sandbox::WriteFile(site / "a/b/small.png", Png(59));
    Sandbox::WriteFile(site / "a/b/big.png", Png(100));
    testsupport::LoopbackServer otherHost(other.Path(), "", "127.0.0.2");
    testsupport::LoopbackServer server(site.Path(), "", "127.0.0.1", {"B=" + otherHost.BaseUrl()});
    ASSERT_TRUE(server.Running() && otherHost.Running());

    PageAnalysis page;
    AnalysePage(server.BaseUrl() + "/a/b/index.html", page, {});
    EXPECT_EQ(page.agentStatus, FetchedPlain);
    EXPECT_EQ(page.maxUpper, 2);
    const std::string report = Report(page, true, true);
    EXPECT_NE(report.find("■最大上位階層：2\r\n▽上位階層へのリンクとなるのは以下のページです。\r\n" + server.BaseUrl() +
                          "/top.html　－　[最上位]\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("■メインと思われる画像。\r\n" + server.BaseUrl() + "/a/b/big.png\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("■外部ドメイン。\r\n以下の外部ドメインへのリンクが多数(25個)。\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.rfind("◇外部パス オプションの『選択』を推奨。\r\n\r\n", 0), 0u) << report;
    EXPECT_EQ(UpperLimitAdvice(page), "サイトの全てを保存するには、上位階層の上限値に 2 を指定してください。\r\n");
}

TEST(PageAnalysis, LoopbackFramePageNamesEachFrameByItsTitle) {
    Sandbox site;
    Sandbox::WriteFile(site / "index.html",
                       "<html><frameset><frame src=\"menu.html\"><frame src=\"body.html\"></frameset></html>");
    Sandbox::WriteFile(site / "menu.html", "<html><head><title>目次</title></head></html>");
    // A picture missing on the server is no sign that the site wants the agent string.
    Sandbox::WriteFile(site / "body.html", "<html><body><img src=\"gone.png\"></body></html>");
    testsupport::LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());

    PageAnalysis page;
    AnalysePage(server.BaseUrl() + "/index.html", page, {});
    EXPECT_EQ(page.agentStatus, FetchedPlain);
    const std::string frames = "○フレームページです。\r\n【" + server.BaseUrl() + "/menu.html】の詳細\r\n　－　[目次]\r\n"
                               "特記事項無し。\r\n【" + server.BaseUrl() + "/body.html】の詳細\r\n"
                               "　－　[ページタイトル不明]\r\n特記事項無し。\r\n";
    EXPECT_EQ(Report(page, true, true), frames);
    EXPECT_EQ(Report(page, true, false).find("　－　"), std::string::npos);  // the panel names no titles
}

}  // namespace
