// The XML document: parse, path queries, edits and the written text, byte for byte.
#include <gtest/gtest.h>

#include "platform/Codepage.h"
#include "tests/support/Sandbox.h"
#include "xml/XmlDocument.h"

using testsupport::Sandbox;

namespace {

const std::string kData = std::string(SITROVA_TEST_DATA) + "/xml/";

std::string TextOf(const xml::Document& doc, const std::string& path) {
    const xml::Node* n = doc.Select(path);
    if (!n) return "<null>";
    const xml::Node* t = n->Kind() == xml::NodeAttribute ? n->FirstChild() : n->TextChild();
    return t ? t->String() : "<no text>";
}

}  // namespace

TEST(XmlDocument, HandWrittenFileRoundTripsToTheGoldenTextAndStaysStable) {
    Sandbox box;
    xml::Document doc;
    std::string error;
    ASSERT_EQ(doc.LoadFile(kData + "catalogue-input.xml", &error), 1) << error;
    ASSERT_EQ(doc.SaveFile(box / "out.xml", &error), 1) << error;
    const std::string written = Sandbox::ReadFile(box / "out.xml");
    EXPECT_EQ(written, Sandbox::ReadFile(kData + "catalogue-golden.xml"));

    xml::Document again;
    ASSERT_EQ(again.LoadFile(box / "out.xml"), 1);
    ASSERT_EQ(again.SaveFile(box / "again.xml"), 1);
    EXPECT_EQ(Sandbox::ReadFile(box / "again.xml"), written);
}

TEST(XmlDocument, ParsedTextsAndShapes) {
    xml::Document doc;
    ASSERT_TRUE(doc.Parse("<?xml version=\"1.0\"?><!-- x --><a><b>\r\n  one &amp; two\r\n</b><c/><c /><c   />"
                          "<d>kept<e/>dropped</d><f>&#65;&#x3042;&#0;&#xD800;&unknown;</f>"
                          "<g> <![CDATA[ <b>&amp; ]]>&amp;<!-- x --> </g></a>"));
    const xml::Node* a = doc.Select("/a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(TextOf(doc, "/a/b"), "one & two");
    EXPECT_EQ(TextOf(doc, "/a/d"), "<no text>");  // text beside child elements is not kept
    EXPECT_EQ(TextOf(doc, "/a/f"), "Aあ&#0;&#xD800;&unknown;");  // references to characters text cannot hold stay
    EXPECT_EQ(TextOf(doc, "/a/g"), "<b>&amp; &");
    int empties = 0;
    for (const xml::Node* c = a->FirstChild(); c; c = c->NextSibling())
        if (c->String() == "c") empties += c->FirstChild() == nullptr;
    EXPECT_EQ(empties, 3);
    EXPECT_EQ(doc.Select("getNodeSt()"), a);
}

TEST(XmlDocument, MalformedTextFailsWithoutATree) {
    const char* cases[] = {
        "<a><b></a>",          // end tag names another element
        "<a><b>",              // never closed
        "</a>",                // nothing open
        "<a><!-- never ends",  // unterminated comment
        "<a><? never ends",    // unterminated instruction
        "<a><!DOCTYPE",        // unterminated declaration
        "<a x=\"1></a>",       // unterminated value
        "<a x=1></a>",         // value without quotes
        "<a",                  // cut inside a tag
        "<a></",               // cut inside an end tag
        "<a><![CDATA[x</a>",   // unterminated CDATA
        "",                    // no element at all
        "<></>",               // element without a name
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        xml::Document doc;
        EXPECT_FALSE(doc.Parse(text));
        EXPECT_EQ(doc.Top(), nullptr);
    }
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    xml::Document doc;
    std::string error;
    EXPECT_FALSE(doc.Parse(deep, &error));
    EXPECT_EQ(error, "要素の入れ子が深すぎます。");
}

TEST(XmlDocument, PathFormsPredicatesAndBackTracking) {
    xml::Document doc;
    ASSERT_TRUE(doc.Parse("<r id=\"top\"><g><x>1</x><y>first</y></g><g><x>2</x><z>deep</z></g>"
                          "<g><x>it's/3</x><z>third</z></g><w><v>sib</v></w></r>"));
    struct Case {
        const char* path;
        const char* text;
    } cases[] = {
        {"/r/g/x", "1"},
        {"/r/g/z", "deep"},               // found under the second g by going back
        {"/r/g[3]/z", "third"},
        {"/r/g[0]/x", "1"},
        {"/r/g[2]/y", "<null>"},          // an index does not go on to later matches
        {"/r/g/x[text()='2']", "2"},
        {"/r/g/x[text()='it&apos;s/3']", "it's/3"},
        {"/r/g[text()='x']", "<null>"},
        {"/r/@id", "top"},
        {"/r/@id[text()='top']", "top"},
        {"/r/id", "<null>"},              // an attribute is no element
        {"/q/g", "<null>"},               // the first step must match the top
        {"r/g", "<null>"},
        {"./g/x", "1"},
        {"../r/w/v", "sib"},
        {"../", "<current>"},
        {"/r/g[x", "<null>"},
        {"/r/g[-1]", "<null>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        if (std::string(c.text) == "<current>") {
            EXPECT_EQ(doc.Select(c.path), doc.Current());
            continue;
        }
        EXPECT_EQ(TextOf(doc, c.path), c.text);
    }
    doc.SetCurrent(doc.Select("/r/w"));
    EXPECT_EQ(TextOf(doc, "./v"), "sib");
    EXPECT_EQ(TextOf(doc, "/r/g[2]/x"), "2");  // absolute paths climb to the top from anywhere
}

TEST(XmlDocument, EditsAndEscapedOutput) {
    xml::Document doc;
    ASSERT_TRUE(doc.Parse("<doc a=\"v\"><url>old</url><gone><x>1</x></gone><list /></doc>"));
    xml::Node* url = doc.Select("/doc/url");
    EXPECT_EQ(doc.SetText(url, "element"), nullptr);  // only a text node takes text
    const std::string* set = doc.SetText(url->FirstChild(), "<&>\"'x");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(*set, "<&>\"'x");
    doc.Remove(doc.Select("/doc/gone"));
    EXPECT_EQ(doc.Select("/doc/gone/x"), nullptr);

    xml::Node* entry = doc.CreateElement("entry");
    ASSERT_NE(doc.AppendChild(entry, doc.CreateText("見出し")), nullptr);
    xml::Node* list = doc.Select("/doc/list");
    ASSERT_NE(doc.AppendChild(list, entry), nullptr);
    ASSERT_NE(doc.AppendChild(list, entry), nullptr);
    EXPECT_EQ(doc.ToText(),
              "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
              "<doc a=\"v\">\r\n"
              "  <url>&lt;&amp;&gt;&quot;&apos;x</url>\r\n"
              "  <list>\r\n"
              "    <entry>見出し</entry>\r\n"
              "    <entry>見出し</entry>\r\n"
              "  </list>\r\n"
              "</doc>\r\n");
    xml::Document quoted;
    ASSERT_TRUE(quoted.Parse("<q say='\"hi\"' n=\"1\"/>"));
    EXPECT_EQ(quoted.ToText(), "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<q say='\"hi\"' n=\"1\"></q>\r\n");
    xml::Document back;
    ASSERT_TRUE(back.Parse(doc.ToText()));
    EXPECT_EQ(TextOf(back, "/doc/url"), "<&>\"'x");
    EXPECT_EQ(TextOf(back, "/doc/list/entry[2]"), "見出し");
}

TEST(XmlDocument, FilesThatCannotBeReadOrWrittenLeaveThingsAsTheyWere) {
    Sandbox box;
    xml::Document doc;
    ASSERT_TRUE(doc.Parse("<a>☃</a>"));
    EXPECT_EQ(doc.LoadFile(box / "missing.xml"), 0);
    EXPECT_EQ(TextOf(doc, "/a"), "☃");
    Sandbox::WriteFile(box / "keep.xml", "old");
    std::string error;
    EXPECT_EQ(doc.SaveFile(box / "keep.xml", &error), 0);  // no Shift-JIS code for the snowman
    EXPECT_NE(error.find("U+2603"), std::string::npos) << error;
    EXPECT_EQ(Sandbox::ReadFile(box / "keep.xml"), "old");
    Sandbox::WriteFile(box / "bad.xml", "<a>\x81</a>");
    EXPECT_EQ(doc.LoadFile(box / "bad.xml"), 0);
}

TEST(XmlDocument, FilesAreReadInTheEncodingTheyDeclare) {
    Sandbox box;
    std::string sjis;
    ASSERT_EQ(platform::Utf8ToCp932("日本", sjis), platform::CodepageOk);
    const struct {
        std::string bytes;
        const char* text;  // nullptr: the load fails
    } cases[] = {
        {"<a>" + sjis + "</a>", "日本"},  // nothing declared: Shift-JIS
        {"<?xml version='1.0' encoding='Shift_JIS'?><a>" + sjis + "</a>", "日本"},
        {"<?xml version=\"1.0\" encoding = \"utf-8\" ?><a>日本</a>", "日本"},
        {"\xEF\xBB\xBF<a>日本</a>", "日本"},
        {"\xEF\xBB\xBF<?xml version='1.0' encoding='Shift_JIS'?><a>日本</a>", "日本"},  // the mark wins
        {"<?xml version='1.0' encoding='UTF-8'?><a>" + sjis + "</a>", nullptr},
        {"<?xml version='1.0' encoding='UTF-8'?><a>\xE6\x97</a>", nullptr},
        {"<?xml version='1.0' encoding='EUC-JP'?><a>x</a>", nullptr},
        {"\xFF\xFE<\0a\0>\0", nullptr},  // UTF-16
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        Sandbox::WriteFile(box / "in.xml", c.bytes);
        xml::Document doc;
        std::string error;
        EXPECT_EQ(doc.LoadFile(box / "in.xml", &error), c.text ? 1 : 0) << error;
        if (c.text) {
            EXPECT_EQ(TextOf(doc, "/a"), c.text);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}
