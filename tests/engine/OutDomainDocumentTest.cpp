#include <gtest/gtest.h>

#include "engine/OutDomainDocument.h"
#include "platform/Codepage.h"

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

}  // namespace
