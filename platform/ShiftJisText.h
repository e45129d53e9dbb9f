// Shift-JIS output for the texts that the records write. A character that code page 932
// cannot hold is never dropped: it is written as a visible escape and counted.
#pragma once

#include <string>
#include <string_view>

namespace platform {

enum class Unmappable {
    CharacterReference,  // "&#x2603;": HTML pages, where the browser turns it back into the character
    CodePointMark,       // "[U+2603]": plain-text logs
};

// Text as the content of an HTML attribute or element: "&", "<", ">" and '"' escaped, and
// "'" too when `apostrophe` (XML's &apos;).
std::string EscapeMarkup(std::string_view text, bool apostrophe = false);

// UTF-8 → CP932. `escaped` (when given) receives the number of characters written as escapes.
std::string ToShiftJis(std::string_view utf8, Unmappable style, size_t* escaped = nullptr);

}  // namespace platform
