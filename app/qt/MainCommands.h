// Menu commands of the main window that do not depend on the input fields: companion
// programs, record files, help and the version dialog. They stay usable in the progress view.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace engine {
class SaveJob;
}

namespace appqt {

struct UiHooks;

enum class CommandOutcome { NotMine, Done, CloseWindow };

CommandOutcome RunMenuCommand(int id, QWidget* owner, engine::SaveJob& job, const UiHooks& hooks);

// Starts another Sitrova with `args`; tells the user when it could not be started.
void StartSitrova(QWidget* owner, const UiHooks& hooks, const std::vector<std::string>& args);

}  // namespace appqt
