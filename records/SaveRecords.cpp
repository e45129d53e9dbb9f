#include "records/SaveRecords.h"

#include <cstdio>
#include <vector>

#include "engine/SaveJob.h"
#include "platform/ConsoleText.h"
#include "platform/ProgramFolder.h"
#include "records/DescriptionLog.h"
#include "records/KeptVersions.h"
#include "records/TargetLock.h"
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

int SaveRecords::LockTarget(engine::SaveJob& job, std::string& message) {
    message.clear();
    const std::string folder = job.SaveFolder();
    const std::string name = job.ChosenSaveName();
    const int taken = m_target.Take(folder, name);
    if (taken == TargetLock::TargetBusy) {
        message = TargetBusyMessage(folder + name);
        return 0;
    }
    m_interrupted = taken == TargetLock::TargetInterrupted;
    // A folder where no lock file can be made cannot hold the save either; its own steps say why.
    if (taken == TargetLock::TargetLockFailed) job.AppendLog("  ！保存先をロックできません: " + folder + name);
    return 1;
}

void SaveRecords::BeginSave(engine::SaveJob& job) {
    std::vector<std::string> notes;
    JobBlogCutOff(job);  // the blog depth limit of this run, read once
    PrepareSaveTarget(job, notes);
    if (m_interrupted) {
        notes.push_back("  ！前回の保存は途中で終わっていました。保存済みのページも辿り直して保存を完了させます。");
        const std::string stem = StripExtension(job.ChosenSaveName());
        const int removed = RemoveStagingLeftoversOf(job.SaveFolder(), stem) + RemoveStagingLeftovers(job.LogFolder());
        if (removed > 0) notes.push_back("  前回の保存の一時ファイルを" + std::to_string(removed) + "個削除しました。");
    }
    std::unique_ptr<SavedSiteLog> log(OpenSavedSiteLogForSave(job, &notes));
    SaveArchive archive;
    archive.Begin(job, notes);
    // Versions an update killed part-way was keeping are completed before anything else.
    if (const int completed = CompleteInterruptedVersions(job.LogFolder()); completed > 0)
        notes.push_back("  途中で終わった更新の旧版フォルダを" + std::to_string(completed) + "個整えました。");
    m_history.Begin(job.LogFolder(), job.UpdateCheck(), job.Named().historyRuns, notes);
    // A new save visits every page again, so that its log lists every page of the copy (pages
    // on disk from an earlier or a broken run included); so does the check after a broken run.
    job.SetRevisitSavedPages(!job.UpdateCheck() || m_interrupted);
    std::string tempFolder;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_savedSiteLog = std::move(log);
        m_archive = std::move(archive);
        tempFolder = m_tempFolder;
    }
    // Finding the temporary folder may make it, which is no work for the lock.
    if (tempFolder.empty()) tempFolder = platform::TempFolder();
    if (!m_errorLog.Open(tempFolder)) notes.push_back("  ！エラーログを作成できませんでした: " + tempFolder);
    for (const std::string& note : notes) job.AppendLog(note);
}

std::shared_ptr<platform::HttpExchangeObserver> SaveRecords::ExchangeObserver() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_archive.Writer();
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

void SaveRecords::RecordFetched(engine::SaveJob& job, const engine::FetchedFile& file) {
    if (!m_history.Fetched(file)) job.AppendLog("  ！旧版を残せませんでした: " + file.path);
}

void SaveRecords::RecordFetchFailed(engine::SaveJob&, const std::string& url, const std::string& path, bool page,
                                    long status) {
    m_history.Failed(url, path, page, status);
}

int SaveRecords::CheckSavedSite(engine::SaveHost& host, engine::SaveJob& job, const std::string& startPath,
                                const std::string& startUrl) {
    const int result = records::CheckSavedSite(host, job, startPath, startUrl, &m_history);
    m_history.SetResult(result);
    if (job.StopRequested()) FinishSavedSiteLog(job);
    return result;
}

void SaveRecords::WriteErrorLine(std::string_view line) { m_errorLog.WriteLine(line); }

void SaveRecords::FinishSavedSiteLog(engine::SaveJob& job) {
    std::unique_ptr<SavedSiteLog> log;
    SaveArchive archive;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        log = std::move(m_savedSiteLog);
        archive = std::move(m_archive);
    }
    // The archive's index is written whatever becomes of the log.
    archive.Finish(job);
    // The run's row is closed whatever becomes of the log: the index is only a cache.
    m_history.End(job.WorkerEnded() ? job.Result() : 0);
    if (!m_history.ReportError().empty()) job.AppendLog("  ！" + m_history.ReportError());
    if (!log) return;
    std::string error;
    if (CloseSavedSiteLog(job, *log, &error) != 1) {
        job.AppendLog("  ！保存ログを書き込めません: " + error);
        return;  // the lock file stays: the next save completes this one
    }
    if (!error.empty()) job.AppendLog("  ！" + error);
    m_target.ReleaseAfterCleanEnd();
}

void SaveRecords::KeepErrorLog(engine::SaveJob& job) {
    if (!m_errorLog.Keep(job.LogFolder())) job.AppendLog("  ！エラーログを保存できませんでした: " + job.LogFolder());
}

void SaveRecords::WriteDescriptionLog(engine::SaveJob& job, const std::string& resultText) {
    std::string error, shown;
    if (!WriteDescriptionLogFile(job, resultText, error, &shown)) {
        job.AppendLog(error);
        const std::string line = platform::ToConsoleText("Sitrova: " + shown + "\n");
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
}

}  // namespace records
