#include "platform/ShiftJisText.h"

#include <cstdio>

#include "platform/Codepage.h"

namespace platform {

namespace {

// Length and code point of the UTF-8 character at `text[0]`; 0 length for a broken sequence.
size_t DecodeOne(std::string_view text, unsigned& codePoint) {
    const unsigned char c = static_cast<unsigned char>(text[0]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || len > text.size()) return 0;
    codePoint = len == 1 ? c : len == 2 ? (c & 0x1Fu) : len == 3 ? (c & 0x0Fu) : (c & 0x07u);
    for (size_t i = 1; i < len; ++i) {
        const unsigned char t = static_cast<unsigned char>(text[i]);
        if ((t & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (t & 0x3Fu);
    }
    return len;
}

std::string Escape(unsigned value, bool broken, Unmappable style) {
    char buf[32];
    if (style == Unmappable::CharacterReference)
        std::snprintf(buf, sizeof buf, "&#x%X;", broken ? 0xFFFDu : value);
    else
        std::snprintf(buf, sizeof buf, broken ? "[0x%02X]" : "[U+%04X]", value);
    return buf;
}

// Writes the character at the front of `rest` as an escape and drops it from `rest`.
void EscapeFront(std::string_view& rest, Unmappable style, std::string& out) {
    unsigned cp = 0;
    size_t len = DecodeOne(rest, cp);
    if (len == 0) {
        out += Escape(static_cast<unsigned char>(rest[0]), true, style);
        len = 1;
    } else {
        out += Escape(cp, false, style);
    }
    rest.remove_prefix(len);
}

}  // namespace

std::string EscapeMarkup(std::string_view text, bool apostrophe) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'':
            if (apostrophe) {
                out += "&apos;";
                break;
            }
            [[fallthrough]];
        default: out += c;
        }
    }
    return out;
}

std::string ToShiftJis(std::string_view utf8, Unmappable style, size_t* escaped) {
    std::string out, part;
    size_t count = 0;
    std::string_view rest = utf8;
    while (!rest.empty()) {
        size_t bad = 0;
        const int rc = Utf8ToCp932(rest, part, &bad);
        if (rc == CodepageOk) {
            if (out.empty()) out.swap(part);  // the usual case: the whole line in one go
            else out += part;
            break;
        }
        if (rc == CodepageUnavailable) {
            // No converter at all: keep ASCII, escape everything else.
            if (static_cast<unsigned char>(rest[0]) < 0x80) {
                out += rest[0];
                rest.remove_prefix(1);
            } else {
                EscapeFront(rest, style, out);
                ++count;
            }
            continue;
        }
        if (bad > 0 && bad <= rest.size() &&
            Utf8ToCp932(rest.substr(0, bad), part) == CodepageOk) {
            out += part;
            rest.remove_prefix(bad);
            if (rest.empty()) break;
        }
        // The character that failed (or, should the prefix not convert, the first one).
        EscapeFront(rest, style, out);
        ++count;
    }
    if (escaped) *escaped = count;
    return out;
}

}  // namespace platform
