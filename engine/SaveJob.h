// The one job of a Sitrova process. The window thread and the worker share only this
// object; it owns four parts and hands them out: the options of the save (frozen when the
// worker starts), the progress the windows read, the worker's control and the per-run
// context. The member functions below forward to those parts for the callers that hold
// only the job. Every shared field is read and written under a lock, and getters copy
// values out; while a lock is held nothing does I/O or calls out.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/JobProgress.h"
#include "engine/ModeFlags.h"
#include "engine/NamedOptions.h"
#include "engine/RunContext.h"
#include "engine/SaveOptions.h"
#include "engine/WorkerControl.h"

namespace engine {

class RenderSession;

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
    static constexpr size_t kLogLinesKept = JobProgress::kLogLinesKept;
    static constexpr size_t kViewBytes = JobProgress::kViewBytes;
    static constexpr size_t kSummaryBytes = JobProgress::kSummaryBytes;

    SaveJob();
    ~SaveJob();
    SaveJob(const SaveJob&) = delete;
    SaveJob& operator=(const SaveJob&) = delete;

    // --- the four parts ---------------------------------------------------------------------
    // A copy of the options; after the start it is the frozen set the worker runs with.
    SaveOptions Options() const;
    // Replaces the options; refused (false) once the worker has started.
    bool SetOptions(const SaveOptions& options);
    bool OptionsFrozen() const;
    JobProgress& Progress() { return m_progress; }
    const JobProgress& Progress() const { return m_progress; }
    WorkerControl& Control() { return m_control; }
    const WorkerControl& Control() const { return m_control; }
    RunContext& Run() { return m_run; }
    const RunContext& Run() const { return m_run; }

    // --- start URL and save target ----------------------------------------------------------
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
    std::string IniPath() const;  // "Sitrov.ini" in the settings place of programFolder (platform/UserPlaces.h), formed on first use
    std::string QdxPath() const;
    void SetQdxPath(std::string_view path);

    // --- options ----------------------------------------------------------------------------
    // Each option setter is refused once the worker has started.
    // The word as the records store it: the option bits with the run state bits reached.
    uint32_t ModeFlags() const;
    bool Has(uint32_t bits) const;  // any of the bits set, options or run state
    // Run state bits among `bits` (a stored word may carry them) go to the progress.
    void SetModeBits(uint32_t bits);
    void ClearModeBits(uint32_t bits);
    int32_t LankLimit() const;
    void SetLankLimit(int32_t limit);  // a negative limit is stored as 0
    uint32_t CpuSleepMs() const;       // the worker's control
    void SetCpuSleepMs(uint32_t ms);   // also while the save runs
    bool UpdateCheck() const;
    void SetUpdateCheck(bool on);
    // The per-run context (see RunContext).
    bool RevisitSavedPages() const;
    void SetRevisitSavedPages(bool on);
    bool MarkPageVisited(const std::string& path);
    bool PageVisited(const std::string& path) const;
    NamedOptions Named() const;
    void SetNamed(const NamedOptions& named);
    uint16_t BlogCutOff() const;
    bool BlogCutOffRead() const;
    void SetBlogCutOff(uint16_t value);

    // --- progress (see JobProgress) ---------------------------------------------------------
    void AddFound(uint32_t n);
    void LinkDone(uint32_t n);
    void SetCounters(uint32_t n);  // both counters to n (the update check starts at 0 %)
    int PercentDone() const;
    uint32_t FoundCount() const;
    uint32_t PendingCount() const;

    // --- logs -------------------------------------------------------------------------------
    // A line beginning with "_Ad_" continues the last line of the detailed log; a line of
    // its own also goes to the error log of the job's records.
    void AppendLog(std::string_view line);
    void AppendSimpleLog(std::string_view line);
    std::vector<std::string> DetailedLog() const;
    std::vector<std::string> SimpleLog() const;
    std::string LogView(size_t lines) const;
    bool DetailView() const;
    void SetDetailView(bool on);
    std::string JobSummary() const;
    void SetJobSummary(std::string_view text);

    // --- lists ------------------------------------------------------------------------------
    std::vector<std::string> TraceSelection() const;          // an option
    void SetTraceSelection(std::vector<std::string> list);
    // The links to other sites found by this run (RunContext).
    void AddOutDomainLink(std::string_view url, std::string_view sourcePath);
    void TakeOutDomainLinks(std::vector<std::string>& urls, std::vector<std::string>& paths) const;
    void SetOutDomainLinks(std::vector<std::string> urls, std::vector<std::string> paths);

    // --- worker (see WorkerControl) ---------------------------------------------------------
    uint64_t StartTick() const;
    void SetStartTick(uint64_t tick);
    // Freezes the options, then starts `body` on the worker thread; its return value
    // becomes the job's result.
    template <typename F>
    void StartWorker(F body);
    bool WorkerRunning() const;
    bool WorkerEnded() const;
    int Result() const;
    int Refusal() const;
    void SetRefusal(int exitCode);
    bool StopWorker(uint32_t waitMs);
    bool WaitWorker(uint32_t waitMs) const;
    bool StopRequested() const;
    void Pause(uint32_t ms) const;

    JobSnapshot Snapshot() const;

    void MarkHostUnreachable(std::string_view url) const;
    bool HostUnreachable(std::string_view url) const;

    JobRecords* Records() const;
    void SetRecords(JobRecords* records);

    platform::HttpSession* Http() const { return m_run.Http(); }
    void SetHttp(platform::HttpSession* http) { m_run.SetHttp(http); }
    // The save's page renderer while "render" is on (null otherwise); set by the worker
    // before the walk, used by it and by its fetch-ahead threads.
    RenderSession* Renderer() const { return m_renderer; }
    void SetRenderer(RenderSession* renderer) { m_renderer = renderer; }
    std::unordered_set<std::string>& MadeFolders() { return m_run.MadeFolders(); }

private:
    // Applies `edit` to the options unless they are frozen.
    template <typename E>
    void EditOptions(E edit);

    mutable std::mutex m_lock;
    RenderSession* m_renderer = nullptr;
    SaveOptions m_options;
    bool m_frozen = false;
    std::string m_saveFolder, m_logFolder, m_startFolder, m_saveName, m_chosenSaveName;
    std::string m_urlBase, m_urlLeaf;
    std::string m_programFolder, m_qdxPath;
    mutable std::string m_iniPath;

    JobProgress m_progress;
    RunContext m_run;
    // Last, so that it is destroyed first: the worker it waits for uses the other parts.
    WorkerControl m_control;
};

template <typename E>
void SaveJob::EditOptions(E edit) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_frozen) edit(m_options);
}

template <typename F>
void SaveJob::StartWorker(F body) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_frozen = true;
    }
    m_control.Start(std::move(body));
}

}  // namespace engine
