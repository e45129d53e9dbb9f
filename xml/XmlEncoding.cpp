// Which bytes a file holds: the suite writes Shift-JIS, but a file edited by hand may be
// UTF-8, and says so with a byte-order mark or in its declaration.
#include <cstdint>

#include "platform/ByteString.h"
#include "platform/Codepage.h"
#include "platform/UiText.h"
#include "xml/XmlDocument.h"

namespace xml {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The encoding named in a leading "<?xml ... ?>", or empty when there is none.
std::string_view DeclaredEncoding(std::string_view text) {
    if (!text.starts_with("<?xml")) return {};
    const size_t end = text.find("?>");
    const std::string_view declaration = text.substr(0, end);
    size_t p = declaration.find("encoding");
    if (p == std::string_view::npos) return {};
    p += 8;
    auto skipBlanks = [&] {
        while (p < declaration.size() && (declaration[p] == ' ' || declaration[p] == '\t' ||
                                          declaration[p] == '\r' || declaration[p] == '\n'))
            ++p;
    };
    skipBlanks();
    if (p >= declaration.size() || declaration[p] != '=') return {};
    ++p;
    skipBlanks();
    if (p >= declaration.size() || (declaration[p] != '"' && declaration[p] != '\'')) return {};
    const size_t close = declaration.find(declaration[p], p + 1);
    if (close == std::string_view::npos) return {};
    return declaration.substr(p + 1, close - p - 1);
}

bool IsUtf8Name(std::string_view name) { return platform::EqualsI(name, "UTF-8") || platform::EqualsI(name, "UTF8"); }

bool IsShiftJisName(std::string_view name) {
    for (std::string_view known : {"Shift_JIS", "Shift-JIS", "SJIS", "CP932", "Windows-31J", "MS_Kanji", "x-sjis",
                                   "US-ASCII", "ASCII"})
        if (platform::EqualsI(name, known)) return true;
    return false;
}

}  // namespace

size_t FirstBadUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<uint8_t>(text[i]);
        size_t length;
        uint32_t code;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return i;
        }
        if (i + length > text.size()) return i;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) return i;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        const uint32_t least = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
        if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return i;
        i += length;
    }
    return std::string_view::npos;
}

bool FileBytesToText(std::string_view bytes, std::string& text, std::string& error) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        error = platform::Tr("UTF-16 のファイルは読めません。Shift-JIS か UTF-8 で保存してください。");
        return false;
    }
    bool utf8 = false;
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
        utf8 = true;
    } else if (const std::string_view name = DeclaredEncoding(bytes); !name.empty()) {
        utf8 = IsUtf8Name(name);
        if (!utf8 && !IsShiftJisName(name)) {
            error = platform::TrArgs("宣言された文字コード %1 には対応していません（Shift-JIS か UTF-8）。", {name});
            return false;
        }
    }
    if (utf8) {
        if (const size_t bad = FirstBadUtf8(bytes); bad != std::string_view::npos) {
            error = platform::TrArgs("UTF-8 として読めないバイトがあります（%1 バイト目）。", {std::to_string(bad)});
            return false;
        }
        text.assign(bytes);
        return true;
    }
    size_t bad = 0;
    if (platform::Cp932ToUtf8(bytes, text, &bad) != platform::CodepageOk) {
        error = platform::TrArgs("Shift-JIS として読めないバイトがあります（%1 バイト目）。", {std::to_string(bad)});
        return false;
    }
    return true;
}

}  // namespace xml
