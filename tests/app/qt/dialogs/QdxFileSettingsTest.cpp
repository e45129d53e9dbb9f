#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "app/shell/Shell.h"
#include "platform/qt/QtText.h"
#include "records/Settings.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"

using dialogtest::DialogTest;
using testsupport::Sandbox;

namespace {

class QdxFileSettings : public DialogTest {
protected:
    std::unique_ptr<QDialog> Open() {
        if (!hooks.associationState) hooks.associationState = [this](std::string* name) {
            if (name) *name = otherName;
            return state;
        };
        if (!hooks.changeAssociation) hooks.changeAssociation = [](bool remove) { return remove ? 0x20000 : 512; };
        if (!hooks.defaultHtmlHandler) hooks.defaultHtmlHandler = [] { return std::string("test-browser.desktop"); };
        return std::unique_ptr<QDialog>(appqt::CreateQdxFileSettingsDialog(nullptr, ini, programFolder, hooks));
    }
    appqt::QdxFileDialogHooks hooks;
    int state = 1;
    std::string otherName;
};

TEST_F(QdxFileSettings, AStoredBrowserIsShownAndWrittenBack) {
    const std::string browser = box / "browser.bin";
    Sandbox::WriteFile(browser, "x");
    Sandbox::WriteFile(ini, "[BasicOption]\r\nDefMode=3\r\nBlogCutOff=65535\r\n[QdxDirectBrowse]\r\nBrowserPath=" + browser +
                                "\r\n");
    auto d = Open();
    EXPECT_FALSE(Ctl<QCheckBox>(d.get(), 1078)->isChecked());
    EXPECT_EQ(platformqt::FromQ(Ctl<QComboBox>(d.get(), 1080)->currentText()), browser);
    EXPECT_FALSE(Ctl<QCheckBox>(d.get(), 1082)->isChecked());
    Click(d.get(), 1082);
    Click(d.get(), 1076);
    EXPECT_EQ(d->result(), 1);
    EXPECT_EQ(IniBytes(), "[BasicOption]\r\nDefMode=" + std::to_string(3 | 0x8000000) +
                              "\r\nBlogCutOff=65535\r\n[QdxDirectBrowse]\r\nBrowserPath=" + browser + "\r\n");
}

TEST_F(QdxFileSettings, WithoutABrowserTheDefaultHandlerIsChosenAndNoPathIsWritten) {
    Sandbox::WriteFile(ini, "[BasicOption]\r\nDefMode=134217728\r\n");  // 0x8000000 alone
    auto d = Open();
    EXPECT_TRUE(Ctl<QCheckBox>(d.get(), 1078)->isChecked());
    EXPECT_EQ(Ctl<QComboBox>(d.get(), 1080)->currentText(), QStringLiteral("test-browser.desktop"));
    EXPECT_FALSE(Ctl<QComboBox>(d.get(), 1080)->isEnabled());
    EXPECT_TRUE(Ctl<QCheckBox>(d.get(), 1082)->isChecked());
    Click(d.get(), 1082);
    Click(d.get(), 1076);
    EXPECT_EQ(d->result(), 1);
    // BlogCutOff stays absent; the browser section is left without keys.
    EXPECT_EQ(IniBytes(), "[BasicOption]\r\nDefMode=0\r\n[QdxDirectBrowse]\r\n");
}

TEST_F(QdxFileSettings, ABrowserThatIsNoFileIsRefusedAndNothingIsSaved) {
    const std::string before = "[BasicOption]\r\nDefMode=5\r\n";
    Sandbox::WriteFile(ini, before);
    Sandbox::WriteFile(box / "sub/keep", "x");
    for (const std::string& entry : {box / "missing.bin", box / "sub", std::string()}) {
        auto d = Open();
        Click(d.get(), 1078);
        Ctl<QComboBox>(d.get(), 1080)->setCurrentText(platformqt::ToQ(entry));
        testing::internal::CaptureStderr();
        Click(d.get(), 1076);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("[Sitrova] 設定が正しくありません。"), std::string::npos) << entry << ": " << said;
        EXPECT_EQ(d->result(), 0);
        EXPECT_EQ(IniBytes(), before);
    }
}

TEST_F(QdxFileSettings, CancelWritesNothing) {
    auto d = Open();
    Click(d.get(), 1082);
    Click(d.get(), 1084);
    EXPECT_EQ(d->result(), 0);
    EXPECT_EQ(IniBytes(), "<none>");
}

TEST_F(QdxFileSettings, AssociationLabelAndButtonFollowTheState) {
    struct Case {
        int state;
        const char* other;
        const char* label;
        const char* button;
    };
    const Case cases[] = {
        {2, "OtherApp",
         "Qdxファイル（*.qdx）は現在[OtherApp]に関連付けられています。\nこれを解除して、このアプリケーションに関連付けることができます。",
         "関連付けを行う"},
        {2, "",
         "Qdxファイル（*.qdx）は別のアプリケーションに関連付けられています。\nこれを解除して、このアプリケーションに関連付けることができます。",
         "関連付けを行う"},
        {8, "", "Qdxファイル（*.qdx）は、\nこのアプリケーションに関連付けられています。", "*.qdx の関連付けを解除する"},
        {1, "", "Qdxファイル（*.qdx）を、\nこのアプリケーションに関連付けることができます。", "関連付けを行う"},
        {6, "x", "Qdxファイル（*.qdx）を、\nこのアプリケーションに関連付けることができます。", "関連付けを行う"},
    };
    for (const Case& c : cases) {
        state = c.state;
        otherName = c.other;
        auto d = Open();
        EXPECT_EQ(platformqt::FromQ(Ctl<QLabel>(d.get(), 1074)->text()), c.label) << c.state;
        auto* button = Ctl<QPushButton>(d.get(), 1075);
        EXPECT_EQ(platformqt::FromQ(button->text()), c.button) << c.state;
        EXPECT_EQ(button->property("userData").toInt(), c.state == 8 ? 1 : 0) << c.state;
    }
}

TEST_F(QdxFileSettings, AssociationButtonRegistersOrRemovesAndRefreshes) {
    std::vector<bool> calls;
    hooks.changeAssociation = [&](bool remove) {
        calls.push_back(remove);
        state = remove ? 1 : 8;
        return remove ? 0x20000 : 512;
    };
    auto d = Open();
    Click(d.get(), 1075);
    EXPECT_EQ(Ctl<QLabel>(d.get(), 1074)->text(), platformqt::ToQLines(appshell::AssociationLabel(8, "")));
    EXPECT_EQ(Ctl<QPushButton>(d.get(), 1075)->property("userData").toInt(), 1);
    Click(d.get(), 1075);
    EXPECT_EQ(Ctl<QPushButton>(d.get(), 1075)->property("userData").toInt(), 0);
    EXPECT_EQ(calls, (std::vector<bool>{false, true}));
    EXPECT_EQ(d->result(), 0);  // the button does not end the dialog
}

TEST_F(QdxFileSettings, AFailedChangeOffersTheElevatedRestart) {
    const std::string report = appshell::AssociationErrorReport(64);
    if (report.empty()) GTEST_SKIP() << "the shell gives no report for a failed registration";
    for (bool accept : {false, true}) {
        std::string asked;
        hooks.changeAssociation = [](bool) { return 64; };
        hooks.askRestart = [&](QWidget*, const std::string& text) {
            asked = text;
            return accept;
        };
        auto d = Open();
        Click(d.get(), 1075);
        EXPECT_EQ(asked, report);
        EXPECT_EQ(d->result(), accept ? appqt::kDialogRestartElevated : 0);
        EXPECT_EQ(IniBytes(), "<none>");
    }
}

}  // namespace
