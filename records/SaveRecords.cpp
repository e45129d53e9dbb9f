#include "records/SaveRecords.h"

#include <cstdio>
#include <vector>

#include "engine/SaveJob.h"
#include "platform/ProgramFolder.h"
#include "records/DescriptionLog.h"
#include "records/SaveTarget.h"
#include "records/Settings.h"
#include "records/SavedSiteLog.h"
#include "records/UpdateCheck.h"

namespace records {

SaveRecords::SaveRecords() = default;
SaveRecords::~SaveRecords() = default;

void SaveRecords::SetTempFolder(const std::string& folder) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_tempFolder = folder;
}

void SaveRecords::BeginSave(engine::SaveJob& job) {
    std::vector<std::string> notes;
    (void)JobBlogCutOff(job);  // the blog depth limit of this run, read once
    PrepareSaveTarget(job, notes);
    std::unique_ptr<SavedSiteLog> log(OpenSavedSiteLogForSave(job));
    std::string tempFolder;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_savedSiteLog = std::move(log);
        tempFolder = m_tempFolder.empty() ? platform::TempFolder() : m_tempFolder;
    }
    if (!m_errorLog.Open(tempFolder)) notes.push_back("  ！エラーログを作成できませんでした: " + tempFolder);
    for (const std::string& note : notes) job.AppendLog(note);
}

void SaveRecords::RecordPage(engine::SaveJob& job, const std::string& path, const std::string& url, int32_t level,
                             int64_t size) {
    std::string error;
    int stored = 1;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_savedSiteLog) stored = m_savedSiteLog->RecordPage(path, url, level, size, &error);
    }
    // An entry the log cannot hold is left out; the user learns why from the log.
    if (!stored) job.AppendLog("  ！保存ログに記録できません: " + error);
}

int SaveRecords::CheckSavedSite(engine::SaveHost& host, engine::SaveJob& job, const std::string& startPath,
                                const std::string& startUrl) {
    const int result = records::CheckSavedSite(host, job, startPath, startUrl);
    if (job.StopRequested()) FinishSavedSiteLog(job);
    return result;
}

void SaveRecords::WriteErrorLine(std::string_view line) { m_errorLog.WriteLine(line); }

void SaveRecords::FinishSavedSiteLog(engine::SaveJob& job) {
    std::unique_ptr<SavedSiteLog> log;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        log = std::move(m_savedSiteLog);
    }
    if (!log) return;
    std::string error;
    if (CloseSavedSiteLog(job, *log, &error) != 1) job.AppendLog("  ！保存ログを書き込めません: " + error);
}

void SaveRecords::KeepErrorLog(engine::SaveJob& job) { (void)m_errorLog.Keep(job.LogFolder()); }

void SaveRecords::WriteDescriptionLog(engine::SaveJob& job, const std::string& resultText) {
    std::string error;
    if (!WriteDescriptionLogFile(job, resultText, error)) {
        job.AppendLog(error);
        std::fprintf(stderr, "Sitrova: %s\n", error.c_str());
    }
}

}  // namespace records
