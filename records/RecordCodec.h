// Shift-JIS fields of the record files. Paths and URLs must read back byte for byte, so a
// character that code page 932 cannot hold, or holds only as another character (a yen sign
// becomes "\"), is an error; free text (names, comments) takes the code page's own mapping.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace records {

// Who reads an error text: a log keeps the suite's Japanese whatever the user reads; a
// window shows it in the user's language.
enum class ErrorReader { Log, User };

// `japanese` with "%1" … filled in by `args`, in the language of `reader`.
std::string ErrorText(ErrorReader reader, const char* japanese, std::initializer_list<std::string_view> args);

// `what` (a Japanese noun) names the field in the error text.
[[nodiscard]] int EncodeExact(std::string_view utf8, std::string& sjis, std::string_view what, std::string* error,
                              ErrorReader reader = ErrorReader::Log);
[[nodiscard]] int EncodeText(std::string_view utf8, std::string& sjis, std::string_view what, std::string* error,
                             ErrorReader reader = ErrorReader::Log);
// Shift-JIS → UTF-8; 0 for bytes that are no Shift-JIS.
[[nodiscard]] int DecodeField(std::string_view sjis, std::string& utf8);

}  // namespace records
