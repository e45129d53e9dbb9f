// The one job of a Sitrova process. The window thread and the worker share only this
// record; every field is read and written under its one lock, and getters copy values out.
// While the lock is held nothing does I/O or calls out.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

#include "engine/ModeFlags.h"
#include "engine/NamedOptions.h"

namespace platform {
class HttpSession;
}

namespace engine {

class JobRecords;

// What the progress window shows, copied out in one go once a second.
struct JobSnapshot {
    uint32_t modeFlags = 0;
    uint32_t foundCount = 0;
    uint32_t pendingCount = 0;
    uint32_t cpuSleepMs = 0;
    uint64_t startTick = 0;
    bool detailView = false;
    bool workerRunning = false;
    bool workerEnded = false;
    int result = 0;
};

class SaveJob {
public:
    // The log lists keep their newest lines only; the full detailed log goes to the error log.
    static constexpr size_t kLogLinesKept = 4000;
    static constexpr size_t kViewBytes = 4096;
    static constexpr size_t kSummaryBytes = 2048;

    SaveJob();
    ~SaveJob();
    SaveJob(const SaveJob&) = delete;
    SaveJob& operator=(const SaveJob&) = delete;

    // --- start URL and save target -----------------------------------------------------
    // Splits at the last "/": urlBase keeps the "/".
    void SetStartUrl(std::string_view url);
    std::string UrlBase() const;
    std::string UrlLeaf() const;
    void SetUrlLeaf(std::string_view leaf);
    // The URL that is fetched: urlBase + urlLeaf, or urlBase alone under ModeIndexAppended.
    std::string StartUrl() const;

    // Splits the chosen path at its last "/": the folder (with "/") goes into saveFolder,
    // logFolder and startFolder, the name into both copies of saveName.
    void SetSaveTarget(std::string_view path);
    std::string SaveFolder() const;
    std::string LogFolder() const;
    std::string StartFolder() const;
    std::string SaveName() const;        // working copy (may become the start page's name)
    std::string ChosenSaveName() const;  // as the user gave it
    void SetLogFolder(std::string_view folder);
    void SetStartFolder(std::string_view folder);
    void SetSaveName(std::string_view name);
    // startFolder + the working saveName: where the start page is stored.
    std::string StartPath() const;

    std::string ProgramFolder() const;
    void SetProgramFolder(std::string_view folder);
    std::string IniPath() const;  // programFolder + "/Sitrov.ini", formed on first use
    std::string QdxPath() const;
    void SetQdxPath(std::string_view path);

    // --- options ------------------------------------------------------------------------
    uint32_t ModeFlags() const;
    bool Has(uint32_t bits) const;  // any of the bits set
    void SetModeBits(uint32_t bits);
    void ClearModeBits(uint32_t bits);
    int32_t LankLimit() const;
    void SetLankLimit(int32_t limit);  // a negative limit is stored as 0
    uint32_t CpuSleepMs() const;
    void SetCpuSleepMs(uint32_t ms);
    bool UpdateCheck() const;
    void SetUpdateCheck(bool on);
    // Pages found on disk count as saved only once this run has visited them: set for a save
    // whose earlier records are missing, unreadable or from a run that did not end, so that
    // the links of every page are followed and every page is recorded again.
    bool RevisitSavedPages() const;
    void SetRevisitSavedPages(bool on);
    // True the first time this run asks for `path` (each page is visited once per run).
    bool MarkPageVisited(const std::string& path);
    bool PageVisited(const std::string& path) const;
    NamedOptions Named() const;
    void SetNamed(const NamedOptions& named);
    uint16_t BlogCutOff() const;  // 80 until the setting has been read
    bool BlogCutOffRead() const;
    void SetBlogCutOff(uint16_t value);

    // --- counters -----------------------------------------------------------------------
    void AddFound(uint32_t n);
    void LinkDone(uint32_t n);
    void SetCounters(uint32_t n);  // both counters to n (the update check starts at 0 %)
    int PercentDone() const;
    uint32_t FoundCount() const;
    uint32_t PendingCount() const;

    // --- logs ---------------------------------------------------------------------------
    // A line beginning with "_Ad_" continues the last line of the detailed log.
    void AppendLog(std::string_view line);
    void AppendSimpleLog(std::string_view line);
    std::vector<std::string> DetailedLog() const;
    std::vector<std::string> SimpleLog() const;
    // The newest `lines` lines of the selected list joined with CR LF, shortened by whole
    // lines while it would be longer than kViewBytes bytes.
    std::string LogView(size_t lines) const;
    bool DetailView() const;
    void SetDetailView(bool on);
    std::string JobSummary() const;
    void SetJobSummary(std::string_view text);

    // --- lists --------------------------------------------------------------------------
    std::vector<std::string> TraceSelection() const;
    void SetTraceSelection(std::vector<std::string> list);
    void AddOutDomainLink(std::string_view url, std::string_view sourcePath);
    void TakeOutDomainLinks(std::vector<std::string>& urls, std::vector<std::string>& paths) const;
    void SetOutDomainLinks(std::vector<std::string> urls, std::vector<std::string> paths);

    // --- worker -------------------------------------------------------------------------
    uint64_t StartTick() const;
    void SetStartTick(uint64_t tick);
    // Starts `body` on the worker thread; its return value becomes the job's result.
    template <typename F>
    void StartWorker(F body);
    bool WorkerRunning() const;
    bool WorkerEnded() const;
    int Result() const;
    // Why the job was refused before its work began, as the program's exit code
    // (platform/ExitCodes.h); 0 while it was not refused.
    int Refusal() const;
    void SetRefusal(int exitCode);
    // Asks the worker to stop between steps and waits up to `waitMs` for it. True when it ended.
    bool StopWorker(uint32_t waitMs);
    // Waits up to `waitMs` for the worker to end by itself. True when it has ended.
    bool WaitWorker(uint32_t waitMs) const;
    bool StopRequested() const;
    // Sleeps for `ms` unless a stop is requested first.
    void Pause(uint32_t ms) const;

    JobSnapshot Snapshot() const;

    // Hosts ("http://host:port", any case) that did not resolve or answer during this save:
    // their later links fail at once instead of waiting for each connection again. Marked
    // from any fetching thread, hence const.
    void MarkHostUnreachable(std::string_view url) const;
    bool HostUnreachable(std::string_view url) const;

    // Record files of the job (absent: pages are saved without records).
    JobRecords* Records() const;
    void SetRecords(JobRecords* records);

    // The worker's HTTP session; touched by the worker thread only.
    platform::HttpSession* Http() const { return m_http; }
    void SetHttp(platform::HttpSession* http) { m_http = http; }
    // Folders of the save that its links have made or found, so that each is made once;
    // touched by the worker thread only.
    std::unordered_set<std::string>& MadeFolders() { return m_madeFolders; }

private:
    void FinishWorker(int result);

    mutable std::mutex m_lock;
    mutable std::condition_variable m_wake;

    uint64_t m_startTick = 0;
    std::string m_jobSummary;
    std::deque<std::string> m_detailLog;
    std::deque<std::string> m_simpleLog;
    bool m_detailView = false;
    bool m_updateCheck = false;
    bool m_revisitSavedPages = false;
    std::unordered_set<std::string> m_visitedPages;
    std::string m_saveFolder, m_logFolder, m_startFolder, m_saveName, m_chosenSaveName;
    std::string m_urlBase, m_urlLeaf;
    uint32_t m_modeFlags = 0;
    uint32_t m_pendingCount = 0;
    uint32_t m_foundCount = 0;
    uint32_t m_cpuSleepMs = 0;
    uint16_t m_blogCutOff = 80;
    bool m_blogCutOffRead = false;
    int32_t m_lankLimit = 0;
    NamedOptions m_named;
    std::vector<std::string> m_traceSelection;
    std::vector<std::string> m_outDomainUrls, m_outDomainPaths;
    std::string m_programFolder, m_qdxPath;
    mutable std::string m_iniPath;
    mutable std::unordered_set<std::string> m_unreachableHosts;

    std::thread m_worker;
    bool m_workerRunning = false;
    bool m_workerEnded = false;
    bool m_stopRequested = false;
    int m_result = 0;
    int m_refusal = 0;

    JobRecords* m_records = nullptr;
    platform::HttpSession* m_http = nullptr;
    std::unordered_set<std::string> m_madeFolders;
};

template <typename F>
void SaveJob::StartWorker(F body) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_workerRunning = true;
        m_workerEnded = false;
        m_stopRequested = false;
    }
    m_worker = std::thread([this, body]() mutable { FinishWorker(body()); });
}

}  // namespace engine
