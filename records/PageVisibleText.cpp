#include "records/PageVisibleText.h"

#include <array>
#include <cctype>

#include "engine/PageCharset.h"
#include "platform/Codepage.h"
#include "xml/XmlDocument.h"

namespace records {

namespace {

// Elements whose contents no reader sees.
constexpr std::array<std::string_view, 4> kHiddenElements = {"script", "style", "noscript", "template"};
// Elements that begin a line of their own.
constexpr std::array<std::string_view, 34> kBlockElements = {
    "p", "div", "br", "li", "tr", "h1", "h2", "h3", "h4", "h5", "h6", "title", "table", "ul", "ol", "dl", "dt",
    "dd", "blockquote", "pre", "section", "article", "header", "footer", "nav", "hr", "main", "aside", "form",
    "figure", "figcaption", "address", "option", "body"};
// Named references beyond XML's five that pages use most; the rest stay as they stand.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kNamedReferences = {{
    {"nbsp", " "}, {"copy", "©"}, {"reg", "®"}, {"hellip", "…"}, {"mdash", "—"}, {"ndash", "–"},
    {"laquo", "«"}, {"raquo", "»"}, {"middot", "·"}, {"yen", "¥"}, {"times", "×"}, {"trade", "™"},
}};
constexpr size_t kLongestReference = 10;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool IsUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 4;
        if (extra == 4 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

// The page's bytes in UTF-8 by the charset it declares (Shift-JIS when it declares none and
// is no UTF-8, as the saved pages of Japanese sites mostly are).
std::string ToUtf8(std::string_view bytes) {
    engine::PageCharset charset = engine::CharsetOfPage(bytes);
    if (charset == engine::PageCharset::Unknown) charset = IsUtf8(bytes) ? engine::PageCharset::Utf8 : engine::PageCharset::ShiftJis;
    if (charset == engine::PageCharset::Utf8) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    std::string out;
    std::string rest(bytes);
    // A byte the codec cannot take is replaced and the conversion goes on after it.
    for (int round = 0; round < 4096; ++round) {
        std::string part;
        size_t bad = 0;
        const int ok = charset == engine::PageCharset::EucJp ? platform::EucJpToUtf8(rest, part, &bad)
                                                              : platform::Cp932ToUtf8(rest, part, &bad);
        if (ok == 1) return out + part;
        std::string head;
        if (bad > rest.size()) bad = rest.size();
        const std::string good = rest.substr(0, bad);
        if (charset == engine::PageCharset::EucJp ? platform::EucJpToUtf8(good, head) == 1
                                                  : platform::Cp932ToUtf8(good, head) == 1)
            out += head;
        out += '?';
        rest.erase(0, bad + 1);
        if (rest.empty()) return out;
    }
    return out;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (Lower(text[at + i]) != word[i]) return false;
    return true;
}

// The end of the tag that begins at `at` ('<'), past its '>', quoted values skipped.
size_t TagEnd(std::string_view text, size_t at) {
    char quote = 0;
    for (size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return text.size();
}

std::string TagName(std::string_view text, size_t at) {
    size_t i = at + 1;
    if (i < text.size() && text[i] == '/') ++i;
    std::string name;
    while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]))) name += Lower(text[i++]);
    return name;
}

template <size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::string_view n : names)
        if (n == name) return true;
    return false;
}

std::string DecodeReferences(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) break;
        out.append(text.substr(i, amp - i));
        const size_t semi = text.find(';', amp);
        if (semi == std::string_view::npos || semi - amp > kLongestReference) {
            out += '&';
            i = amp + 1;
            continue;
        }
        const std::string_view name = text.substr(amp + 1, semi - amp - 1);
        bool named = false;
        for (const auto& [n, value] : kNamedReferences)
            if (n == name) {
                out.append(value);
                named = true;
            }
        if (!named) out += xml::DecodeEntities(text.substr(amp, semi - amp + 1));
        i = semi + 1;
    }
    out.append(text.substr(i));
    return out;
}

// Blanks folded to one space, lines trimmed, empty lines left out.
std::string FoldLines(std::string_view text) {
    std::string out;
    std::string line;
    auto flush = [&] {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        if (!line.empty()) out += line + "\n";
        line.clear();
    };
    for (const char c : text) {
        if (c == '\n') {
            flush();
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += c;
        }
    }
    flush();
    return out;
}

}  // namespace

std::string PageVisibleText(std::string_view bytes) {
    const std::string page = ToUtf8(bytes);
    const std::string_view text = page;
    std::string raw;
    std::string run;  // text between two tags, decoded when the run ends
    auto endRun = [&] {
        // Line breaks inside the page's source are blanks to the reader.
        for (char& c : run)
            if (c == '\n') c = ' ';
        raw += DecodeReferences(run);
        run.clear();
    };
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '<') {
            run += text[i++];
            continue;
        }
        if (text.compare(i, 4, "<!--") == 0) {
            const size_t end = text.find("-->", i + 4);
            i = end == std::string_view::npos ? text.size() : end + 3;
            continue;
        }
        const std::string name = TagName(text, i);
        if (name.empty() && !(i + 1 < text.size() && (text[i + 1] == '!' || text[i + 1] == '?' || text[i + 1] == '/'))) {
            run += text[i++];  // a lone "<" is text
            continue;
        }
        endRun();
        const bool closing = i + 1 < text.size() && text[i + 1] == '/';
        i = TagEnd(text, i);
        if (!closing && OneOf(kHiddenElements, name)) {
            // Skip to the element's end tag.
            size_t at = i;
            const std::string end = "</" + name;
            while (at < text.size() && !StartsWithNoCase(text, at, end)) ++at;
            i = at < text.size() ? TagEnd(text, at) : text.size();
            continue;
        }
        if (OneOf(kBlockElements, name)) raw += '\n';
        else if (name == "td" || name == "th") raw += ' ';
    }
    endRun();
    return FoldLines(raw);
}

}  // namespace records
