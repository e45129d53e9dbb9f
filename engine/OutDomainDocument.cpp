#include "engine/OutDomainDocument.h"

#include <cstdio>

#include "platform/Codepage.h"

namespace engine {

namespace {

constexpr const char* kFill = "&#xA0;&#xA0;&#xA0;&#xA0;";

// The code point of the UTF-8 sequence at `at` and its length (1 for a stray byte).
uint32_t CodePointAt(const std::string& s, size_t at, size_t& length) {
    const auto b = static_cast<unsigned char>(s[at]);
    length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (at + length > s.size()) length = 1;
    if (length == 1) return b;
    uint32_t cp = b & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[at + i]) & 0x3F);
    return cp;
}

}  // namespace

std::string EscapeMarkup(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string MarkupToCp932(const std::string& utf8) {
    std::string out;
    size_t from = 0;
    while (from < utf8.size()) {
        std::string part;
        size_t bad = 0;
        const std::string rest = utf8.substr(from);
        if (platform::Utf8ToCp932(rest, part, &bad) == platform::CodepageOk) {
            out += part;
            break;
        }
        std::string head;
        (void)platform::Utf8ToCp932(rest.substr(0, bad), head);
        out += head;
        size_t length = 1;
        const uint32_t cp = CodePointAt(rest, bad, length);
        char ref[16];
        std::snprintf(ref, sizeof ref, "&#x%X;", cp);
        out += ref;
        from += bad + length;
    }
    return out;
}

std::string OutDomainDocumentText(const std::vector<OutDomainItem>& items) {
    std::string d;
    auto line = [&d](const std::string& text) { d += text + "\r\n"; };
    line("<?xml version='1.0' encoding='Shift-JIS' ?>");
    line(std::string("<qdotlk:document xmlns:qdotlk=\"") + kOutDomainNamespace + "\" version=\"20130223\">");
    line("<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"jp\" lang=\"jp\">");
    line("<head>");
    line("<meta http-equiv=\"Content-Type\" content=\"text/html;charset=Shift-JIS\" />");
    line("<title>外部ドメインページへのリンク一覧</title>");
    line("</head>");
    line("<body>");
    line("<h1>外部ドメインページへのリンク一覧</h1>");
    line("<hr />");
    for (const OutDomainItem& item : items) {
        line("<qdotlk:li>");
        if (!item.saved) {
            line(std::string("<qdotlk:saved>Not Fonud.") + kFill + "</qdotlk:saved>");
        } else {
            const std::string name = EscapeMarkup(item.localName);
            const std::string title = item.title.empty() ? "" : " title=\"" + EscapeMarkup(item.title) + "\"";
            line("<qdotlk:saved" + title + "><a href=\"" + name + "\">" + name + "</a>" + kFill + "</qdotlk:saved>");
        }
        const std::string url = EscapeMarkup(item.url);
        line("<qdotlk:dest>");
        line("<a href=\"" + url + "\">" + url + "</a>");
        line("</qdotlk:dest>");
        line("<qdotlk:source type=\"" + std::to_string(item.sources.size()) + "\">");
        for (const std::string& source : item.sources) line("<span title=\"../" + EscapeMarkup(source) + "\" />");
        line("</qdotlk:source>");
        line("</qdotlk:li>");
        line("<br />");
    }
    line("<hr />");
    line("<address>Sitrova/6.x</address>");
    line("");
    line("</body>");
    line("</html>");
    line("</qdotlk:document>");
    return d;
}

}  // namespace engine
