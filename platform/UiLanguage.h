// The language the suite's windows and console messages speak. Japanese is the suite's own
// language (its texts are written in the source); everyone else reads English. Record files,
// logs and every other file the suite writes stay Japanese whatever is chosen here.
#pragma once

#include <string>
#include <string_view>

namespace platform {

enum class UiLanguage { Japanese, English };

// The settings' values of the choice; "" counts as "auto".
constexpr const char* kUiLanguageAuto = "auto";
constexpr const char* kUiLanguageJapanese = "ja";
constexpr const char* kUiLanguageEnglish = "en";

// The language of a locale name as the environment gives it ("ja_JP.UTF-8", "C", "en_GB"):
// Japanese for ja*, English for anything else, the C/POSIX locale and "" included.
UiLanguage LanguageOfLocaleName(std::string_view locale);

// The user's language from the environment: the first entry of LANGUAGE, else LC_ALL,
// LC_MESSAGES, LANG, the first that is set.
UiLanguage LanguageOfEnvironment();

// The setting when it names a language ("ja", "en"), else the environment's.
UiLanguage ChooseUiLanguage(std::string_view setting);

// Set once by each program's start, before any thread is started; read-only afterwards.
// Until a program sets it, the environment decides.
void SetUiLanguage(UiLanguage language);
UiLanguage CurrentUiLanguage();
inline bool InEnglish() { return CurrentUiLanguage() == UiLanguage::English; }

}  // namespace platform
