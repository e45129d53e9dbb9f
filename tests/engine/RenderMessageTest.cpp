// The messages between a save and its renderer, and the links a rendered page gains.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/PageRenderer.h"
#include "engine/RenderMessage.h"

using namespace engine;

TEST(RenderMessage, AnyBytesComeThroughWholeAndMessagesArriveInPieces) {
    const RenderFields sent{{"html", std::string("line\nend 0\n\n\0bytes", 19)}, {"url", "http://a/"}, {"empty", ""}};
    const std::string wire = EncodeRenderMessage(sent) + EncodeRenderMessage({{"status", "ok"}});
    std::string buffer;
    RenderFields got;
    // Byte by byte, nothing is taken until the first message is whole.
    size_t at = 0;
    for (; at < wire.size(); ++at) {
        buffer += wire[at];
        const int taken = TakeRenderMessage(buffer, got);
        ASSERT_NE(taken, RenderMessageBroken) << at;
        if (taken == RenderMessageComplete) break;
    }
    EXPECT_EQ(got, sent);
    EXPECT_TRUE(buffer.empty());
    buffer = wire.substr(at + 1);
    ASSERT_EQ(TakeRenderMessage(buffer, got), RenderMessageComplete);
    EXPECT_EQ(got, (RenderFields{{"status", "ok"}}));
}

TEST(RenderMessage, BytesThatAreNoMessageAreRefused) {
    RenderFields got;
    const std::vector<std::string> broken{"html x\n", "html 3\nabcX", " 3\nabc\n", "html 99999999999999999999\n",
                                          std::string(400, 'a')};
    for (std::string bad : broken) {
        EXPECT_EQ(TakeRenderMessage(bad, got), RenderMessageBroken) << bad;
    }
}

TEST(RenderMessage, WhatThePageAskedForIsAddedToItsHeadOnce) {
    std::string dom = "<html><HEAD><title>t</title></HEAD><body><img src=\"http://h/a.png\"></body></html>";
    AddRequestedLinks(dom, {"http://h/a.png", "http://h/data.json", "http://h/q?a=1&b=\"2\""});
    EXPECT_EQ(dom,
              "<html><HEAD><title>t</title><link rel=\"preload\" href=\"http://h/data.json\">\n"
              "<link rel=\"preload\" href=\"http://h/q?a=1&amp;b=&quot;2&quot;\">\n"
              "</HEAD><body><img src=\"http://h/a.png\"></body></html>");
}
