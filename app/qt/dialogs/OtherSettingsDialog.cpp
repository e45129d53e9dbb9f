// "その他の環境設定": how dropped HTML files are handled (WhlMode) and the browsers' link menu
// entry that hands a link to Sitrova.
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "app/shell/Shell.h"
#include "records/Settings.h"

namespace appqt {

QDialog* CreateOtherSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder) {
    QDialog* d = NewDialog(owner, "InitializeOther", "その他の環境設定");
    auto* box = new QVBoxLayout(d);

    QGroupBox* drop = NewGroup(d, 1111, "ドロップファイルの処理");
    auto* dropBox = new QVBoxLayout(drop);
    QCheckBox* alwaysRemove = NewCheck(drop, 1113, "HTMLファイルならば、常に広告削除を実行する。");
    dropBox->addWidget(alwaysRemove);
    box->addWidget(drop);

    QGroupBox* removal = NewGroup(d, 1112, "広告削除の動作設定");
    auto* removalBox = new QVBoxLayout(removal);
    QCheckBox* closeWhenDone = NewCheck(removal, 1114, "終了時は確認せずに閉じる。");
    removalBox->addWidget(closeWhenDone);
    box->addWidget(removal);

    // The caption names the browser the entry was first made for; here it reaches the
    // desktop's browsers.
    QGroupBox* menu = NewGroup(d, 1117, "Internet Explorer への登録");
    menu->setToolTip(QStringLiteral("デスクトップのブラウザーのリンクメニューに登録します。"));
    auto* menuBox = new QVBoxLayout(menu);
    QCheckBox* linkEntry = NewCheck(menu, 1118, "リンクを右クリック時に、「Sitrova で保存」を追加する。");
    menuBox->addWidget(linkEntry);
    box->addWidget(menu);
    box->addStretch();

    QPushButton* ok = NewButton(d, 1115, "OK");
    QPushButton* cancel = NewButton(d, 1116, "キャンセル");
    QPushButton* help = NewButton(d, 1119, "HELP");
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    box->addLayout(buttons);

    const uint32_t whl = records::ReadWhlMode(iniPath);
    alwaysRemove->setChecked(whl & records::kWhlAlwaysRemoveAds);
    closeWhenDone->setChecked(whl & records::kWhlCloseWhenDone);
    linkEntry->setChecked(appshell::LinkMenuEntryRegistered());

    QObject::connect(ok, &QPushButton::clicked, d, [=] {
        std::string error;
        if (!records::SaveWholeOption(iniPath, alwaysRemove->isChecked(), closeWhenDone->isChecked(), &error)) {
            ShowSaveError(d, error);
            return;
        }
        if (linkEntry->isChecked())
            (void)appshell::RegisterLinkMenuEntry(programFolder);
        else
            (void)appshell::RemoveLinkMenuEntry(programFolder);
        d->done(1);
    });
    QObject::connect(cancel, &QPushButton::clicked, d, [d] { d->done(0); });
    ConnectHelp(help, d, programFolder, "/20083201102245.htm");
    FinishDialog(d, 480, 360);
    return d;
}

}  // namespace appqt
