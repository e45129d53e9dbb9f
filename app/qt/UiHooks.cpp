#include "app/qt/UiHooks.h"

#include <QFileDialog>

#include "app/qt/CpuPopup.h"
#include "app/qt/TraceSelectWindow.h"
#include "engine/SaveJob.h"
#include "engine/qt/ProgressView.h"
#include "platform/Process.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace appqt {

using platformqt::FromQ;
using platformqt::ToQ;

UiHooks DefaultUiHooks(engine::SaveJob& job) {
    UiHooks hooks;
    hooks.message = platformqt::ShowMessage;
    hooks.cpuPopup = RunCpuPopup;
    hooks.openDialog = [](const std::string& name, QWidget* owner, engine::SaveJob& job, const DialogArgs& args) {
        return OpenDialog(name, owner, job, args);
    };
    hooks.startCompanion = [&job](appshell::Companion which, const std::vector<std::string>& args,
                                  std::string* message) {
        return appshell::StartCompanion(job.ProgramFolder(), which, args, message);
    };
    hooks.startProgram = [](const std::string& program, const std::vector<std::string>& args) {
        return platform::StartProcess(program, args, false);
    };
    hooks.selectTrace = [](QWidget* owner, const std::string& startUrl, std::vector<std::string>& chosen) {
        if (platformqt::IsHeadless()) return static_cast<int>(engineqt::ProgressView::TraceNobodyToAsk);
        return RunTraceSelectWindow(owner, startUrl, chosen);
    };
    // Without a display nobody could answer a file dialog: it is skipped.
    hooks.chooseQdxFile = [](QWidget* owner, const std::string& title) -> std::string {
        if (platformqt::IsHeadless()) return {};
        return FromQ(QFileDialog::getOpenFileName(owner, ToQ(title), QString(),
                                                  UiText::tr("Qdxファイル (*.qdx)")));
    };
    hooks.chooseSaveFile = [](QWidget* owner, const std::string& proposed) -> std::string {
        if (platformqt::IsHeadless()) return {};
        return FromQ(QFileDialog::getSaveFileName(owner, UiText::tr("保存先のフルパス"), ToQ(proposed),
                                                  UiText::tr("HTMLファイル (*.html *.htm);;すべてのファイル (*)")));
    };
    return hooks;
}

}  // namespace appqt
