// The record files of one save job: what the engine reaches through its JobRecords
// interface. One object per job, created by the program before the save starts.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "engine/JobRecords.h"
#include "records/ErrorLog.h"
#include "records/SaveArchive.h"
#include "records/SaveHistory.h"
#include "records/TargetLock.h"

namespace records {

class SavedSiteLog;

class SaveRecords : public engine::JobRecords {
public:
    SaveRecords();
    ~SaveRecords() override;

    // Takes the lock on the target; a lock file left by a run that died marks this save as the
    // completion of an interrupted one.
    int LockTarget(engine::SaveJob& job, std::string& message) override;
    // Lays out the target (after an interrupted run: removes its staging files), hands an earlier saved-site log over (the job becomes an update
    // check when it matches) and opens the error log in the temporary folder.
    void BeginSave(engine::SaveJob& job) override;
    // The save's WARC writer when the job asks for a web archive.
    std::shared_ptr<platform::HttpExchangeObserver> ExchangeObserver() override;
    void RecordPage(engine::SaveJob& job, const std::string& path, const std::string& url, int32_t level,
                    int64_t size) override;
    // The history index beside the saved-site log (see SaveHistory).
    bool KeepsHistory() const override { return m_history.Active(); }
    void RecordFetched(engine::SaveJob& job, const engine::FetchedFile& file) override;
    void RecordFetchFailed(engine::SaveJob& job, const std::string& url, const std::string& path, bool page,
                           long status) override;
    // Worker thread. A check that was asked to stop writes the new log at once, so the
    // earlier log does not stay behind under its ".tmp" name and lock the site.
    int CheckSavedSite(engine::SaveHost& host, engine::SaveJob& job, const std::string& startPath,
                       const std::string& startUrl) override;
    void WriteErrorLine(std::string_view line) override;
    // Writes the saved-site log (and, when written, lets go of the target and its lock file);
    // after an update check the earlier ".tmp" log is deleted, or,
    // when the new log could not be written, put back under its own name. Once per save.
    void FinishSavedSiteLog(engine::SaveJob& job) override;
    void KeepErrorLog(engine::SaveJob& job) override;
    void WriteDescriptionLog(engine::SaveJob& job, const std::string& resultText) override;

    // Where the error log is opened (the temporary folder unless a test says otherwise).
    void SetTempFolder(const std::string& folder);

private:
    std::mutex m_lock;
    std::unique_ptr<SavedSiteLog> m_savedSiteLog;
    ErrorLog m_errorLog;
    std::string m_tempFolder;
    TargetLock m_target;
    SaveHistory m_history;
    SaveArchive m_archive;
    bool m_interrupted = false;
};

}  // namespace records
