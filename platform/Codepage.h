// Conversion between the UTF-8 used inside the programs and the Shift-JIS (code page 932)
// of the record files. A character that code page 932 cannot hold is an error, never dropped.
#pragma once

#include <string>
#include <string_view>

namespace platform {

enum CodepageResult : int {
    CodepageOk = 1,
    CodepageUnmappable = 0,   // a character has no code in the target set
    CodepageUnavailable = -1, // iconv has no such conversion on this machine
};

// UTF-8 → CP932. On CodepageUnmappable, `badOffset` is the byte offset in `utf8` of the
// first character that could not be converted and `out` is left empty.
[[nodiscard]] int Utf8ToCp932(std::string_view utf8, std::string& out, size_t* badOffset = nullptr);

// CP932 → UTF-8. Invalid byte sequences are an error (CodepageUnmappable).
[[nodiscard]] int Cp932ToUtf8(std::string_view sjis, std::string& out, size_t* badOffset = nullptr);

// EUC-JP → UTF-8, as Cp932ToUtf8.
[[nodiscard]] int EucJpToUtf8(std::string_view eucjp, std::string& out, size_t* badOffset = nullptr);

// A message for logs and dialogs naming the character that failed, e.g. "U+2603 (☃)".
std::string DescribeUnmappable(std::string_view utf8, size_t badOffset);

// True when every byte is ASCII (both encodings agree then, so no conversion is needed).
bool IsAscii(std::string_view text);

}  // namespace platform
