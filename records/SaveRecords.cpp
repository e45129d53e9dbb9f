#include "records/SaveRecords.h"

#include <cstdio>

#include "engine/SaveJob.h"
#include "records/DescriptionLog.h"

namespace records {

SaveRecords::SaveRecords() = default;
SaveRecords::~SaveRecords() = default;

// The target is the folder the user chose; the saved-site log, the record file and the
// error log are not written by this build.
void SaveRecords::BeginSave(engine::SaveJob&) {}

void SaveRecords::RecordPage(engine::SaveJob&, const std::string&, const std::string&, int32_t, int64_t) {}

int SaveRecords::CheckSavedSite(engine::SaveHost&, engine::SaveJob& job, const std::string&, const std::string&) {
    job.AppendLog("  更新チェックは、このバージョンでは行えません。");
    return 8;
}

void SaveRecords::WriteErrorLine(std::string_view) {}
void SaveRecords::FinishSavedSiteLog(engine::SaveJob&) {}
void SaveRecords::KeepErrorLog(engine::SaveJob&) {}

void SaveRecords::WriteDescriptionLog(engine::SaveJob& job, const std::string& resultText) {
    std::string error;
    if (!WriteDescriptionLogFile(job, resultText, error)) {
        job.AppendLog(error);
        std::fprintf(stderr, "Sitrova: %s\n", error.c_str());
    }
}

}  // namespace records
