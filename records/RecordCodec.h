// Shift-JIS fields of the record files. Paths and URLs must read back byte for byte, so a
// character that code page 932 cannot hold, or holds only as another character (a yen sign
// becomes "\"), is an error; free text (names, comments) takes the code page's own mapping.
#pragma once

#include <string>
#include <string_view>

namespace records {

// `what` names the field in the error text.
[[nodiscard]] int EncodeExact(std::string_view utf8, std::string& sjis, std::string_view what, std::string* error);
[[nodiscard]] int EncodeText(std::string_view utf8, std::string& sjis, std::string_view what, std::string* error);
// Shift-JIS → UTF-8; 0 for bytes that are no Shift-JIS.
[[nodiscard]] int DecodeField(std::string_view sjis, std::string& utf8);

}  // namespace records
