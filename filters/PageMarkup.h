// A walk over the markup of a page the way a browser reads it: tags, comments and
// declarations, with the text inside scripts, style sheets, comments and attribute values
// never taken for markup. The ad rules use it to tell the host's injected blocks from text
// that merely looks like them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace filters {

struct MarkupItem {
    enum Kind { StartTag, EndTag, Comment, Declaration };
    Kind kind = Comment;
    size_t begin = 0;        // the "<"
    size_t end = 0;          // behind the closing ">" (the text's end when it never closes)
    std::string_view name;   // of a tag, as written
};

class MarkupWalk {
public:
    explicit MarkupWalk(std::string_view text, size_t from = 0) : m_text(text), m_at(from) {}
    // The next item; false at the end of the text. The raw text of a script or style element
    // is passed over: the item after its start tag is its end tag, if it has one.
    bool Next(MarkupItem& item);

private:
    size_t TagEnd(size_t from) const;
    size_t RawTextEnd(std::string_view element, size_t from) const;

    std::string_view m_text;
    size_t m_at;
    std::string_view m_rawElement;  // set after a script or style start tag
};

struct TextSpan {
    size_t begin = 0;
    size_t end = 0;
};

// True when a tag, comment or declaration begins at `at`.
bool MarkupBeginsAt(std::string_view text, size_t at);
// The first html start tag, or npos.
size_t DocumentStartTag(std::string_view text);
// The first html end tag; false when the page has none outside scripts and comments.
bool DocumentEndTag(std::string_view text, TextSpan& tag);
// Each script element that is closed, from its start tag through its end tag.
std::vector<TextSpan> ScriptElements(std::string_view text);
// Behind the end tag that closes the element whose start tag begins at `at` (elements of the
// same name nest), or npos when it is never closed.
size_t ElementEnd(std::string_view text, size_t at);

}  // namespace filters
