#include "engine/BlogPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "rerevu/PageTitles.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

TEST(BlogSkins, SkinsAndTheirPicturesAreCopiedBesideThePage) {
    Sandbox site, saved;
    Sandbox::WriteFile(site / "p_skin/blue/skin.css",
                       "body{background:url(img/bg.png)} h1{background:url( \"/p_skin/blue/img/h.gif\" )}"
                       " i{background:url(../../../etc/x.png)}");
    Sandbox::WriteFile(site / "p_skin/blue/img/bg.png", "PNG");
    Sandbox::WriteFile(site / "p_skin/blue/img/h.gif", "GIF");
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    const std::string prefix = "127.0.0.1:" + std::to_string(server.Port()) + "/p_skin/";

    std::string page = "<link href=\"" + server.BaseUrl() + "/p_skin/blue/skin.css\" rel=stylesheet>"
                       "<link href=\"http://" + prefix + "../../x.css\"><link href=\"http://" + prefix + "open.css";
    const std::string before = page;
    EXPECT_TRUE(engine::LocaliseSkins(page, saved.Path(), prefix));
    // Only the safe link changes; a path leaving the folder and an unclosed value stay as written.
    EXPECT_EQ(page, "<link href=\"AmebCss/blue/skin.css\" rel=stylesheet>" + before.substr(before.find("<link", 5)));
    EXPECT_EQ(Sandbox::ReadFile(saved / "AmebCss/blue/skin.css"),
              "body{background:url(bg.png)} h1{background:url(h.gif)} i{background:url(x.png)}");
    EXPECT_EQ(Sandbox::ReadFile(saved / "AmebCss/blue/bg.png"), "PNG");
    EXPECT_EQ(Sandbox::ReadFile(saved / "AmebCss/blue/h.gif"), "GIF");
    EXPECT_FALSE(Sandbox::Exists(saved / "AmebCss/blue/x.png"));  // not on the server: link rewritten anyway
    // Nothing is left under a temporary name.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(saved / "AmebCss/blue")) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"bg.png", "h.gif", "skin.css"}));
}

TEST(PageTitleRules, MangaTitlesAndCuts) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"NARUTO", "Naruto"}, {"12ABC", "12Abc"}, {"one PIECE", "OnePiece"}, {"1/2ab cd", "1/2AbCd"},
        {"TITLE (2005)", "Title"}, {"A(b)", "A(b)"}, {"BLEACH(/x)", "Bleach"}, {"漫画 TEST", "漫画Test"},
    };
    for (const auto& c : cases) EXPECT_EQ(rerevu::NormaliseMangakanTitle(c.in), c.out) << c.in;
    EXPECT_EQ(rerevu::CutUtf8("aお", 3), "a");
    EXPECT_EQ(rerevu::TitleRefererOf("http://h/a/"), "http://h/");
    EXPECT_EQ(rerevu::TitleRefererOf("http://h/a/b.html"), "http://h/a/");
}

}  // namespace
