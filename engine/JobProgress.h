// What the windows read of a save under way: the counters, the two log lists, the summary
// and the run state bits. Every field is read and written under its one lock, and getters
// copy values out; while the lock is held nothing does I/O or calls out.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class JobProgress {
public:
    // The log lists keep their newest lines only; the full detailed log goes to the error log.
    static constexpr size_t kLogLinesKept = 4000;
    static constexpr size_t kViewBytes = 4096;
    static constexpr size_t kSummaryBytes = 2048;

    // --- counters -----------------------------------------------------------------------
    void AddFound(uint32_t n);
    void LinkDone(uint32_t n);
    void SetCounters(uint32_t n);  // both counters to n (the update check starts at 0 %)
    int PercentDone() const;
    uint32_t FoundCount() const;
    uint32_t PendingCount() const;

    // --- logs ---------------------------------------------------------------------------
    // A line beginning with "_Ad_" continues the last line of the detailed log; true when
    // `line` began a line of its own.
    bool AppendLog(std::string_view line);
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

    uint64_t StartTick() const;
    void SetStartTick(uint64_t tick);

    // --- run state ----------------------------------------------------------------------
    // The run state bits of ModeFlags.h (mode::RunStateBits) this save has reached.
    uint32_t RunState() const;
    void SetRunState(uint32_t bits);
    void ClearRunState(uint32_t bits);

private:
    mutable std::mutex m_lock;
    uint64_t m_startTick = 0;
    std::string m_jobSummary;
    std::deque<std::string> m_detailLog;
    std::deque<std::string> m_simpleLog;
    bool m_detailView = false;
    uint32_t m_pendingCount = 0;
    uint32_t m_foundCount = 0;
    uint32_t m_runState = 0;
};

}  // namespace engine
