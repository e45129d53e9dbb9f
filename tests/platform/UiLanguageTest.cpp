#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "platform/UiLanguage.h"
#include "platform/UiText.h"

using platform::UiLanguage;

TEST(UiLanguage, JapaneseLocalesReadJapaneseAndEveryOtherLocaleEnglish) {
    for (const char* locale : {"ja_JP.UTF-8", "ja_JP.eucJP", "ja"})
        EXPECT_EQ(platform::LanguageOfLocaleName(locale), UiLanguage::Japanese) << locale;
    for (const char* locale : {"C", "C.UTF-8", "POSIX", "", "en_US.UTF-8", "de_DE", "jv_ID"})
        EXPECT_EQ(platform::LanguageOfLocaleName(locale), UiLanguage::English) << locale;
}

TEST(UiLanguage, TheSettingOverridesTheEnvironmentAndLanguageComesFirst) {
    setenv("LANGUAGE", "", 1);
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "", 1);
    setenv("LANG", "ja_JP.UTF-8", 1);
    EXPECT_EQ(platform::ChooseUiLanguage("auto"), UiLanguage::Japanese);
    EXPECT_EQ(platform::ChooseUiLanguage("en"), UiLanguage::English);
    setenv("LC_ALL", "C", 1);  // cron and service managers
    EXPECT_EQ(platform::ChooseUiLanguage(""), UiLanguage::English);
    EXPECT_EQ(platform::ChooseUiLanguage("ja"), UiLanguage::Japanese);
    setenv("LANGUAGE", "ja:en", 1);
    EXPECT_EQ(platform::ChooseUiLanguage("auto"), UiLanguage::Japanese);
    setenv("LANGUAGE", "ja", 1);
    unsetenv("LC_ALL");
}

TEST(UiText, ArgumentsFillTheirPlacesInEitherLanguage) {
    platform::SetUiLanguage(UiLanguage::Japanese);
    EXPECT_EQ(platform::TrArgs("%2 と %1、100%%", {"a", "b"}), "b と a、100%");
    EXPECT_STREQ(platform::Tr("表にない文"), "表にない文");
    platform::SetUiLanguage(UiLanguage::English);
    EXPECT_STREQ(platform::Tr("表にない文"), "表にない文");  // stays readable, never empty
    platform::SetUiLanguage(UiLanguage::Japanese);
}

TEST(UiText, TheEnglishTableHasOneEnglishPerTextAndNoJapaneseInIt) {
    std::set<std::string> seen;
    for (size_t i = 0; i + 1 < platform::kEnglishTextCount; ++i) {
        const platform::UiTextPair& pair = platform::kEnglishTexts[i];
        EXPECT_TRUE(seen.insert(pair.japanese).second) << "twice: " << pair.japanese;
        const std::string english = pair.english;
        EXPECT_FALSE(english.empty()) << pair.japanese;
        for (size_t k = 0; k < english.size(); ++k) {
            const auto c = static_cast<unsigned char>(english[k]);
            const auto next = k + 1 < english.size() ? static_cast<unsigned char>(english[k + 1]) : 0;
            // Kana, kanji and full-width forms (U+3000-U+9FFF, U+FF00-U+FFEF).
            if ((c >= 0xE3 && c <= 0xE9) || (c == 0xEF && next >= 0xBC && next <= 0xBF))
                ADD_FAILURE() << "Japanese left in the English of " << pair.japanese;
        }
    }
}
