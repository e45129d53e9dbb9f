// "その他の環境設定": how dropped HTML files are handled (WhlMode), the browsers' link menu
// entry that hands a link to Sitrova, and the language of the windows ([Display] Language).
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "app/shell/Shell.h"
#include "platform/UiLanguage.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"

namespace appqt {

namespace {

constexpr int kLanguageLabelId = 1120;
constexpr int kLanguageChoiceId = 1121;
constexpr int kLanguageNoteId = 1122;

// The language row. Its label and the languages' own names read the same in every language,
// so a user who cannot read the current one still finds the way back (the property
// "sameInEveryLanguage" names those texts for the window-text checks); the item data is the
// stored value.
QComboBox* AddLanguageRow(QDialog* d, QVBoxLayout* box) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("表示言語 / Language"), d);
    label->setObjectName(ControlName(kLanguageLabelId));
    label->setProperty("sameInEveryLanguage", QStringList{label->text()});
    auto* choice = new QComboBox(d);
    choice->setObjectName(ControlName(kLanguageChoiceId));
    choice->addItem(UiText::tr("自動"), QString::fromLatin1(platform::kUiLanguageAuto));
    choice->addItem(QStringLiteral("日本語"), QString::fromLatin1(platform::kUiLanguageJapanese));
    choice->addItem(QStringLiteral("English"), QString::fromLatin1(platform::kUiLanguageEnglish));
    choice->setProperty("sameInEveryLanguage", QStringList{choice->itemText(1), choice->itemText(2)});
    label->setBuddy(choice);
    row->addWidget(label);
    row->addWidget(choice);
    row->addWidget(NewLabel(d, kLanguageNoteId, QT_TRANSLATE_NOOP("UiText", "次回の起動時から有効になります。")));
    row->addStretch();
    box->addLayout(row);
    return choice;
}

void ShowLanguage(QComboBox* choice, const std::string& value) {
    const int index = choice->findData(platformqt::ToQ(value));
    choice->setCurrentIndex(index < 0 ? 0 : index);
}

}  // namespace

QDialog* CreateOtherSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder) {
    QDialog* d = NewDialog(owner, "InitializeOther", QT_TRANSLATE_NOOP("UiText", "その他の環境設定"));
    auto* box = new QVBoxLayout(d);

    ColumnGroup drop(d, 1111, QT_TRANSLATE_NOOP("UiText", "ドロップファイルの処理"));
    QCheckBox* alwaysRemove =
        drop.Check(1113, QT_TRANSLATE_NOOP("UiText", "HTMLファイルならば、常に広告削除を実行する。"));
    box->addWidget(drop.Group());

    ColumnGroup removal(d, 1112, QT_TRANSLATE_NOOP("UiText", "広告削除の動作設定"));
    QCheckBox* closeWhenDone = removal.Check(1114, QT_TRANSLATE_NOOP("UiText", "終了時は確認せずに閉じる。"));
    box->addWidget(removal.Group());

    // The caption names the browser the entry was first made for; here it reaches the
    // desktop's browsers.
    ColumnGroup menu(d, 1117, QT_TRANSLATE_NOOP("UiText", "Internet Explorer への登録"));
    menu.Group()->setToolTip(UiText::tr("デスクトップのブラウザーのリンクメニューに登録します。"));
    QCheckBox* linkEntry =
        menu.Check(1118, QT_TRANSLATE_NOOP("UiText", "リンクを右クリック時に、「Sitrova で保存」を追加する。"));
    box->addWidget(menu.Group());
    QComboBox* language = AddLanguageRow(d, box);
    box->addStretch();

    // The language is written only when it changed, so a file without the key keeps
    // following the desktop's locale without carrying "auto".
    const std::string storedLanguage = records::ReadUiLanguageSetting(iniPath);
    const auto save = [=](std::string& error) {
        if (!records::SaveWholeOption(iniPath, alwaysRemove->isChecked(), closeWhenDone->isChecked(), &error)) return 0;
        const std::string chosen = platformqt::FromQ(language->currentData().toString());
        if (chosen != storedLanguage && !records::SaveUiLanguageSetting(iniPath, chosen, &error)) return 0;
        if (linkEntry->isChecked())
            (void)appshell::RegisterLinkMenuEntry(programFolder);
        else
            (void)appshell::RemoveLinkMenuEntry(programFolder);
        return 1;
    };
    box->addLayout(NewSettingsButtons(d, {.ok = 1115, .cancel = 1116, .help = 1119}, programFolder,
                                      "/20083201102245.htm", save));

    const uint32_t whl = records::ReadWhlMode(iniPath);
    alwaysRemove->setChecked(whl & records::kWhlAlwaysRemoveAds);
    closeWhenDone->setChecked(whl & records::kWhlCloseWhenDone);
    linkEntry->setChecked(appshell::LinkMenuEntryRegistered());
    ShowLanguage(language, storedLanguage);
    FinishDialog(d, 480, 360);
    return d;
}

}  // namespace appqt
