#include "platform/UiLanguage.h"

#include <atomic>

#include "platform/Environment.h"

namespace platform {

namespace {

// 0 = not chosen yet, 1 = Japanese, 2 = English. Written by the program's start only.
std::atomic<int> g_chosen{0};

}  // namespace

UiLanguage LanguageOfLocaleName(std::string_view locale) {
    return locale.substr(0, 2) == "ja" ? UiLanguage::Japanese : UiLanguage::English;
}

UiLanguage LanguageOfEnvironment() {
    std::string language = EnvironmentValue("LANGUAGE");
    if (const size_t colon = language.find(':'); colon != std::string::npos) language.resize(colon);
    if (!language.empty()) return LanguageOfLocaleName(language);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string value = EnvironmentValue(name);
        if (!value.empty()) return LanguageOfLocaleName(value);
    }
    return UiLanguage::English;
}

UiLanguage ChooseUiLanguage(std::string_view setting) {
    if (setting == kUiLanguageJapanese) return UiLanguage::Japanese;
    if (setting == kUiLanguageEnglish) return UiLanguage::English;
    return LanguageOfEnvironment();
}

void SetUiLanguage(UiLanguage language) {
    g_chosen.store(language == UiLanguage::Japanese ? 1 : 2, std::memory_order_relaxed);
}

UiLanguage CurrentUiLanguage() {
    const int chosen = g_chosen.load(std::memory_order_relaxed);
    if (chosen == 0) return LanguageOfEnvironment();
    return chosen == 1 ? UiLanguage::Japanese : UiLanguage::English;
}

}  // namespace platform
