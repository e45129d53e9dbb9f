#include "app/qt/MainCommands.h"

#include "app/BatchTask.h"
#include "app/qt/MainMenu.h"
#include "app/qt/UiHooks.h"
#include "engine/SaveJob.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace appqt {

namespace {

using appshell::Companion;
using platformqt::ButtonOk;
using platformqt::FromQ;

void Tell(QWidget* owner, const UiHooks& hooks, const std::string& text, platformqt::MessageIcon icon) {
    if (!text.empty()) hooks.message(owner, "Sitrova", text, icon, ButtonOk, platformqt::AnswerOk);
}

int StartProgram(QWidget* owner, const UiHooks& hooks, Companion which, const std::vector<std::string>& args) {
    std::string message;
    const int started = hooks.startCompanion(which, args, &message);
    Tell(owner, hooks, message, platformqt::IconError);
    return started;
}

}  // namespace

void StartSitrova(QWidget* owner, const UiHooks& hooks, const std::vector<std::string>& args) {
    (void)StartProgram(owner, hooks, Companion::Sitrova, args);
}

CommandOutcome RunMenuCommand(int id, QWidget* owner, engine::SaveJob& job, const UiHooks& hooks) {
    std::string message;
    switch (id) {
    case CmdVersion:
        (void)hooks.openDialog("VersionInfo", owner, job, {});
        return CommandOutcome::Done;
    case CmdOpenQdx: {
        const std::string path = hooks.chooseQdxFile(owner, FromQ(UiText::tr("Qdxファイルを指定してください。")));
        if (!path.empty()) StartSitrova(owner, hooks, {path});
        return CommandOutcome::Done;
    }
    case CmdAdRemoval: {
        const std::string path = hooks.chooseQdxFile(owner, FromQ(UiText::tr("広告削除を行うQdxファイルを指定してください。")));
        if (!path.empty()) StartSitrova(owner, hooks, {"advertisement,\"" + path + "\""});
        return CommandOutcome::Done;
    }
    case CmdScheduler:
        // The scheduler takes over the work: this window gives way to it.
        return StartProgram(owner, hooks, Companion::QdXScheduler, {}) == 1 ? CommandOutcome::CloseWindow
                                                                            : CommandOutcome::Done;
    case CmdCatalogue:
        (void)StartProgram(owner, hooks, Companion::QdxSuite, {});
        return CommandOutcome::Done;
    case CmdNewSitrova:
        StartSitrova(owner, hooks, {});
        return CommandOutcome::Done;
    case CmdHelp:
        (void)appshell::OpenHelpTopic(job.ProgramFolder(), "", &message);
        Tell(owner, hooks, message, platformqt::IconWarning);
        return CommandOutcome::Done;
    case CmdQdxHelp:
        (void)appshell::OpenHelpTopic(job.ProgramFolder(), appshell::kQdxHelpTopic, &message);
        Tell(owner, hooks, message, platformqt::IconWarning);
        return CommandOutcome::Done;
    case CmdReadMe:
        (void)appshell::OpenReadMe(job.ProgramFolder(), &message);
        Tell(owner, hooks, message, platformqt::IconWarning);
        return CommandOutcome::Done;
    case CmdAddToBatch:
        // Only the input view holds a job to queue; it answers this command itself.
        Tell(owner, hooks, FromQ(UiText::tr("バッチに追加できるのは、入力画面のジョブだけです。")), platformqt::IconInformation);
        return CommandOutcome::Done;
    case CmdRunBatch: {
        const int result = app::RunBatch(job.ProgramFolder(), !platformqt::IsHeadless(), hooks.startProgram);
        Tell(owner, hooks, app::BatchResultMessage(result), platformqt::IconInformation);
        return CommandOutcome::Done;
    }
    default:
        return CommandOutcome::NotMine;
    }
}

}  // namespace appqt
