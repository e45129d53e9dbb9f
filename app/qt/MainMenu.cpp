#include "app/qt/MainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace appqt {

namespace {

struct Item {
    const char* caption;  // nullptr: separator
    int id;
};

void AddMenu(QMenuBar* bar, const char* title, const std::vector<Item>& items,
             const std::function<void(int)>& onCommand) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    for (const Item& item : items) {
        if (!item.caption) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.caption));
        action->setData(item.id);
        const int id = item.id;
        QObject::connect(action, &QAction::triggered, bar, [onCommand, id] { onCommand(id); });
    }
}

}  // namespace

void BuildInputMenuBar(QMenuBar* bar, bool catalogueInstalled, const std::function<void(int)>& onCommand) {
    bar->clear();
    std::vector<Item> file = {{"新規起動(&N)", CmdNewSitrova},
                              {"更新チェックファイル（*.qdx）を開く(&O)", CmdOpenQdx},
                              {"バナー広告等を削除(&D)", CmdAdRemoval},
                              {nullptr, 0},
                              {"ダウンロード開始", CmdStartSave},
                              {"バッチに追加", CmdAddToBatch},
                              {"バッチを実行", CmdRunBatch},
                              {nullptr, 0},
                              {"スケジューラを起動(&S)", CmdScheduler}};
    // The catalogue item is offered only when the catalogue program is installed.
    if (catalogueInstalled) file.push_back({"管理ツール[QdxSuite] を起動(&M)", CmdCatalogue});
    file.push_back({nullptr, 0});
    file.push_back({"Sitrova の終了(&C)", CmdQuit});
    AddMenu(bar, "ファイル(&F)", file, onCommand);
    AddMenu(bar, "設定(&O)",
            {{"CPU占有率設定(&C)", CmdCpuLevel},
             {nullptr, 0},
             {"保存先履歴消去(&L)", CmdClearHistory},
             {nullptr, 0},
             {"サイト保存の環境編集(&S)", CmdSiteSaveSettings},
             {"連番保存の環境編集(&G)", CmdSerialSettings},
             {"Qdxファイルの環境編集(&F)", CmdQdxFileSettings},
             {"その他の環境編集", CmdOtherSettings},
             {"Web の環境編集(&W)", CmdWebSettings}},
            onCommand);
    AddMenu(bar, "ヘルプ(&H)",
            {{"ヘルプファイル(&H)", CmdHelp},
             {"What's Qdxファイル？(&C)", CmdQdxHelp},
             {"Read me ファイル(&R)", CmdReadMe},
             {nullptr, 0},
             {"バージョン情報(&A)", CmdVersion}},
            onCommand);
}

QAction* FindCommand(QMenuBar* bar, int id) {
    for (QAction* top : bar->actions()) {
        if (!top->menu()) continue;
        for (QAction* action : top->menu()->actions())
            if (!action->isSeparator() && action->data().toInt() == id) return action;
    }
    return nullptr;
}

void GrayCommands(QMenuBar* bar, std::initializer_list<int> ids) {
    for (int id : ids)
        if (QAction* action = FindCommand(bar, id)) action->setEnabled(false);
}

}  // namespace appqt
