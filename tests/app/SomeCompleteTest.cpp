// The Sitrova program itself, started the way the scheduler starts it, without a display.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/Codepage.h"
#include "platform/Process.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

int RunSitrova(const std::string& argument, int limitSeconds = 60) {
    int code = -1;
    const std::string program = std::string(SITROVA_BIN_DIR) + "/Sitrova";
    // `timeout` keeps a hanging program from hanging the test.
    if (platform::StartProcess("timeout", {std::to_string(limitSeconds), program, argument}, true, &code) !=
        platform::ProcessStarted)
        return -1;
    return code;
}

}  // namespace

TEST(SomeComplete, UnattendedSaveWritesPageAndDescriptionAndEnds) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "index.html", "<html><head><title>demo</title></head><body>hello</body></html>");
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");  // the program must choose the offscreen platform itself

    const auto before = std::chrono::steady_clock::now();
    const std::string arg = "SomeComplete,\"" + server.BaseUrl() + "/index.html\",\"" + out.Path() +
                            "site.html\",\"1\",\"0\",\"4\"";
    EXPECT_EQ(RunSitrova(arg), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(60));  // ends by itself; room for a sanitizer build

    EXPECT_EQ(Sandbox::ReadFile(out / "site.html"), "<html><head><title>demo</title></head><body>hello</body></html>");
    std::string description;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(out / "site-Description.log"), description), platform::CodepageOk);
    EXPECT_EQ(description.rfind("【コンプリートするURL】\r\n" + server.BaseUrl() + "/index.html\r\n", 0), 0u) << description;
    EXPECT_NE(description.find("-------------------------------------------------------------------\r\n【site.html】\r\n\r\n"
                               "のコンプリート保存を終了しました。\r\n\r\n\r\n"),
              std::string::npos)
        << description;
}

TEST(SomeComplete, FailedStartPageStillEndsWithCodeZero) {
    Sandbox site, out;
    LoopbackServer server(site.Path(), "{\"/index.html\": {\"status\": 500}}");
    const std::string arg =
        "SomeComplete,\"" + server.BaseUrl() + "/index.html\",\"" + out.Path() + "site.html\",\"1\",\"0\",\"4\"";
    EXPECT_EQ(RunSitrova(arg), 0);
    const std::string page = Sandbox::ReadFile(out / "site.html");
    EXPECT_EQ(page.rfind("<html><head><title>Failed Download</title></head><body>", 0), 0u);
    std::string description;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(out / "site-Description.log"), description), platform::CodepageOk);
    EXPECT_NE(description.find("しかし、ダウンロードに失敗したファイルが存在します。"), std::string::npos);
}

TEST(SomeComplete, UnreadableRecordFileEndsQuietlyWithCodeZero) {
    Sandbox box;
    EXPECT_EQ(RunSitrova(box / "none.qdx", 30), 0);
}
