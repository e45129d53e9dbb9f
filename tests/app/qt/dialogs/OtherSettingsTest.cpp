#include <QCheckBox>
#include <QComboBox>

#include "app/qt/dialogs/SettingsDialogs.h"
#include "app/shell/Shell.h"
#include "records/Settings.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"

using dialogtest::DialogTest;
using testsupport::Sandbox;

namespace {

class OtherSettings : public DialogTest {
protected:
    std::unique_ptr<QDialog> Open() {
        return std::unique_ptr<QDialog>(appqt::CreateOtherSettingsDialog(nullptr, ini, programFolder));
    }
    std::string Language(QDialog* d) { return Ctl<QComboBox>(d, 1121)->currentData().toString().toStdString(); }
    void ChooseLanguage(QDialog* d, const char* value) {
        auto* choice = Ctl<QComboBox>(d, 1121);
        choice->setCurrentIndex(choice->findData(QString::fromLatin1(value)));
    }
};

TEST_F(OtherSettings, ChecksReplaceTheLowBitsOfWhlMode) {
    struct Case {
        uint32_t stored;
        std::vector<int> clicks;
        uint32_t written;
    };
    const Case cases[] = {
        {0xF4, {}, 0xF0},
        {0xF4, {1113}, 0xF1},
        {0xF4, {1114}, 0xF2},
        {0xF4, {1113, 1114}, 0xF3},
        {0x3, {}, 0x3},
        {0x3, {1113, 1114}, 0x0},
    };
    for (const Case& c : cases) {
        Sandbox::WriteFile(ini, "[WholeOption]\r\nWhlMode=" + std::to_string(c.stored) + "\r\n");
        auto d = Open();
        for (int id : c.clicks) Click(d.get(), id);
        Click(d.get(), 1115);
        EXPECT_EQ(d->result(), 1);
        EXPECT_EQ(IniBytes(), "[WholeOption]\r\nWhlMode=" + std::to_string(c.written) + "\r\n") << c.stored;
    }
}

TEST_F(OtherSettings, CancelWritesNothingAndLeavesTheLinkEntry) {
    const std::string before = "[WholeOption]\r\nWhlMode=1\r\n";
    Sandbox::WriteFile(ini, before);
    const bool registered = appshell::LinkMenuEntryRegistered();
    auto d = Open();
    Click(d.get(), 1113);
    Click(d.get(), 1118);
    Click(d.get(), 1116);
    EXPECT_EQ(d->result(), 0);
    EXPECT_EQ(IniBytes(), before);
    EXPECT_EQ(appshell::LinkMenuEntryRegistered(), registered);
}

TEST_F(OtherSettings, LinkEntryCheckRegistersAndRemoves) {
    auto d = Open();
    auto* entry = Ctl<QCheckBox>(d.get(), 1118);
    EXPECT_EQ(entry->isChecked(), appshell::LinkMenuEntryRegistered());
    if (!entry->isChecked()) entry->click();
    Click(d.get(), 1115);
    if (!appshell::LinkMenuEntryRegistered()) GTEST_SKIP() << "the shell cannot register the entry here";

    auto again = Open();
    EXPECT_TRUE(Ctl<QCheckBox>(again.get(), 1118)->isChecked());
    Click(again.get(), 1118);
    Click(again.get(), 1115);
    EXPECT_FALSE(appshell::LinkMenuEntryRegistered());
}

TEST_F(OtherSettings, LanguageChoiceIsSavedAndReadBack) {
    Sandbox::WriteFile(ini, "[WholeOption]\r\nWhlMode=3\r\n");
    auto d = Open();
    EXPECT_EQ(Language(d.get()), "auto");
    ChooseLanguage(d.get(), "en");
    Click(d.get(), 1115);
    EXPECT_EQ(records::ReadUiLanguageSetting(ini), "en");
    EXPECT_EQ(records::ReadWhlMode(ini), 3u);

    auto again = Open();
    EXPECT_EQ(Language(again.get()), "en");
    ChooseLanguage(again.get(), "auto");
    Click(again.get(), 1116);  // キャンセル writes nothing
    EXPECT_EQ(records::ReadUiLanguageSetting(ini), "en");
}

}  // namespace
