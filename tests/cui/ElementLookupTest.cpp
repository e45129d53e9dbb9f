// The console tool's look-up of elements in a parsed parameter file.
#include <gtest/gtest.h>

#include "cui/ElementLookup.h"

TEST(ElementLookup, FindsValuesTheWayHandEditedFilesWriteThem) {
    const std::string text =
        "<?xml version='1.0' ?>\r\n<Doc a=\"1\">\r\n<url>\r\n http://a/ \t\r\n</url>\r\n<w><x>1</x><x>2</x><x>3</x>"
        "<e /><f/><g><deep>d</deep></g></w>\r\n<!-- <c>in a comment</c> -->\r\n<urlx>no</urlx><s>a</s><s>b</s>"
        "<cd><![CDATA[<c>&amp;</c>]]></cd></Doc>";
    xml::Document doc;
    ASSERT_TRUE(doc.Parse(text));
    struct Case {
        const char* path;
        const char* value;  // nullptr: not found
    } cases[] = {
        {"/doc/URL", "http://a/"},       // names without regard to case; white space trimmed
        {"/Doc/w/x", "1"},
        {"/Doc/w/x[0]", "1"},
        {"/Doc/w/x[2]", "3"},            // an index skips that many further occurrences
        {"/Doc/w/x[3]", nullptr},
        {"/Doc/w/x[@id]", "1"},
        {"/Doc/w/x[1", nullptr},
        {"/Doc/w/e", ""},                 // empty elements have the empty value
        {"/Doc/w/f", ""},
        {"/Doc/w", ""},                   // so do elements that hold elements
        {"/Doc/deep", "d"},               // a step looks at any depth
        {"/Doc/c", nullptr},              // comments hold no elements
        {"/Doc/cd", "<c>&amp;</c>"},      // nor does CDATA
        {"/Doc/s[1]", "b"},
        {"/Doc/w/missing", nullptr},
        {"/Doc/u", nullptr},
        {"/nothing", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string value = "<unset>";
        const bool found = cui::LookUpValue(doc, c.path, value);
        EXPECT_EQ(found, c.value != nullptr);
        if (c.value) {
            EXPECT_EQ(value, c.value);
        }
    }
}
