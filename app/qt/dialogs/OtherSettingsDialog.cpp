// "その他の環境設定": how dropped HTML files are handled (WhlMode) and the browsers' link menu
// entry that hands a link to Sitrova.
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "app/shell/Shell.h"
#include "records/Settings.h"

namespace appqt {

QDialog* CreateOtherSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder) {
    QDialog* d = NewDialog(owner, "InitializeOther", "その他の環境設定");
    auto* box = new QVBoxLayout(d);

    ColumnGroup drop(d, 1111, "ドロップファイルの処理");
    QCheckBox* alwaysRemove = drop.Check(1113, "HTMLファイルならば、常に広告削除を実行する。");
    box->addWidget(drop.Group());

    ColumnGroup removal(d, 1112, "広告削除の動作設定");
    QCheckBox* closeWhenDone = removal.Check(1114, "終了時は確認せずに閉じる。");
    box->addWidget(removal.Group());

    // The caption names the browser the entry was first made for; here it reaches the
    // desktop's browsers.
    ColumnGroup menu(d, 1117, "Internet Explorer への登録");
    menu.Group()->setToolTip(QStringLiteral("デスクトップのブラウザーのリンクメニューに登録します。"));
    QCheckBox* linkEntry = menu.Check(1118, "リンクを右クリック時に、「Sitrova で保存」を追加する。");
    box->addWidget(menu.Group());
    box->addStretch();

    const auto save = [=](std::string& error) {
        if (!records::SaveWholeOption(iniPath, alwaysRemove->isChecked(), closeWhenDone->isChecked(), &error)) return 0;
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
    FinishDialog(d, 480, 360);
    return d;
}

}  // namespace appqt
