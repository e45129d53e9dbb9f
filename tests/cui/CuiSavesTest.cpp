// Two real saves from parameter files: SitrovaCui starts the built Sitrova, which opens its
// windows (offscreen) for the single-file save.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "tests/cui/CuiRun.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using namespace cuitest;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

TEST(CuiSaves, TwoParameterFilesSaveTwoSitesOneAfterTheOther) {
    Sandbox site1, site2, out;
    Sandbox::WriteFile(site1 / "index.html", "<html><body><a href=\"p.html\">p</a></body></html>");
    Sandbox::WriteFile(site1 / "p.html", "<html><body>one</body></html>");
    Sandbox::WriteFile(site2 / "index.html", "<html><body>two</body></html>");
    LoopbackServer server1(site1.Path()), server2(site2.Path());
    ASSERT_TRUE(server1.Running() && server2.Running());
    const std::string cui = std::string(SITROVA_BIN_DIR) + "/SitrovaCui";
    EXPECT_EQ(RunTool(cui, {"/template", "a.xml", "/template", "b.xml"}, out.Path()), "");
    EXPECT_EQ(RunTool(cui, {"/template", "b.xml"}, out.Path()), "");
    for (auto [file, url, save] : {std::tuple{"a.xml", server1.BaseUrl() + "/", out / "one/site.html"},
                                   std::tuple{"b.xml", server2.BaseUrl() + "/index.html", out / "two/site.html"}}) {
        std::string text;
        ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(out / file), text), platform::CodepageOk);
        text.replace(text.find("■ここにURLを記述します。"), std::string("■ここにURLを記述します。").size(), url);
        text.replace(text.find("■ここに保存先のフルパスを記述します。"),
                     std::string("■ここに保存先のフルパスを記述します。").size(), save);
        Sandbox::WriteFile(out / file, Sjis(text));
        ASSERT_TRUE(platform::CreateFolder(platform::FolderOf(save)));
    }
    EXPECT_EQ(RunTool(cui, {"/some", "a.xml", "/some", "b.xml"}, out.Path()), "\nFinish!\n\n\nFinish!\n\n");
    EXPECT_NE(Sandbox::ReadFile(out / "one/site.files/p.html").find("one"), std::string::npos);
    EXPECT_TRUE(Sandbox::Exists(out / "one/site.qdx"));
    EXPECT_NE(Sandbox::ReadFile(out / "two/site.files/index.html").find("two"), std::string::npos);

    // A file without workmode asks for a single-file save; Sitrova answers and ends by itself.
    Sandbox::WriteFile(out / "c.xml", ParamFile(server2.BaseUrl() + "/x.jpg", out / "c.jpg", "", kEnvironment));
    EXPECT_EQ(RunTool(cui, {"/some", "c.xml"}, out.Path()), "\nFinish!\n\n");
}
