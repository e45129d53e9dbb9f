// The title service against the loopback server: what each caller's request sends, how much
// of the page it reads, the decoded title, and a stop while the server keeps silent.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/Codepage.h"
#include "records/PageTitleFetch.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;

TEST(PageTitleFetch, TheHeadIsReadWithTheCallersHeadersUpToItsLimitAndItsTitleDecoded) {
    Sandbox site;
    std::string sjis;
    ASSERT_EQ(platform::Utf8ToCp932("<html><head><title>日本語の題</title></head>" + std::string(5000, 'x'), sjis),
              platform::CodepageOk);
    Sandbox::WriteFile(site / "sjis.html", sjis);
    LoopbackServer server(site.Path(), R"({"/echo": {"echo_headers": true}, "/silent.html": {"delay": 120}})");
    ASSERT_TRUE(server.Running());

    records::TitleHeadRequest request;
    request.url = server.BaseUrl() + "/echo";
    request.agent = "TitleAgent/1";
    request.extraHeaders = "Referer: " + records::TitleReferer(server.BaseUrl() + "/a/b.html");
    std::string head;
    ASSERT_EQ(records::FetchPageHead(request, {}, head), 1);
    EXPECT_NE(head.find("User-Agent: TitleAgent/1"), std::string::npos) << head;
    EXPECT_NE(head.find("Referer: " + server.BaseUrl() + "/a/"), std::string::npos) << head;

    request = {};
    request.url = server.BaseUrl() + "/sjis.html";
    request.bytes = 100;
    head.clear();
    ASSERT_EQ(records::FetchPageHead(request, {}, head), 1);
    EXPECT_LE(head.size(), 100u);
    EXPECT_EQ(records::FetchPageTitle(server.BaseUrl() + "/sjis.html", {}), "日本語の題");

    const auto began = std::chrono::steady_clock::now();
    request.url = server.BaseUrl() + "/silent.html";
    head.clear();
    EXPECT_EQ(records::FetchPageHead(request, [&] { return std::chrono::steady_clock::now() - began > std::chrono::milliseconds(300); },
                                     head),
              0);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(3));
}
