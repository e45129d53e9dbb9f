// The menu bar of the main window. Every item carries its command identifier.
#pragma once

#include <functional>
#include <initializer_list>

class QMenuBar;
class QAction;

namespace appqt {

// The command identifiers of the main window's menu items. The saved-site view and the
// progress view answer some of the same numbers with their own items.
enum MenuCommand : int {
    CmdVersion = 10,
    CmdCpuLevel = 11,
    CmdClearHistory = 12,
    CmdSiteSaveSettings = 13,
    CmdSerialSettings = 14,
    CmdOtherSettings = 15,
    CmdOpenQdx = 16,
    CmdHelp = 17,
    CmdAdRemoval = 18,
    CmdQuit = 19,
    CmdQdxHelp = 20,
    CmdScheduler = 21,
    CmdCatalogue = 22,
    CmdReadMe = 23,
    CmdNewSitrova = 24,
    CmdQdxFileSettings = 25,
    CmdStartSave = 26,
    CmdAddToBatch = 27,
    CmdRunBatch = 28,
    CmdWebSettings = 29,
};

// Builds the input view's menu bar. `onCommand` receives the identifier of a chosen item.
void BuildInputMenuBar(QMenuBar* bar, bool catalogueInstalled, const std::function<void(int)>& onCommand);

// The item with that identifier, or nullptr.
QAction* FindCommand(QMenuBar* bar, int id);
void GrayCommands(QMenuBar* bar, std::initializer_list<int> ids);

}  // namespace appqt
