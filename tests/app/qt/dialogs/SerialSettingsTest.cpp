#include <QCheckBox>
#include <QListWidget>
#include <QSpinBox>

#include "platform/FileUtil.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "records/Settings.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"

using dialogtest::DialogTest;
using testsupport::Sandbox;

namespace {

class SerialSettings : public DialogTest {
protected:
    std::unique_ptr<QDialog> Open() {
        return std::unique_ptr<QDialog>(appqt::CreateSerialSettingsDialog(nullptr, ini, programFolder));
    }
};

TEST_F(SerialSettings, OkWritesTheFieldsAndTheCloseBit) {
    Sandbox::WriteFile(ini, "[SeriesOption]\r\nSrsMode=244\r\n");  // 0xF4: only the low nibble is the dialog's
    auto d = Open();
    Ctl<QSpinBox>(d.get(), 1053)->setValue(120);
    Ctl<QSpinBox>(d.get(), 1057)->setValue(0);
    Ctl<QSpinBox>(d.get(), 1061)->setValue(300);
    Click(d.get(), 1064);
    Click(d.get(), 1065);
    EXPECT_EQ(d->result(), 1);
    EXPECT_EQ(IniBytes(), "[SeriesOption]\r\nSrsMode=241\r\n"
                          "[SeriesError]\r\nReceiveTimeOutSec=120\r\nRetryCount=0\r\nWaitSec=300\r\n");
}

TEST_F(SerialSettings, FieldsKeepToTheirRanges) {
    struct Case {
        int id;
        int low, high;
    };
    auto d = Open();
    for (const Case& c : {Case{1053, 30, 300}, Case{1057, 0, 256}, Case{1061, 30, 300}}) {
        auto* spin = Ctl<QSpinBox>(d.get(), c.id);
        EXPECT_EQ(spin->minimum(), c.low) << c.id;
        EXPECT_EQ(spin->maximum(), c.high) << c.id;
    }
}

TEST_F(SerialSettings, DefaultsAreSixtyThreeThirtyAndTheCheckClear) {
    Sandbox::WriteFile(ini, "[SeriesOption]\r\nSrsMode=1\r\n[SeriesError]\r\nReceiveTimeOutSec=100\r\nRetryCount=10\r\n"
                            "WaitSec=200\r\n");
    auto d = Open();
    EXPECT_EQ(Ctl<QSpinBox>(d.get(), 1053)->value(), 100);
    EXPECT_EQ(Ctl<QSpinBox>(d.get(), 1057)->value(), 10);
    EXPECT_EQ(Ctl<QSpinBox>(d.get(), 1061)->value(), 200);
    EXPECT_TRUE(Ctl<QCheckBox>(d.get(), 1064)->isChecked());
    Click(d.get(), 1067);
    Click(d.get(), 1065);
    EXPECT_EQ(IniBytes(), "[SeriesOption]\r\nSrsMode=0\r\n"
                          "[SeriesError]\r\nReceiveTimeOutSec=60\r\nRetryCount=3\r\nWaitSec=30\r\n");
}

TEST_F(SerialSettings, CancelWritesNothing) {
    const std::string before = "[SeriesError]\r\nRetryCount=7\r\n";
    Sandbox::WriteFile(ini, before);
    auto d = Open();
    Ctl<QSpinBox>(d.get(), 1057)->setValue(9);
    Click(d.get(), 1067);
    Click(d.get(), 1066);
    EXPECT_EQ(d->result(), 0);
    EXPECT_EQ(IniBytes(), before);
}

TEST_F(SerialSettings, PlugInListShowsTheChecksOfThePlugInsBesideTheProgram) {
    EXPECT_EQ(Ctl<QListWidget>(Open().get(), 1071)->count(), 0);
    ASSERT_TRUE(platform::CopyFile(std::string(SITROVA_BIN_DIR) + "/Sitg_PlgIn_NotFound.qdi", box / "Sitg_PlgIn_NotFound.qdi"));
    Sandbox::WriteFile(box / "broken.qdi", "no library");
    Sandbox::WriteFile(box / "notes.txt", "x");
    auto d = Open();
    auto* list = Ctl<QListWidget>(d.get(), 1071);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("画像ファイルヘッダチェック ( ./Sitg_PlgIn_NotFound.qdi)"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Zipファイルヘッダチェック ( ./Sitg_PlgIn_NotFound.qdi)"));
}

}  // namespace
