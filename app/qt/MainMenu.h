// The menu bar of the main window. Every item carries its command identifier.
#pragma once

#include <functional>
#include <initializer_list>

class QMenuBar;
class QAction;

namespace appqt {

// Builds the input view's menu bar. `onCommand` receives the identifier of a chosen item.
void BuildInputMenuBar(QMenuBar* bar, bool catalogueInstalled, const std::function<void(int)>& onCommand);

// The item with that identifier, or nullptr.
QAction* FindCommand(QMenuBar* bar, int id);
void GrayCommands(QMenuBar* bar, std::initializer_list<int> ids);

}  // namespace appqt
