// The save's side of the page renderer, against a stand-in program that speaks its messages:
// answers that come out of order reach the page they belong to, and a program that ends
// leaves no one waiting.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "engine/PageRenderer.h"
#include "tests/support/Sandbox.h"

using namespace engine;
using testsupport::Sandbox;

namespace {

// Holds the pages it is given in twos and answers each pair last first; ends after `pages`.
const char* kStandIn = R"PY(#!/usr/bin/env python3
import sys
inp, out = sys.stdin.buffer, sys.stdout.buffer
def send(fields):
    for name, value in fields.items():
        out.write(b"%s %d\n%s\n" % (name.encode(), len(value), value))
    out.write(b"end 0\n\n")
    out.flush()
def take():
    fields = {}
    while True:
        line = inp.readline()
        if not line:
            return None
        name, length = line.split(b" ")
        value = inp.read(int(length))
        inp.read(1)
        if name == b"end":
            return fields
        fields[name.decode()] = value
send({"status": b"ready"})
held, left = [], int(sys.argv[-1].split("=")[1])
while left > 0:
    page = take()
    if page is None:
        break
    held.append(page)
    left -= 1
    if len(held) == 2 or left == 0:
        for page in reversed(held):
            send({"id": page["id"], "status": b"ok", "dom": b"<p>" + page["url"] + b"</p>",
                  "requested": b"http://h/a.png\nhttp://h/b.css\n", "cut": page["url"][-1:] == b"!" and b"1" or b"0"})
        held = []
)PY";

class PageRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sandbox::WriteFile(program, kStandIn);
        ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
    }
    RenderSettings Settings(int pagesBeforeEnd) const {
        RenderSettings settings;
        settings.program = program;
        settings.agent = "agent";
        settings.pages = pagesBeforeEnd;  // the stand-in takes its last argument for this
        return settings;
    }
    static RenderRequest Page(const std::string& url) {
        RenderRequest request;
        request.url = url;
        request.html = "<p>fetched</p>";
        return request;
    }

    Sandbox bin;
    const std::string program = bin / "renderer";
};

}  // namespace

TEST_F(PageRendererTest, AnswersThatComeOutOfOrderReachTheirPages) {
    PageRenderer renderer;
    std::string why;
    ASSERT_EQ(renderer.Start(Settings(4), &why), PageRendered) << why;
    const uint64_t first = renderer.Submit(Page("http://h/1"));
    const uint64_t second = renderer.Submit(Page("http://h/2!"));
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, first);
    RenderResult result;
    ASSERT_EQ(renderer.Collect(first, 10000, result, &why), PageRendered) << why;
    EXPECT_EQ(result.dom, "<p>http://h/1</p>");
    EXPECT_EQ(result.requested, (std::vector<std::string>{"http://h/a.png", "http://h/b.css"}));
    EXPECT_FALSE(result.cut);
    ASSERT_EQ(renderer.Collect(second, 10000, result, &why), PageRendered) << why;
    EXPECT_EQ(result.dom, "<p>http://h/2!</p>");
    EXPECT_TRUE(result.cut);

    // A page no longer wanted does not hold a place; its answer is dropped when it comes.
    const uint64_t dropped = renderer.Submit(Page("http://h/3"));
    renderer.Forget(dropped);
    ASSERT_EQ(renderer.Render(Page("http://h/4"), result, &why), PageRendered) << why;
    EXPECT_EQ(result.dom, "<p>http://h/4</p>");
    EXPECT_EQ(renderer.Collect(dropped, 10000, result, &why), PageNotAnswered);
}

TEST_F(PageRendererTest, AProgramThatEndsLeavesNoOneWaitingAndAFreshOneTakesOver) {
    PageRenderer renderer;
    std::string why;
    ASSERT_EQ(renderer.Start(Settings(1), &why), PageRendered) << why;
    RenderResult result;
    ASSERT_EQ(renderer.Render(Page("http://h/1"), result, &why), PageRendered) << why;
    // The stand-in has ended: what was handed over gets no answer, without waiting out the
    // page's bound, and the next page goes to a fresh program.
    const uint64_t lost = renderer.Submit(Page("http://h/2"));
    EXPECT_EQ(renderer.Collect(lost, 600000, result, &why), PageNotAnswered);
    ASSERT_EQ(renderer.Render(Page("http://h/3"), result, &why), PageRendered) << why;
    EXPECT_EQ(result.dom, "<p>http://h/3</p>");

    RenderSettings missing = Settings(1);
    missing.program = bin / "none";
    EXPECT_EQ(renderer.Start(missing, &why), PageNotRendered);
    EXPECT_NE(why.find("ページを描画するプログラムがありません"), std::string::npos) << why;
    EXPECT_FALSE(renderer.Running());
}
