// The console tool's text search over parameter files.
#include <gtest/gtest.h>

#include "cui/ElementLookup.h"

TEST(ElementLookup, FindsValuesTheWayHandEditedFilesWriteThem) {
    const std::string text =
        "<?xml version='1.0' ?>\r\n<Doc a=\"1\">\r\n<url>\r\n http://a/ \t\r\n</URL>\r\n<w><x>1</x><x>2</x><x>3</x>"
        "<e /><f/></w>\r\n<!-- <c>in a comment</c> -->\r\n<urlx>no</urlx><s>a</s><s>b</s></Doc>";
    struct Case {
        const char* path;
        const char* value;  // nullptr: not found
    } cases[] = {
        {"/doc/url", " http://a/ \t"},  // names without regard to case; blanks and tabs stay
        {"/Doc/w/x", "1"},
        {"/Doc/w/x[0]", "1"},
        {"/Doc/w/x[2]", "3"},            // an index skips that many further occurrences
        {"/Doc/w/x[3]", nullptr},
        {"/Doc/w/x[@id]", "1"},
        {"/Doc/w/x[1", nullptr},
        {"/Doc/w/e", ""},                 // empty elements have the empty value
        {"/Doc/w/f", ""},
        {"/Doc/c", "in a comment"},      // a plain text search does not know comments
        {"/Doc/s[1]", "b"},
        {"/Doc/w/missing", nullptr},
        {"/Doc/u", nullptr},              // "<u" is found in "<url" but is another name
        {"/nothing", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string value = "<unset>";
        const bool found = cui::LookUpValue(text, c.path, value);
        EXPECT_EQ(found, c.value != nullptr);
        if (c.value) {
            EXPECT_EQ(value, c.value);
        }
    }
}
