// Byte-string helpers that ignore ASCII case, the way names, extensions and HTML text are
// compared throughout the program. Bytes >= 0x80 compare exactly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

constexpr size_t npos = std::string_view::npos;

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
std::string AsciiLowerCopy(std::string_view s);

bool EqualsI(std::string_view a, std::string_view b);
bool StartsWithI(std::string_view text, std::string_view prefix);
bool EndsWithI(std::string_view text, std::string_view suffix);

// Position of the first occurrence of `needle` at or after `from`, or npos.
size_t FindI(std::string_view haystack, std::string_view needle, size_t from = 0);
size_t RFindI(std::string_view haystack, std::string_view needle);
bool ContainsI(std::string_view haystack, std::string_view needle);

// Replaces every occurrence of `from` by `to` (exact case unless ignoreCase); returns the
// number replaced.
size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to, bool ignoreCase = false);

// Text before / after the last occurrence of `sep`; the separator is kept on the left part
// when keepSep is true. No separator: left is empty, right is the whole text.
std::string_view UpToLast(std::string_view text, char sep, bool keepSep = true);
std::string_view AfterLast(std::string_view text, char sep);

// Reads a leading decimal number the way the C runtime does (blanks, sign, digits; a
// fraction is ignored); text that is no number gives 0. Saturates instead of overflowing.
long long ParseDecimal(std::string_view text);

// Appends the UTF-8 bytes of the code point `code` (a character reference's value).
void AppendUtf8(std::string& out, uint32_t code);

}  // namespace platform
