#include "engine/SaveJob.h"

#include <chrono>

#include "engine/JobRecords.h"
#include "engine/LinkText.h"
#include "platform/ByteString.h"

namespace engine {

namespace mode {

uint32_t JobKind(uint32_t modeFlags) {
    for (uint32_t bit : {ModeSomeComplete, ModeSomeSeries, ModeUpdateCheck, ModeAdRemoval})
        if (modeFlags & bit) return bit;
    return ModeNormal;
}

}  // namespace mode

namespace {

constexpr std::string_view kContinuation = "_Ad_";

void PushBounded(std::deque<std::string>& list, std::string line, size_t keep) {
    list.push_back(std::move(line));
    while (list.size() > keep) list.pop_front();
}

}  // namespace

using Guard = std::lock_guard<std::mutex>;

SaveJob::SaveJob() = default;

SaveJob::~SaveJob() {
    {
        Guard g(m_lock);
        m_stopRequested = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable()) m_worker.join();
}

void SaveJob::SetStartUrl(std::string_view url) {
    size_t p = url.rfind('/');
    Guard g(m_lock);
    if (p == std::string_view::npos) {
        m_urlBase.clear();
        m_urlLeaf.assign(url);
    } else {
        m_urlBase.assign(url.substr(0, p + 1));
        m_urlLeaf.assign(url.substr(p + 1));
    }
}

std::string SaveJob::UrlBase() const { Guard g(m_lock); return m_urlBase; }
std::string SaveJob::UrlLeaf() const { Guard g(m_lock); return m_urlLeaf; }
void SaveJob::SetUrlLeaf(std::string_view leaf) { Guard g(m_lock); m_urlLeaf.assign(leaf); }

std::string SaveJob::StartUrl() const {
    Guard g(m_lock);
    return (m_modeFlags & mode::ModeIndexAppended) ? m_urlBase : m_urlBase + m_urlLeaf;
}

void SaveJob::SetSaveTarget(std::string_view path) {
    size_t p = path.rfind('/');
    Guard g(m_lock);
    std::string folder = p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
    std::string name(p == std::string_view::npos ? path : path.substr(p + 1));
    m_saveFolder = m_logFolder = m_startFolder = folder;
    m_saveName = m_chosenSaveName = name;
}

std::string SaveJob::SaveFolder() const { Guard g(m_lock); return m_saveFolder; }
std::string SaveJob::LogFolder() const { Guard g(m_lock); return m_logFolder; }
std::string SaveJob::StartFolder() const { Guard g(m_lock); return m_startFolder; }
std::string SaveJob::SaveName() const { Guard g(m_lock); return m_saveName; }
std::string SaveJob::ChosenSaveName() const { Guard g(m_lock); return m_chosenSaveName; }
void SaveJob::SetLogFolder(std::string_view f) { Guard g(m_lock); m_logFolder.assign(f); }
void SaveJob::SetStartFolder(std::string_view f) { Guard g(m_lock); m_startFolder.assign(f); }
void SaveJob::SetSaveName(std::string_view n) { Guard g(m_lock); m_saveName.assign(n); }
std::string SaveJob::StartPath() const { Guard g(m_lock); return m_startFolder + m_saveName; }

std::string SaveJob::ProgramFolder() const { Guard g(m_lock); return m_programFolder; }
void SaveJob::SetProgramFolder(std::string_view f) { Guard g(m_lock); m_programFolder.assign(f); m_iniPath.clear(); }

std::string SaveJob::IniPath() const {
    Guard g(m_lock);
    if (m_iniPath.empty()) m_iniPath = m_programFolder + "/" + "Sitrov.ini";
    return m_iniPath;
}

std::string SaveJob::QdxPath() const { Guard g(m_lock); return m_qdxPath; }
void SaveJob::SetQdxPath(std::string_view p) { Guard g(m_lock); m_qdxPath.assign(p); }

uint32_t SaveJob::ModeFlags() const { Guard g(m_lock); return m_modeFlags; }
bool SaveJob::Has(uint32_t bits) const { Guard g(m_lock); return (m_modeFlags & bits) != 0; }
void SaveJob::SetModeBits(uint32_t bits) { Guard g(m_lock); m_modeFlags |= bits; }
void SaveJob::ClearModeBits(uint32_t bits) { Guard g(m_lock); m_modeFlags &= ~bits; }
int32_t SaveJob::LankLimit() const { Guard g(m_lock); return m_lankLimit; }
void SaveJob::SetLankLimit(int32_t limit) { Guard g(m_lock); m_lankLimit = limit < 0 ? 0 : limit; }

uint32_t SaveJob::CpuSleepMs() const { Guard g(m_lock); return m_cpuSleepMs; }
void SaveJob::SetCpuSleepMs(uint32_t ms) {
    {
        Guard g(m_lock);
        m_cpuSleepMs = ms;
    }
    // A shorter pause takes effect at once, not after the pause already begun.
    m_wake.notify_all();
}

bool SaveJob::UpdateCheck() const { Guard g(m_lock); return m_updateCheck; }
void SaveJob::SetUpdateCheck(bool on) { Guard g(m_lock); m_updateCheck = on; }
bool SaveJob::RevisitSavedPages() const { Guard g(m_lock); return m_revisitSavedPages; }
void SaveJob::SetRevisitSavedPages(bool on) { Guard g(m_lock); m_revisitSavedPages = on; }
bool SaveJob::MarkPageVisited(const std::string& path) { Guard g(m_lock); return m_visitedPages.insert(path).second; }
bool SaveJob::PageVisited(const std::string& path) const { Guard g(m_lock); return m_visitedPages.count(path) != 0; }
NamedOptions SaveJob::Named() const { Guard g(m_lock); return m_named; }
void SaveJob::SetNamed(const NamedOptions& named) { Guard g(m_lock); m_named = named; }
uint16_t SaveJob::BlogCutOff() const { Guard g(m_lock); return m_blogCutOff; }
bool SaveJob::BlogCutOffRead() const { Guard g(m_lock); return m_blogCutOffRead; }
void SaveJob::SetBlogCutOff(uint16_t v) { Guard g(m_lock); m_blogCutOff = v; m_blogCutOffRead = true; }

void SaveJob::AddFound(uint32_t n) {
    Guard g(m_lock);
    m_pendingCount += n;
    m_foundCount += n;
}

void SaveJob::LinkDone(uint32_t n) {
    Guard g(m_lock);
    // Never below zero: a wrapped counter would show a nonsense percentage.
    m_pendingCount = n > m_pendingCount ? 0 : m_pendingCount - n;
}

void SaveJob::SetCounters(uint32_t n) {
    Guard g(m_lock);
    m_pendingCount = m_foundCount = n;
}

int SaveJob::PercentDone() const {
    Guard g(m_lock);
    if (m_foundCount == 0) return 0;
    return static_cast<int>((static_cast<uint64_t>(m_foundCount - m_pendingCount) * 100) / m_foundCount);
}

uint32_t SaveJob::FoundCount() const { Guard g(m_lock); return m_foundCount; }
uint32_t SaveJob::PendingCount() const { Guard g(m_lock); return m_pendingCount; }

void SaveJob::AppendLog(std::string_view line) {
    const bool continuation = line.substr(0, kContinuation.size()) == kContinuation;
    JobRecords* records = nullptr;
    {
        Guard g(m_lock);
        if (continuation) {
            std::string_view rest = line.substr(kContinuation.size());
            if (m_detailLog.empty())
                PushBounded(m_detailLog, std::string(rest), kLogLinesKept);
            else
                m_detailLog.back().append(rest);
        } else {
            PushBounded(m_detailLog, std::string(line), kLogLinesKept);
        }
        records = m_records;
    }
    if (records && !continuation) records->WriteErrorLine(line);
}

void SaveJob::AppendSimpleLog(std::string_view line) {
    Guard g(m_lock);
    PushBounded(m_simpleLog, std::string(line), kLogLinesKept);
}

std::vector<std::string> SaveJob::DetailedLog() const {
    Guard g(m_lock);
    return {m_detailLog.begin(), m_detailLog.end()};
}

std::vector<std::string> SaveJob::SimpleLog() const {
    Guard g(m_lock);
    return {m_simpleLog.begin(), m_simpleLog.end()};
}

std::string SaveJob::LogView(size_t lines) const {
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

bool SaveJob::DetailView() const { Guard g(m_lock); return m_detailView; }
void SaveJob::SetDetailView(bool on) { Guard g(m_lock); m_detailView = on; }

std::string SaveJob::JobSummary() const { Guard g(m_lock); return m_jobSummary; }
void SaveJob::SetJobSummary(std::string_view text) {
    Guard g(m_lock);
    m_jobSummary.assign(text.substr(0, kSummaryBytes - 1));
}

std::vector<std::string> SaveJob::TraceSelection() const { Guard g(m_lock); return m_traceSelection; }
void SaveJob::SetTraceSelection(std::vector<std::string> list) { Guard g(m_lock); m_traceSelection = std::move(list); }

void SaveJob::AddOutDomainLink(std::string_view url, std::string_view sourcePath) {
    Guard g(m_lock);
    m_outDomainUrls.emplace_back(url);
    m_outDomainPaths.emplace_back(sourcePath);
}

void SaveJob::TakeOutDomainLinks(std::vector<std::string>& urls, std::vector<std::string>& paths) const {
    Guard g(m_lock);
    urls = m_outDomainUrls;
    paths = m_outDomainPaths;
}

void SaveJob::SetOutDomainLinks(std::vector<std::string> urls, std::vector<std::string> paths) {
    Guard g(m_lock);
    m_outDomainUrls = std::move(urls);
    m_outDomainPaths = std::move(paths);
}

uint64_t SaveJob::StartTick() const { Guard g(m_lock); return m_startTick; }
void SaveJob::SetStartTick(uint64_t tick) { Guard g(m_lock); m_startTick = tick; }

bool SaveJob::WorkerRunning() const { Guard g(m_lock); return m_workerRunning; }
bool SaveJob::WorkerEnded() const { Guard g(m_lock); return m_workerEnded; }
int SaveJob::Result() const { Guard g(m_lock); return m_result; }
int SaveJob::Refusal() const { Guard g(m_lock); return m_refusal; }
void SaveJob::SetRefusal(int exitCode) { Guard g(m_lock); m_refusal = exitCode; }

void SaveJob::FinishWorker(int result) {
    {
        Guard g(m_lock);
        m_result = result;
        m_workerRunning = false;
        m_workerEnded = true;
    }
    m_wake.notify_all();
}

bool SaveJob::StopWorker(uint32_t waitMs) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_stopRequested = true;
    m_wake.notify_all();
    bool ended = m_wake.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return !m_workerRunning; });
    lock.unlock();
    if (ended && m_worker.joinable()) m_worker.join();
    return ended;
}

bool SaveJob::WaitWorker(uint32_t waitMs) const {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_wake.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return !m_workerRunning; });
}

bool SaveJob::StopRequested() const { Guard g(m_lock); return m_stopRequested; }

void SaveJob::MarkHostUnreachable(std::string_view url) const {
    std::string host = platform::AsciiLowerCopy(SchemeAndHost(url));
    if (host.empty()) return;
    Guard g(m_lock);
    m_unreachableHosts.insert(std::move(host));
}

bool SaveJob::HostUnreachable(std::string_view url) const {
    const std::string host = platform::AsciiLowerCopy(SchemeAndHost(url));
    Guard g(m_lock);
    return !host.empty() && m_unreachableHosts.count(host) > 0;
}

void SaveJob::Pause(uint32_t ms) const {
    if (ms == 0) return;
    std::unique_lock<std::mutex> lock(m_lock);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    m_wake.wait_until(lock, until, [this] { return m_stopRequested; });
}

JobSnapshot SaveJob::Snapshot() const {
    Guard g(m_lock);
    JobSnapshot s;
    s.modeFlags = m_modeFlags;
    s.foundCount = m_foundCount;
    s.pendingCount = m_pendingCount;
    s.cpuSleepMs = m_cpuSleepMs;
    s.startTick = m_startTick;
    s.detailView = m_detailView;
    s.workerRunning = m_workerRunning;
    s.workerEnded = m_workerEnded;
    s.result = m_result;
    return s;
}

JobRecords* SaveJob::Records() const { Guard g(m_lock); return m_records; }
void SaveJob::SetRecords(JobRecords* records) { Guard g(m_lock); m_records = records; }

}  // namespace engine
