#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/OutDomainDocument.h"
#include "engine/OutDomainList.h"
#include "engine/SaveJob.h"
#include "platform/Codepage.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

TEST(OutDomainDocument, CharactersShiftJisCannotHoldBecomeReferences) {
    struct Case {
        std::string utf8, expectedUtf8;
    } cases[] = {
        {"abc", "abc"},
        {"題名😀と", "題名&#x1F600;と"},
        {"é😀", "&#xE9;&#x1F600;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string back;
        ASSERT_EQ(platform::Cp932ToUtf8(engine::MarkupToCp932(c.utf8), back), platform::CodepageOk);
        EXPECT_EQ(back, c.expectedUtf8);
    }
}

TEST(OutDomainDocument, FailedPageIsListedWithoutLink) {
    engine::OutDomainItem failed;
    failed.url = "http://b.example/a?x=1&y=\"2\"";
    failed.sources = {"a.html", "d/b.html", "c.html"};
    const std::string text = engine::OutDomainDocumentText({failed});
    EXPECT_NE(text.find("<qdotlk:saved>Not Fonud.&#xA0;"), std::string::npos);
    EXPECT_NE(text.find("http://b.example/a?x=1&amp;y=&quot;2&quot;"), std::string::npos);
    EXPECT_NE(text.find("<qdotlk:source type=\"3\">\r\n<span title=\"../a.html\" />\r\n<span title=\"../d/b.html\" />"),
              std::string::npos);
}

TEST(OutDomainPage, APageWhosePictureLinksCannotBeWrittenIsNotCountedAsSaved) {
    platform::HttpGlobalInit();
    Sandbox site, out;
    Sandbox::WriteFile(site / "page.html", "<html><body><img src=\"pic.jpg\"></body></html>");
    Sandbox::WriteFile(site / "pic.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(200, 'j'));
    // The picture comes late, so that the page is in place before its rewrite.
    LoopbackServer server(site.Path(), R"({"/pic.jpg": {"delay": 0.5}})");
    ASSERT_TRUE(server.Running());
    const std::string url = server.BaseUrl() + "/page.html";

    engine::SaveJob saved;
    EXPECT_EQ(engine::SaveOutDomainPage(saved, url, out / "a.html"), 1);
    EXPECT_NE(Sandbox::ReadFile(out / "a.html").find("\"a.files/pic.jpg\""), std::string::npos);

    // Once the page is fetched, a folder takes the name of its rewrite's temporary file.
    const std::string page = out / "b.html";
    std::jthread blocker([page] {
        for (int i = 0; i < 500 && !Sandbox::Exists(page); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Sandbox::WriteFile(page + "Temp/in-the-way", "");
    });
    engine::SaveJob blocked;
    EXPECT_EQ(engine::SaveOutDomainPage(blocked, url, page), 0);
    const std::vector<std::string> log = blocked.DetailedLog();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.find("b.htmlを書き込めませんでした") != std::string::npos;
    })) << ::testing::PrintToString(log);
}

}  // namespace
