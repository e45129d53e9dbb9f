// Window texts: written in Japanese, the suite's own wording, and shown in the user's
// language through Qt's translations (translations/*_en.ts, built into sitrova_en.qm).
//   label->setText(UiText::tr("受信タイムアウト"));
// Texts kept in tables are marked with QT_TRANSLATE_NOOP("UiText", "…") and shown with
// UiText::tr(entry). Every window text shares the one context "UiText", so a term reads
// the same in every window.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>

class UiText {
    Q_DECLARE_TR_FUNCTIONS(UiText)
};

namespace platformqt {

// The file of the English window texts, beside the window library (and the programs).
constexpr const char* kEnglishTranslationFile = "sitrova_en.qm";

// After QApplication is made: loads the English window texts when CurrentUiLanguage() is
// English. 0 when they are missing (the windows then stay Japanese and stderr says so).
int InstallTranslations(const std::string& programFolder);

// A text of a table, translated as a window shows it.
inline QString Ui(const char* japanese) { return UiText::tr(japanese); }

}  // namespace platformqt
