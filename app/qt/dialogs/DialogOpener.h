// Dialogs opened by name. Each runs modally over its owner; at most one of each name is open.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/UrlHandlerRegistry.h"

class QDialog;
class QWidget;

namespace engine {
class SaveJob;
}

namespace appqt {

// A settings dialog ends with this when the user accepted a restart with administrator
// rights; the main window then restarts the program.
constexpr int kDialogRestartElevated = 1025;

// Returns the dialog's result (1 OK, 0 cancelled, or the value the dialog names), or -1 when
// a dialog of that name is open already or the name is unknown.
int OpenDialog(const std::string& name, QWidget* owner, engine::SaveJob& job);

// What some dialogs are opened about: "DropHtmlCutAdv" the dropped file; "AnalysisLit" the
// URL and the input view's fields; "AnalysisStd" the analysis comment (message).
struct DialogArgs {
    std::string filePath;
    std::string url;
    app::InputFieldAccess fields;
    std::string message;
    // "AnalysisStd": the advice under the comment, the main objects, and what its buttons do
    // in the input view (no function: the button is not offered).
    std::string advice;
    std::vector<std::string> objectUrls;
    std::function<void()> applyRecommendations;
    std::function<void(const std::string&)> setUrl;
};
int OpenDialog(const std::string& name, QWidget* owner, engine::SaveJob& job, const DialogArgs& args);

// True for the names OpenDialog opens. "QdxLinkAction" needs a link index, so the saved-site
// view runs it itself.
bool IsDialogName(const std::string& name);

// Builds the dialog of that name without running it (nullptr for the record dialogs, which
// run themselves, and for unknown names). The caller owns the dialog.
QDialog* CreateDialogByName(const std::string& name, QWidget* owner, engine::SaveJob& job, const DialogArgs& args);

}  // namespace appqt
