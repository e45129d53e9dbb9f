#include "filters/PageMarkup.h"

#include <string>

#include "platform/ByteString.h"

namespace filters {

namespace {

using platform::EqualsI;
using platform::npos;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool EndsName(char c) { return IsBlank(c) || c == '/' || c == '>'; }

size_t NameEnd(std::string_view text, size_t from) {
    while (from < text.size() && !EndsName(text[from])) ++from;
    return from;
}

// A comment ends at "-->"; "<!-->" and "<!--->" are empty comments, as browsers read them.
size_t CommentEnd(std::string_view text, size_t lt) {
    const size_t inside = lt + 4;
    if (text.substr(inside, 1) == ">") return inside + 1;
    if (text.substr(inside, 2) == "->") return inside + 2;
    const size_t close = text.find("-->", inside);
    return close == npos ? text.size() : close + 3;
}

size_t PastNext(std::string_view text, char c, size_t from) {
    const size_t at = text.find(c, from);
    return at == npos ? text.size() : at + 1;
}

}  // namespace

size_t MarkupWalk::TagEnd(size_t from) const {
    size_t i = from;
    while (i < m_text.size()) {
        const char c = m_text[i];
        if (c == '>') return i + 1;
        ++i;
        if (c != '=') continue;
        // Only a value may be quoted; a quote inside a name or an unquoted value is a letter.
        while (i < m_text.size() && IsBlank(m_text[i])) ++i;
        if (i < m_text.size() && (m_text[i] == '"' || m_text[i] == '\'')) {
            const size_t close = m_text.find(m_text[i], i + 1);
            if (close == npos) return m_text.size();
            i = close + 1;
        }
    }
    return m_text.size();
}

size_t MarkupWalk::RawTextEnd(std::string_view element, size_t from) const {
    const std::string close = "</" + std::string(element);
    for (size_t at = platform::FindI(m_text, close, from); at != npos; at = platform::FindI(m_text, close, at + 1)) {
        const size_t behind = at + close.size();
        if (behind == m_text.size() || EndsName(m_text[behind])) return at;
    }
    return npos;
}

bool MarkupWalk::Next(MarkupItem& item) {
    if (!m_rawElement.empty()) {
        const size_t close = RawTextEnd(m_rawElement, m_at);
        m_rawElement = {};
        if (close == npos) {
            m_at = m_text.size();
            return false;
        }
        m_at = close;
    }
    while (true) {
        const size_t lt = m_text.find('<', m_at);
        if (lt == npos || lt + 1 >= m_text.size()) {
            m_at = m_text.size();
            return false;
        }
        const char c = m_text[lt + 1];
        item = MarkupItem{};
        item.begin = lt;
        if (m_text.substr(lt, 4) == "<!--") {
            item.kind = MarkupItem::Comment;
            item.end = CommentEnd(m_text, lt);
        } else if (c == '!' || c == '?') {
            item.kind = MarkupItem::Declaration;
            item.end = PastNext(m_text, '>', lt + 2);
        } else if (c == '/' && lt + 2 < m_text.size() && IsAsciiLetter(m_text[lt + 2])) {
            item.kind = MarkupItem::EndTag;
            const size_t nameEnd = NameEnd(m_text, lt + 2);
            item.name = m_text.substr(lt + 2, nameEnd - lt - 2);
            item.end = TagEnd(nameEnd);
        } else if (c == '/') {
            // "</>" and "</ ...>" are no tags; browsers drop them up to the next ">".
            item.kind = MarkupItem::Declaration;
            item.end = PastNext(m_text, '>', lt + 2);
        } else if (IsAsciiLetter(c)) {
            item.kind = MarkupItem::StartTag;
            const size_t nameEnd = NameEnd(m_text, lt + 1);
            item.name = m_text.substr(lt + 1, nameEnd - lt - 1);
            item.end = TagEnd(nameEnd);
            if (EqualsI(item.name, "script")) m_rawElement = "script";
            if (EqualsI(item.name, "style")) m_rawElement = "style";
        } else {
            m_at = lt + 1;  // a lone "<" is text
            continue;
        }
        m_at = item.end;
        return true;
    }
}

bool MarkupBeginsAt(std::string_view text, size_t at) {
    MarkupWalk walk(text);
    MarkupItem item;
    while (walk.Next(item)) {
        if (item.begin >= at) return item.begin == at;
    }
    return false;
}

size_t DocumentStartTag(std::string_view text) {
    MarkupWalk walk(text);
    MarkupItem item;
    while (walk.Next(item))
        if (item.kind == MarkupItem::StartTag && EqualsI(item.name, "html")) return item.begin;
    return npos;
}

bool DocumentEndTag(std::string_view text, TextSpan& tag) {
    MarkupWalk walk(text);
    MarkupItem item;
    while (walk.Next(item)) {
        if (item.kind == MarkupItem::EndTag && EqualsI(item.name, "html")) {
            tag = {item.begin, item.end};
            return true;
        }
    }
    return false;
}

std::vector<TextSpan> ScriptElements(std::string_view text) {
    std::vector<TextSpan> scripts;
    MarkupWalk walk(text);
    MarkupItem item;
    size_t open = npos;
    while (walk.Next(item)) {
        if (item.kind == MarkupItem::StartTag && EqualsI(item.name, "script")) {
            open = item.begin;
        } else if (open != npos && item.kind == MarkupItem::EndTag && EqualsI(item.name, "script")) {
            scripts.push_back({open, item.end});
            open = npos;
        } else {
            open = npos;
        }
    }
    return scripts;
}

size_t ElementEnd(std::string_view text, size_t at) {
    MarkupWalk walk(text, at);
    MarkupItem item;
    if (!walk.Next(item) || item.begin != at || item.kind != MarkupItem::StartTag) return npos;
    const std::string_view name = item.name;
    int depth = 1;
    while (walk.Next(item)) {
        if (!EqualsI(item.name, name)) continue;
        if (item.kind == MarkupItem::StartTag) ++depth;
        if (item.kind == MarkupItem::EndTag && --depth == 0) return item.end;
    }
    return npos;
}

}  // namespace filters
