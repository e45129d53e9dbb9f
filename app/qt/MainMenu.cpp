#include "app/qt/MainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "platform/qt/UiText.h"

namespace appqt {

namespace {

struct Item {
    const char* caption;  // nullptr: separator
    int id;
};

void AddMenu(QMenuBar* bar, const char* title, const std::vector<Item>& items,
             const std::function<void(int)>& onCommand) {
    QMenu* menu = bar->addMenu(platformqt::Ui(title));
    for (const Item& item : items) {
        if (!item.caption) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(platformqt::Ui(item.caption));
        action->setData(item.id);
        const int id = item.id;
        QObject::connect(action, &QAction::triggered, bar, [onCommand, id] { onCommand(id); });
    }
}

}  // namespace

void BuildInputMenuBar(QMenuBar* bar, bool catalogueInstalled, const std::function<void(int)>& onCommand) {
    bar->clear();
    std::vector<Item> file = {{QT_TRANSLATE_NOOP("UiText", "新規起動(&N)"), CmdNewSitrova},
                              {QT_TRANSLATE_NOOP("UiText", "更新チェックファイル（*.qdx）を開く(&O)"), CmdOpenQdx},
                              {QT_TRANSLATE_NOOP("UiText", "バナー広告等を削除(&D)"), CmdAdRemoval},
                              {nullptr, 0},
                              {QT_TRANSLATE_NOOP("UiText", "ダウンロード開始"), CmdStartSave},
                              {QT_TRANSLATE_NOOP("UiText", "バッチに追加"), CmdAddToBatch},
                              {QT_TRANSLATE_NOOP("UiText", "バッチを実行"), CmdRunBatch},
                              {nullptr, 0},
                              {QT_TRANSLATE_NOOP("UiText", "スケジューラを起動(&S)"), CmdScheduler}};
    // The catalogue item is offered only when the catalogue program is installed.
    if (catalogueInstalled) file.push_back({QT_TRANSLATE_NOOP("UiText", "管理ツール[QdxSuite] を起動(&M)"), CmdCatalogue});
    file.push_back({nullptr, 0});
    file.push_back({QT_TRANSLATE_NOOP("UiText", "Sitrova の終了(&C)"), CmdQuit});
    AddMenu(bar, QT_TRANSLATE_NOOP("UiText", "ファイル(&F)"), file, onCommand);
    AddMenu(bar, QT_TRANSLATE_NOOP("UiText", "設定(&O)"),
            {{QT_TRANSLATE_NOOP("UiText", "CPU占有率設定(&C)"), CmdCpuLevel},
             {nullptr, 0},
             {QT_TRANSLATE_NOOP("UiText", "保存先履歴消去(&L)"), CmdClearHistory},
             {nullptr, 0},
             {QT_TRANSLATE_NOOP("UiText", "サイト保存の環境編集(&S)"), CmdSiteSaveSettings},
             {QT_TRANSLATE_NOOP("UiText", "連番保存の環境編集(&G)"), CmdSerialSettings},
             {QT_TRANSLATE_NOOP("UiText", "Qdxファイルの環境編集(&F)"), CmdQdxFileSettings},
             {QT_TRANSLATE_NOOP("UiText", "その他の環境編集"), CmdOtherSettings},
             {QT_TRANSLATE_NOOP("UiText", "Web の環境編集(&W)"), CmdWebSettings}},
            onCommand);
    AddMenu(bar, QT_TRANSLATE_NOOP("UiText", "ヘルプ(&H)"),
            {{QT_TRANSLATE_NOOP("UiText", "ヘルプファイル(&H)"), CmdHelp},
             {QT_TRANSLATE_NOOP("UiText", "What's Qdxファイル？(&C)"), CmdQdxHelp},
             {QT_TRANSLATE_NOOP("UiText", "Read me ファイル(&R)"), CmdReadMe},
             {nullptr, 0},
             {QT_TRANSLATE_NOOP("UiText", "バージョン情報(&A)"), CmdVersion}},
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
