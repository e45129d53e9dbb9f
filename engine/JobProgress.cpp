#include "engine/JobProgress.h"

#include <algorithm>

namespace engine {

namespace {

constexpr std::string_view kContinuation = "_Ad_";

// A full list hands its oldest line's buffer to the new one: a save logs hundreds of thousands
// of lines, and each would otherwise cost an allocation and a release.
void PushBounded(std::deque<std::string>& list, std::string_view line, size_t keep) {
    if (keep > 0 && list.size() >= keep) {
        std::string reused = std::move(list.front());
        list.pop_front();
        reused.assign(line);
        list.push_back(std::move(reused));
    } else {
        list.emplace_back(line);
    }
    while (list.size() > keep) list.pop_front();
}

using Guard = std::lock_guard<std::mutex>;

}  // namespace

void JobProgress::AddFound(uint32_t n) {
    Guard g(m_lock);
    m_pendingCount += n;
    m_foundCount += n;
}

void JobProgress::LinkDone(uint32_t n) {
    Guard g(m_lock);
    // Never below zero: a wrapped counter would show a nonsense percentage.
    m_pendingCount = n > m_pendingCount ? 0 : m_pendingCount - n;
}

void JobProgress::SetCounters(uint32_t n) {
    Guard g(m_lock);
    m_pendingCount = m_foundCount = n;
}

int JobProgress::PercentDone() const {
    Guard g(m_lock);
    if (m_foundCount == 0) return 0;
    return static_cast<int>((static_cast<uint64_t>(m_foundCount - m_pendingCount) * 100) / m_foundCount);
}

uint32_t JobProgress::FoundCount() const { Guard g(m_lock); return m_foundCount; }
uint32_t JobProgress::PendingCount() const { Guard g(m_lock); return m_pendingCount; }

bool JobProgress::AppendLog(std::string_view line) {
    const bool continuation = line.substr(0, kContinuation.size()) == kContinuation;
    Guard g(m_lock);
    if (continuation) {
        std::string_view rest = line.substr(kContinuation.size());
        if (m_detailLog.empty())
            PushBounded(m_detailLog, rest, kLogLinesKept);
        else
            m_detailLog.back().append(rest);
    } else {
        PushBounded(m_detailLog, line, kLogLinesKept);
    }
    return !continuation;
}

void JobProgress::AppendSimpleLog(std::string_view line) {
    Guard g(m_lock);
    PushBounded(m_simpleLog, line, kLogLinesKept);
}

std::vector<std::string> JobProgress::DetailedLog() const {
    Guard g(m_lock);
    return {m_detailLog.begin(), m_detailLog.end()};
}

std::vector<std::string> JobProgress::SimpleLog() const {
    Guard g(m_lock);
    return {m_simpleLog.begin(), m_simpleLog.end()};
}

std::string JobProgress::LogView(size_t lines) const {
    Guard g(m_lock);
    const std::deque<std::string>& list = m_detailView ? m_detailLog : m_simpleLog;
    size_t take = std::min(lines, list.size());
    for (; take > 0; --take) {
        size_t bytes = 0;
        for (size_t i = list.size() - take; i < list.size(); ++i) bytes += list[i].size() + 2;
        bytes -= 2;
        if (bytes <= kViewBytes) break;  // one line fewer only from kViewBytes + 1 bytes on
    }
    std::string view;
    for (size_t i = list.size() - take; i < list.size(); ++i) {
        if (i != list.size() - take) view += "\r\n";
        view += list[i];
    }
    return view;
}

bool JobProgress::DetailView() const { Guard g(m_lock); return m_detailView; }
void JobProgress::SetDetailView(bool on) { Guard g(m_lock); m_detailView = on; }

std::string JobProgress::JobSummary() const { Guard g(m_lock); return m_jobSummary; }
void JobProgress::SetJobSummary(std::string_view text) {
    Guard g(m_lock);
    m_jobSummary.assign(text.substr(0, kSummaryBytes - 1));
}

uint64_t JobProgress::StartTick() const { Guard g(m_lock); return m_startTick; }
void JobProgress::SetStartTick(uint64_t tick) { Guard g(m_lock); m_startTick = tick; }

uint32_t JobProgress::RunState() const { Guard g(m_lock); return m_runState; }
void JobProgress::SetRunState(uint32_t bits) { Guard g(m_lock); m_runState |= bits; }
void JobProgress::ClearRunState(uint32_t bits) { Guard g(m_lock); m_runState &= ~bits; }

}  // namespace engine
