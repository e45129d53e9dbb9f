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
    std::vector<Item> file = {{"新規起動(&N)", 24}, {"更新チェックファイル（*.qdx）を開く(&O)", 16},
                              {"バナー広告等を削除(&D)", 18}, {nullptr, 0}, {"ダウンロード開始", 26},
                              {"バッチに追加", 27}, {"バッチを実行", 28}, {nullptr, 0}, {"スケジューラを起動(&S)", 21}};
    // The catalogue item is offered only when the catalogue program is installed.
    if (catalogueInstalled) file.push_back({"管理ツール[QdxSuite] を起動(&M)", 22});
    file.push_back({nullptr, 0});
    file.push_back({"Sitrova の終了(&C)", 19});
    AddMenu(bar, "ファイル(&F)", file, onCommand);
    AddMenu(bar, "設定(&O)",
            {{"CPU占有率設定(&C)", 11}, {nullptr, 0}, {"保存先履歴消去(&L)", 12}, {nullptr, 0},
             {"サイト保存の環境編集(&S)", 13}, {"連番保存の環境編集(&G)", 14}, {"Qdxファイルの環境編集(&F)", 25},
             {"その他の環境編集", 15}},
            onCommand);
    AddMenu(bar, "ヘルプ(&H)",
            {{"ヘルプファイル(&H)", 17}, {"What's Qdxファイル？(&C)", 20}, {"Read me ファイル(&R)", 23}, {nullptr, 0},
             {"バージョン情報(&A)", 10}},
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
