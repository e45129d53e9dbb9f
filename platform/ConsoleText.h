// Text for the console in the character set of the user's locale (UTF-8 inside).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Converts for the terminal; characters the locale cannot show become "?".
std::string ToConsoleText(std::string_view utf8);

// What a message box says when nobody can see it: "[caption] text" as one line on stderr,
// line breaks of the text written as blanks.
void PrintMessageLine(std::string_view caption, std::string_view text);

}  // namespace platform
