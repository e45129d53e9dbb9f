#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "app/qt/dialogs/SettingsDialogs.h"
#include "records/Settings.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"

using dialogtest::DialogTest;
using testsupport::Sandbox;

namespace {

class SiteSaveSettings : public DialogTest {
protected:
    std::unique_ptr<QDialog> Open() {
        return std::unique_ptr<QDialog>(appqt::CreateSiteSaveSettingsDialog(nullptr, ini, programFolder));
    }
};

// Bits the dialog does not own, plus bit 0x1 which it owns but has no control for.
constexpr uint32_t kForeign = 0x8000000 | 0x2000000 | 0x40;

TEST_F(SiteSaveSettings, EachControlSetsItsBitAndForeignBitsSurvive) {
    struct Case {
        std::vector<int> clicks;
        uint32_t bits;
    };
    const Case cases[] = {
        {{}, 0},
        {{1031}, 0x100},
        {{1032}, 0x200},
        {{1034}, 0x10},
        {{1035}, 0x20},
        {{1034, 1033}, 0},
        {{1036}, 0x4000},  // ticked clears the bit; it starts ticked here
        {{1038}, 0x8000},
        {{1038, 1037}, 0x18000},
        {{1044}, 0x80000},
        {{1045}, 0x100000},
        {{1046}, 0x800000},
        {{1047}, 0x1000000},  // ticked clears the bit, like 1036
    };
    for (const Case& c : cases) {
        Sandbox::WriteFile(ini, "[BasicOption]\r\nDefMode=" + std::to_string(kForeign | 0x1) + "\r\n");
        auto d = Open();
        for (int id : c.clicks) Click(d.get(), id);
        Click(d.get(), 1039);
        EXPECT_EQ(d->result(), 1);
        EXPECT_EQ(records::ReadDefMode(ini), kForeign | c.bits) << "first click " << (c.clicks.empty() ? 0 : c.clicks[0]);
    }
}

TEST_F(SiteSaveSettings, OkOnAFreshInstallWritesBasicOptionOnly) {
    auto d = Open();
    Click(d.get(), 1039);
    EXPECT_EQ(d->result(), 1);
    // The default 1164033 loses bit 0x1, which no control shows.
    EXPECT_EQ(IniBytes(), "[BasicOption]\r\nDefMode=1164032\r\nBlogCutOff=5\r\n");
}

TEST_F(SiteSaveSettings, BlogDepthCheckWritesFiveOrUnlimited) {
    struct Case {
        const char* stored;
        bool initiallyTicked;
        bool click;
        int written;
    };
    const Case cases[] = {
        {"", true, false, 5},
        {"BlogCutOff=5\r\n", true, true, 65535},
        {"BlogCutOff=65535\r\n", false, false, 65535},
        {"BlogCutOff=65535\r\n", false, true, 5},
    };
    for (const Case& c : cases) {
        Sandbox::WriteFile(ini, std::string("[BasicOption]\r\n") + c.stored);
        auto d = Open();
        auto* blog = Ctl<QCheckBox>(d.get(), 1049);
        EXPECT_EQ(blog->isChecked(), c.initiallyTicked) << c.stored;
        if (c.click) blog->click();
        Click(d.get(), 1039);
        EXPECT_EQ(records::ReadBlogCutOff(ini), c.written) << c.stored;
    }
}

TEST_F(SiteSaveSettings, CloseWithoutAskingEnablesOrClearsOpenWhenDone) {
    auto d = Open();  // defaults: both ticked
    auto* closeNoAsk = Ctl<QCheckBox>(d.get(), 1038);
    auto* openWhenDone = Ctl<QCheckBox>(d.get(), 1037);
    ASSERT_TRUE(closeNoAsk->isChecked());
    ASSERT_TRUE(openWhenDone->isChecked());
    EXPECT_TRUE(openWhenDone->isEnabled());
    closeNoAsk->click();
    EXPECT_FALSE(openWhenDone->isChecked());
    EXPECT_FALSE(openWhenDone->isEnabled());
    closeNoAsk->click();
    EXPECT_TRUE(openWhenDone->isEnabled());
    EXPECT_FALSE(openWhenDone->isChecked());
}

TEST_F(SiteSaveSettings, OpeningKeepsAStoredOpenWhenDoneEvenWithoutCloseWithoutAsking) {
    Sandbox::WriteFile(ini, "[BasicOption]\r\nDefMode=65536\r\n");  // 0x10000 without 0x8000
    auto d = Open();
    EXPECT_TRUE(Ctl<QCheckBox>(d.get(), 1037)->isChecked());
    EXPECT_FALSE(Ctl<QCheckBox>(d.get(), 1037)->isEnabled());
    Click(d.get(), 1039);
    EXPECT_EQ(records::ReadDefMode(ini) & 0x18000u, 0x10000u);
}

TEST_F(SiteSaveSettings, DefaultsSetTheControlsOfTheDefaultWord) {
    Sandbox::WriteFile(ini, "[BasicOption]\r\nDefMode=" + std::to_string(kForeign | 0x1000020) + "\r\nBlogCutOff=65535\r\n");
    auto d = Open();
    EXPECT_TRUE(Ctl<QRadioButton>(d.get(), 1035)->isChecked());
    Click(d.get(), 1041);
    EXPECT_TRUE(Ctl<QRadioButton>(d.get(), 1033)->isChecked());
    EXPECT_TRUE(Ctl<QCheckBox>(d.get(), 1037)->isEnabled());
    Click(d.get(), 1039);
    EXPECT_EQ(records::ReadDefMode(ini), kForeign | (records::kDefModeDefault & ~0x1u));
    EXPECT_EQ(records::ReadBlogCutOff(ini), 65535);  // not a DefMode control
}

TEST_F(SiteSaveSettings, CancelAndCloseWriteNothing) {
    const std::string before = "[BasicOption]\r\nDefMode=16\r\nBlogCutOff=65535\r\n[Other]\r\nX=1\r\n";
    Sandbox::WriteFile(ini, before);
    auto d = Open();
    Click(d.get(), 1031);
    Click(d.get(), 1049);
    Click(d.get(), 1041);
    Click(d.get(), 1040);
    EXPECT_EQ(d->result(), 0);
    EXPECT_EQ(IniBytes(), before);

    auto second = Open();
    Click(second.get(), 1041);
    second->show();
    second->close();
    EXPECT_EQ(second->result(), 0);
    EXPECT_EQ(IniBytes(), before);
}

}  // namespace

TEST_F(SiteSaveSettings, NotFoundCheckIsOneBoxWithItsTwoLinesTogether) {
    auto d = Open();
    d->show();
    QApplication::processEvents();
    auto* notFound = Ctl<QCheckBox>(d.get(), 1047);
    auto* blog = Ctl<QCheckBox>(d.get(), 1049);
    ASSERT_TRUE(notFound && blog);
    EXPECT_EQ(notFound->text(), QStringLiteral("タイトルに「404」を含むページを\nNotFoundとして扱う"));
    EXPECT_EQ(d->findChildren<QLabel*>().size(), 0);  // no loose line of text in the group
    // The next check follows right below: no gap where a loose line could float.
    EXPECT_LT(blog->geometry().top() - notFound->geometry().bottom(), 24);
    EXPECT_GE(notFound->height(), 2 * notFound->fontMetrics().height());
}
