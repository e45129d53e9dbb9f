#include "app/UnattendedSave.h"

#include <string>

#include "engine/CompleteSave.h"
#include "engine/JobRecords.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "engine/StartChecks.h"
#include "platform/ConsoleText.h"
#include "platform/ExitCodes.h"
#include "platform/UiLanguage.h"
#include "records/TargetLock.h"

namespace app {

void RunUnattendedSave(engine::SaveJob& job) {
    std::string problem;
    if (const int check = engine::CheckSaveStart(job, problem); check != engine::StartReady) {
        platform::PrintMessageLine("Sitrova", problem);
        job.SetRefusal(check == engine::StartCannotWrite ? platform::ExitDisk : platform::ExitRefused);
        return;
    }
    if (!engine::OpenCompleteSave(job, nullptr)) {
        // Another save runs into the same target: this one leaves everything to it. The save
        // log has the Japanese of the message; the user reads it in the user's language.
        platform::PrintMessageLine("Sitrova", records::TargetBusyMessage(job.SaveFolder() + job.ChosenSaveName(),
                                                                         platform::CurrentUiLanguage()));
        if (engine::JobRecords* records = job.Records()) records->FinishSavedSiteLog(job);
        return;
    }
    if (engine::AsksTraceSelection(job)) engine::NoteTraceSelectionUnasked(job);
    engine::NoDisplayHost host;
    engine::StartSaveWorker(host, job);
    // The end is taken as soon as it comes: nothing is shown that a poll would refresh.
    while (!job.WaitWorker(60000)) {
    }
    const std::string report = engine::CloseCompleteSave(job);
    // A save started without its keyword would show its report in a box; here it is printed.
    if (!job.Has(engine::mode::ModeSomeComplete)) platform::PrintMessageLine("Sitrova", report);
}

}  // namespace app
