// The ways the main window reaches the user and the rest of the desktop. Each is a function
// so that tests can see what would be shown or started, and answer questions themselves.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/qt/dialogs/DialogOpener.h"
#include "app/shell/Shell.h"
#include "platform/qt/MessageBox.h"

class QWidget;

namespace engine {
class SaveJob;
}

namespace appqt {

struct UiHooks {
    // A message box; returns the answer (platformqt::AnswerOk, AnswerYes, AnswerNo).
    std::function<int(QWidget* owner, const std::string& caption, const std::string& text,
                      platformqt::MessageIcon icon, platformqt::MessageButtons buttons, int defaultAnswer)>
        message;
    // The CPU popup: the level chosen, or `level` when it was closed.
    std::function<int(QWidget* owner, int level)> cpuPopup;
    // A dialog opened by name; its result.
    std::function<int(const std::string& name, QWidget* owner, engine::SaveJob& job, const DialogArgs& args)>
        openDialog;
    // A program of the suite; 1 started, 0 not, with `message` for the user ("" for none).
    std::function<int(appshell::Companion which, const std::vector<std::string>& args, std::string* message)>
        startCompanion;
    // Any program by its path, not waited for; 1 started.
    std::function<int(const std::string& program, const std::vector<std::string>& args)> startProgram;
    // The link trace selection of a save's start (engineqt::ProgressView::selectTrace);
    // without a display nobody is asked.
    std::function<int(QWidget* owner, const std::string& startUrl, std::vector<std::string>& chosen)> selectTrace;
    // File dialogs; "" when the user cancelled (and always without a display).
    std::function<std::string(QWidget* owner, const std::string& title)> chooseQdxFile;
    std::function<std::string(QWidget* owner, const std::string& proposed)> chooseSaveFile;
};

// The hooks of a running program for the job's program folder.
UiHooks DefaultUiHooks(engine::SaveJob& job);

}  // namespace appqt
