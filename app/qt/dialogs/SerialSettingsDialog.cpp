// "連番保存の環境編集": error handling of the serial save, its close option, and the list of the
// download-check plug-ins found beside the program.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include "download/PlugInHost.h"
#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "platform/qt/QtText.h"
#include "records/Settings.h"

namespace appqt {

namespace {

struct SerialControls {
    QSpinBox* timeOut = nullptr;  // 1053
    QSpinBox* retries = nullptr;  // 1057
    QSpinBox* wait = nullptr;     // 1061
    QCheckBox* close = nullptr;   // 1064
};

QSpinBox* NewSpin(QWidget* parent, int id, int low, int high) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(ControlName(id));
    spin->setRange(low, high);
    return spin;
}

void ShowValues(const SerialControls& c, const records::SeriesErrorSettings& s, bool close) {
    c.timeOut->setValue(s.receiveTimeOutSec);
    c.retries->setValue(s.retryCount);
    c.wait->setValue(s.waitSec);
    c.close->setChecked(close);
}

QGroupBox* ErrorGroup(QDialog* d, SerialControls& c) {
    QGroupBox* group = NewGroup(d, 1050, QT_TRANSLATE_NOOP("UiText", "ダウンロード中のエラー処理"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(NewLabel(group, 0, QT_TRANSLATE_NOOP("UiText", "受信タイムアウト（エラー判定） ：")), 0, 0);
    grid->addWidget(c.timeOut = NewSpin(group, 1053, 30, 300), 0, 1);
    grid->addWidget(NewLabel(group, 0, QT_TRANSLATE_NOOP("UiText", "秒")), 0, 2);
    grid->addWidget(NewLabel(group, 0, QT_TRANSLATE_NOOP("UiText", "受信中エラー時のリトライ回数 ：")), 1, 0);
    grid->addWidget(c.retries = NewSpin(group, 1057, 0, 256), 1, 1);
    grid->addWidget(NewLabel(group, 0, QT_TRANSLATE_NOOP("UiText", "回")), 1, 2);
    grid->addWidget(NewLabel(group, 0, QT_TRANSLATE_NOOP("UiText", "リトライまでの待機時間 ：")), 2, 0);
    grid->addWidget(c.wait = NewSpin(group, 1061, 30, 300), 2, 1);
    grid->addWidget(NewLabel(group, 0, QT_TRANSLATE_NOOP("UiText", "秒")), 2, 2);
    return group;
}

QGroupBox* EndGroup(QDialog* d, SerialControls& c) {
    ColumnGroup group(d, 1051, QT_TRANSLATE_NOOP("UiText", "終了時の処理"));
    c.close = group.Check(1064, QT_TRANSLATE_NOOP("UiText", "連番保存の終了通知後は、そのまま"));
    group.Continuation(1068, QT_TRANSLATE_NOOP("UiText", "窓を閉じる"));
    return group.Group();
}

// Each check of the plug-ins beside the program, by its display name.
QGroupBox* PlugInGroup(QDialog* d, const std::string& programFolder) {
    QGroupBox* group = NewGroup(d, 1069, QT_TRANSLATE_NOOP("UiText", "判定プラグイン"));
    auto* box = new QVBoxLayout(group);
    box->addWidget(NewLabel(group, 0, QT_TRANSLATE_NOOP("UiText", "NotFound検出")));
    auto* list = new QListWidget(group);
    list->setObjectName(ControlName(1071));
    for (const std::string& item : download::ProgramPlugInListItems(programFolder)) list->addItem(platformqt::ToQ(item));
    list->setMinimumWidth(160);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->addWidget(list);
    return group;
}

}  // namespace

QDialog* CreateSerialSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder) {
    QDialog* d = NewDialog(owner, "InitializeSrsFile", QT_TRANSLATE_NOOP("UiText", "連番保存の環境編集"));
    auto c = SerialControls{};
    auto* grid = new QGridLayout(d);
    grid->addWidget(ErrorGroup(d, c), 0, 0);
    grid->addWidget(EndGroup(d, c), 1, 0);
    grid->addWidget(PlugInGroup(d, programFolder), 0, 1, 2, 1);

    const auto save = [c, iniPath](std::string& error) {
        // A field left half-typed falls back to its last valid number, so only numbers
        // within the field's range reach the file.
        auto text = [](QSpinBox* spin) { return std::to_string(spin->value()); };
        if (!records::SaveSeriesOption(iniPath, c.close->isChecked(), &error)) return 0;
        return records::SaveSeriesError(iniPath, text(c.timeOut), text(c.retries), text(c.wait), &error);
    };
    const auto showDefaults = [c] { ShowValues(c, records::SeriesErrorSettings{}, false); };
    grid->addLayout(NewSettingsButtons(d, {.ok = 1065, .cancel = 1066, .help = 1072, .defaults = 1067}, programFolder,
                                       "/2008320105954514.htm", save, showDefaults),
                    2, 0, 1, 2);

    ShowValues(c, records::ReadSeriesError(iniPath), records::ReadSrsMode(iniPath) & records::kSrsCloseAfterNotice);
    FinishDialog(d, 480, 360);
    return d;
}

}  // namespace appqt
