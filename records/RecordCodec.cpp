#include "records/RecordCodec.h"

#include "platform/Codepage.h"
#include "platform/UiText.h"

namespace records {

namespace {

int Unmappable(std::string_view utf8, size_t offset, std::string_view what, std::string* error, ErrorReader reader) {
    if (!error) return 0;
    const std::string field(what);
    *error = ErrorText(reader, "%1に Shift-JIS で書けない文字があります: %2",
                       {reader == ErrorReader::User ? platform::Tr(field.c_str()) : field,
                        platform::DescribeUnmappable(utf8, offset)});
    return 0;
}

}  // namespace

std::string ErrorText(ErrorReader reader, const char* japanese, std::initializer_list<std::string_view> args) {
    if (reader == ErrorReader::User) return platform::TrArgs(japanese, args);
    // Filled as TrArgs fills: "%1" … "%9" by the values, "%%" as one "%".
    std::string text;
    for (const char* c = japanese; *c; ++c) {
        if (c[0] == '%' && c[1] == '%') {
            text += '%';
            ++c;
        } else if (c[0] == '%' && c[1] >= '1' && c[1] <= '9') {
            if (const size_t n = static_cast<size_t>(c[1] - '1'); n < args.size()) text += *(args.begin() + n);
            ++c;
        } else {
            text += *c;
        }
    }
    return text;
}

int EncodeText(std::string_view utf8, std::string& sjis, std::string_view what, std::string* error, ErrorReader reader) {
    size_t bad = 0;
    if (platform::Utf8ToCp932(utf8, sjis, &bad) != platform::CodepageOk)
        return Unmappable(utf8, bad, what, error, reader);
    return 1;
}

int EncodeExact(std::string_view utf8, std::string& sjis, std::string_view what, std::string* error, ErrorReader reader) {
    if (!EncodeText(utf8, sjis, what, error, reader)) return 0;
    std::string back;
    if (platform::Cp932ToUtf8(sjis, back) == platform::CodepageOk && back == utf8) return 1;
    // The first character that came back different.
    size_t i = 0;
    while (i < utf8.size() && i < back.size() && utf8[i] == back[i]) ++i;
    while (i > 0 && i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) --i;
    sjis.clear();
    return Unmappable(utf8, i, what, error, reader);
}

int DecodeField(std::string_view sjis, std::string& utf8) {
    return platform::Cp932ToUtf8(sjis, utf8) == platform::CodepageOk ? 1 : 0;
}

}  // namespace records
