#include "engine/CompleteSave.h"

#include "engine/JobRecords.h"
#include "engine/ModeFlags.h"
#include "engine/ProgressText.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/DebugOut.h"

namespace engine {

using namespace mode;

int OpenCompleteSave(SaveJob& job, std::string* refusal) {
    if (!PrepareSaveStart(job, refusal)) return 0;
    job.SetJobSummary(BuildJobSummary(job));
    if (job.Has(TraceSelect) && !job.Has(ModeUpdateCheck)) {
        // The start page's links are not offered for selection: the save follows every link.
        job.AppendLog("  追跡リンク選択のための情報を取得中･･･");
        job.AppendLog("　！追跡リンク選択はキャンセル、もしくは情報取得に失敗しました。");
        job.AppendLog("");
    }
    return 1;
}

std::string CloseCompleteSave(SaveJob& job) {
    platform::DebugOutput("Finisth - ExeSiteWndProcRun()");
    job.SetModeBits(ModeJobFinished);
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

int NoDisplayHost::SelectOutDomainLinks(SaveJob& job) {
    job.AppendLog(kNoDisplayOutDomainLine);
    return 1;
}

}  // namespace engine
