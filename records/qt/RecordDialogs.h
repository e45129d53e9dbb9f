// The windows of a .qdx record's related links and comment. Each works on the record file
// job.QdxPath() and returns 1 when it changed the record, else 0.
//
// Each window runs modally over its owner. A WindowDriver, when given, acts on the shown
// window first (tests drive the controls with it); a window that it ended returns its
// result at once. Without a display (offscreen) nobody could answer a window, so one that is
// still open then ends without waiting: the comment and link editors with 0, the link window
// after opening its target at once.
#pragma once

#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace engine {
class SaveJob;
}

namespace recordsqt {

using WindowDriver = std::function<void(QDialog& window)>;
// Opens a related link's target (a URL, file or folder); 1 opened, 0 failed.
using TargetOpener = std::function<int(const std::string& target)>;

int RunQdxComment(QWidget* owner, engine::SaveJob& job);
int RunQdxLinkAdd(QWidget* owner, engine::SaveJob& job);
int RunQdxLinkDel(QWidget* owner, engine::SaveJob& job);
// Shows link `index` and opens its target; 0 when it does not exist.
int RunQdxLinkAction(QWidget* owner, engine::SaveJob& job, int index);

int RunQdxComment(QWidget* owner, engine::SaveJob& job, const WindowDriver& driver);
int RunQdxLinkAdd(QWidget* owner, engine::SaveJob& job, const WindowDriver& driver);
int RunQdxLinkDel(QWidget* owner, engine::SaveJob& job, const WindowDriver& driver);
// 1 when the target was opened. `opener` opens it (the desktop's handler when empty).
int RunQdxLinkAction(QWidget* owner, engine::SaveJob& job, int index, const TargetOpener& opener,
                     const WindowDriver& driver);

// The desktop's handler for a link target (platform::ShellOpen).
int ShellOpenTarget(const std::string& target);

}  // namespace recordsqt
