// Texts for the user outside the windows (console, unattended message boxes, texts the
// window-free layers hand to a window) in the language the user reads. Each text is written
// in Japanese at its call site, the suite's own wording; the English table
// (platform/UiTextEnglish.cpp) holds its English. A text the table lacks stays Japanese.
// Never pass a text through here that goes into a file: logs and records stay Japanese.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/UiLanguage.h"

namespace platform {

struct UiTextPair {
    const char* japanese;
    const char* english;
};

// The English of a Japanese text, or nullptr when the table lacks it.
const char* EnglishOf(std::string_view japanese);

// `japanese` in the language of CurrentUiLanguage().
const char* Tr(const char* japanese);

// As Tr, then "%1" … "%9" replaced by `args` in order ("%%" is one "%").
std::string TrArgs(const char* japanese, std::initializer_list<std::string_view> args);

// As TrArgs, in `language` rather than the current one: for a text that some callers show and
// others write into a file, which takes the Japanese.
std::string TrArgs(const char* japanese, std::initializer_list<std::string_view> args, UiLanguage language);

// The English table, in platform/UiTextEnglish.cpp.
extern const UiTextPair kEnglishTexts[];
extern const size_t kEnglishTextCount;

}  // namespace platform
