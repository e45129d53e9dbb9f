#include "records/RecordCodec.h"

#include "platform/Codepage.h"

namespace records {

namespace {

int Unmappable(std::string_view utf8, size_t offset, std::string_view what, std::string* error) {
    if (error) *error = std::string(what) + "に Shift-JIS で書けない文字があります: " + platform::DescribeUnmappable(utf8, offset);
    return 0;
}

}  // namespace

int EncodeText(std::string_view utf8, std::string& sjis, std::string_view what, std::string* error) {
    size_t bad = 0;
    if (platform::Utf8ToCp932(utf8, sjis, &bad) != platform::CodepageOk) return Unmappable(utf8, bad, what, error);
    return 1;
}

int EncodeExact(std::string_view utf8, std::string& sjis, std::string_view what, std::string* error) {
    if (!EncodeText(utf8, sjis, what, error)) return 0;
    std::string back;
    if (platform::Cp932ToUtf8(sjis, back) == platform::CodepageOk && back == utf8) return 1;
    // The first character that came back different.
    size_t i = 0;
    while (i < utf8.size() && i < back.size() && utf8[i] == back[i]) ++i;
    while (i > 0 && i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) --i;
    sjis.clear();
    return Unmappable(utf8, i, what, error);
}

int DecodeField(std::string_view sjis, std::string& utf8) {
    return platform::Cp932ToUtf8(sjis, utf8) == platform::CodepageOk ? 1 : 0;
}

}  // namespace records
