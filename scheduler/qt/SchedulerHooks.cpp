#include "scheduler/qt/SchedulerHooks.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>

#include "platform/Process.h"
#include "platform/qt/QtText.h"
#include "scheduler/qt/SchedulerDialogs.h"

namespace schedulerqt {

SchedulerHooks DefaultSchedulerHooks() {
    SchedulerHooks hooks;
    hooks.message = [](QWidget* owner, const std::string& caption, const std::string& text,
                       platformqt::MessageButtons buttons, int defaultAnswer) {
        const auto icon = buttons == platformqt::ButtonsYesNo ? platformqt::IconQuestion : platformqt::IconInformation;
        return platformqt::ShowMessage(owner, caption, text, icon, buttons, defaultAnswer);
    };
    hooks.clipboardText = [](std::string& text) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard) return false;
        text = platformqt::FromQ(clipboard->text());
        return true;
    };
    hooks.chooseSaveFile = [](QWidget* owner, const std::string& proposedName) -> std::string {
        if (platformqt::IsHeadless()) return {};
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({QStringLiteral("Html files {*.html} (*.html *.htm)"), QStringLiteral("All files {*.*} (*)")});
        dialog.setDefaultSuffix(QStringLiteral("html"));
        dialog.selectFile(platformqt::ToQ(proposedName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return platformqt::FromQ(dialog.selectedFiles().front());
    };
    hooks.startProgram = [](const std::string& program, const std::vector<std::string>& args) {
        return platform::StartProcess(program, args, false);
    };
    // Without a display nobody could answer the dialog: the level stays as it is.
    hooks.cpuDialog = [](QWidget* owner) { return platformqt::IsHeadless() ? 0 : RunCpuDialog(owner); };
    return hooks;
}

void Tell(const SchedulerHooks& hooks, QWidget* owner, const std::string& text, const std::string& caption) {
    (void)hooks.message(owner, caption, text, platformqt::ButtonOk, platformqt::AnswerOk);
}

}  // namespace schedulerqt
