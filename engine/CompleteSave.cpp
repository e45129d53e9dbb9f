#include "engine/CompleteSave.h"

#include "engine/JobRecords.h"
#include "engine/ModeFlags.h"
#include "engine/ProgressText.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/DebugOut.h"
#include "platform/ExitCodes.h"

namespace engine {

using namespace mode;

int OpenCompleteSave(SaveJob& job, std::string* refusal) {
    if (!PrepareSaveStart(job, refusal)) {
        job.SetRefusal(platform::ExitBusy);
        return 0;
    }
    job.SetJobSummary(BuildJobSummary(job));
    return 1;
}

std::string CloseCompleteSave(SaveJob& job) {
    platform::DebugOutput("Finisth - ExeSiteWndProcRun()");
    job.Progress().SetRunState(ModeJobFinished);
    const uint32_t flags = job.ModeFlags();
    const int result = job.Result();
    std::string text = CompletionText(flags, job.UpdateCheck(), job.ChosenSaveName(), result);
    if (JobRecords* records = job.Records()) {
        if (result == 0 || result == 8) records->KeepErrorLog(job);
        records->FinishSavedSiteLog(job);
        if (flags & ModeSomeComplete) records->WriteDescriptionLog(job, text);
    }
    return text;
}

bool AsksTraceSelection(const SaveJob& job) { return job.Has(TraceSelect) && !job.Has(ModeUpdateCheck); }

void NoteTraceSelectionUnasked(SaveJob& job) {
    // An unattended save cannot wait for a choice: it takes the default, every link.
    job.AppendLog("  画面が無いため、追跡リンクは選択せずに全てのリンクを追跡します。");
    job.AppendLog("");
}

int NoDisplayHost::SelectOutDomainLinks(SaveJob& job) {
    job.AppendLog(kNoDisplayOutDomainLine);
    return 1;
}

}  // namespace engine
