#include "engine/SaveJob.h"

#include "engine/JobRecords.h"
#include "platform/UserPlaces.h"

namespace engine {

namespace mode {

uint32_t JobKind(uint32_t modeFlags) {
    for (uint32_t bit : {ModeSomeComplete, ModeSomeSeries, ModeUpdateCheck, ModeAdRemoval})
        if (modeFlags & bit) return bit;
    return ModeNormal;
}

}  // namespace mode

using Guard = std::lock_guard<std::mutex>;

SaveJob::SaveJob() = default;

// The worker uses every part of the job: it ends before any part goes.
SaveJob::~SaveJob() { m_control.StopAndJoin(); }

SaveOptions SaveJob::Options() const { Guard g(m_lock); return m_options; }

bool SaveJob::SetOptions(const SaveOptions& options) {
    Guard g(m_lock);
    if (m_frozen) return false;
    m_options = options;
    if (m_options.lankLimit < 0) m_options.lankLimit = 0;
    return true;
}

bool SaveJob::OptionsFrozen() const { Guard g(m_lock); return m_frozen; }

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
    return m_options.Has(mode::ModeIndexAppended) ? m_urlBase : m_urlBase + m_urlLeaf;
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
    std::string folder;
    {
        Guard g(m_lock);
        if (!m_iniPath.empty()) return m_iniPath;
        folder = m_programFolder;
    }
    // The settings' place is looked up (and perhaps made) without the lock held.
    const std::string path = platform::PlaceFor(platform::Place::Settings, folder) + "/" + "Sitrov.ini";
    Guard g(m_lock);
    if (m_iniPath.empty() && m_programFolder == folder) m_iniPath = path;
    return path;
}

std::string SaveJob::QdxPath() const { Guard g(m_lock); return m_qdxPath; }
void SaveJob::SetQdxPath(std::string_view p) { Guard g(m_lock); m_qdxPath.assign(p); }

uint32_t SaveJob::ModeFlags() const {
    const uint32_t state = m_progress.RunState();
    Guard g(m_lock);
    return m_options.modeFlags | state;
}

bool SaveJob::Has(uint32_t bits) const { return (ModeFlags() & bits) != 0; }

void SaveJob::SetModeBits(uint32_t bits) {
    if (bits & mode::RunStateBits) m_progress.SetRunState(bits & mode::RunStateBits);
    EditOptions([bits](SaveOptions& o) { o.modeFlags |= bits & ~mode::RunStateBits; });
}

void SaveJob::ClearModeBits(uint32_t bits) {
    if (bits & mode::RunStateBits) m_progress.ClearRunState(bits & mode::RunStateBits);
    EditOptions([bits](SaveOptions& o) { o.modeFlags &= ~bits; });
}

int32_t SaveJob::LankLimit() const { Guard g(m_lock); return m_options.lankLimit; }
void SaveJob::SetLankLimit(int32_t limit) {
    EditOptions([limit](SaveOptions& o) { o.lankLimit = limit < 0 ? 0 : limit; });
}

uint32_t SaveJob::CpuSleepMs() const { return m_control.CpuSleepMs(); }
void SaveJob::SetCpuSleepMs(uint32_t ms) { m_control.SetCpuSleepMs(ms); }

bool SaveJob::UpdateCheck() const { Guard g(m_lock); return m_options.updateCheck; }
void SaveJob::SetUpdateCheck(bool on) {
    EditOptions([on](SaveOptions& o) { o.updateCheck = on; });
}
bool SaveJob::RevisitSavedPages() const { return m_run.RevisitSavedPages(); }
void SaveJob::SetRevisitSavedPages(bool on) { m_run.SetRevisitSavedPages(on); }
bool SaveJob::MarkPageVisited(const std::string& path) { return m_run.MarkPageVisited(path); }
bool SaveJob::PageVisited(const std::string& path) const { return m_run.PageVisited(path); }
NamedOptions SaveJob::Named() const { Guard g(m_lock); return m_options.named; }
void SaveJob::SetNamed(const NamedOptions& named) {
    EditOptions([&named](SaveOptions& o) { o.named = named; });
}
uint16_t SaveJob::BlogCutOff() const { return m_run.BlogCutOff(); }
bool SaveJob::BlogCutOffRead() const { return m_run.BlogCutOffRead(); }
void SaveJob::SetBlogCutOff(uint16_t v) { m_run.SetBlogCutOff(v); }

void SaveJob::AddFound(uint32_t n) { m_progress.AddFound(n); }
void SaveJob::LinkDone(uint32_t n) { m_progress.LinkDone(n); }
void SaveJob::SetCounters(uint32_t n) { m_progress.SetCounters(n); }
int SaveJob::PercentDone() const { return m_progress.PercentDone(); }
uint32_t SaveJob::FoundCount() const { return m_progress.FoundCount(); }
uint32_t SaveJob::PendingCount() const { return m_progress.PendingCount(); }

void SaveJob::AppendLog(std::string_view line) {
    if (!m_progress.AppendLog(line)) return;
    if (JobRecords* records = m_run.Records()) records->WriteErrorLine(line);
}

void SaveJob::AppendSimpleLog(std::string_view line) { m_progress.AppendSimpleLog(line); }
std::vector<std::string> SaveJob::DetailedLog() const { return m_progress.DetailedLog(); }
std::vector<std::string> SaveJob::SimpleLog() const { return m_progress.SimpleLog(); }
std::string SaveJob::LogView(size_t lines) const { return m_progress.LogView(lines); }
bool SaveJob::DetailView() const { return m_progress.DetailView(); }
void SaveJob::SetDetailView(bool on) { m_progress.SetDetailView(on); }
std::string SaveJob::JobSummary() const { return m_progress.JobSummary(); }
void SaveJob::SetJobSummary(std::string_view text) { m_progress.SetJobSummary(text); }

std::vector<std::string> SaveJob::TraceSelection() const { Guard g(m_lock); return m_options.traceSelection; }
void SaveJob::SetTraceSelection(std::vector<std::string> list) {
    EditOptions([&list](SaveOptions& o) { o.traceSelection = std::move(list); });
}

void SaveJob::AddOutDomainLink(std::string_view url, std::string_view sourcePath) {
    m_run.AddOutDomainLink(url, sourcePath);
}
void SaveJob::TakeOutDomainLinks(std::vector<std::string>& urls, std::vector<std::string>& paths) const {
    m_run.TakeOutDomainLinks(urls, paths);
}
void SaveJob::SetOutDomainLinks(std::vector<std::string> urls, std::vector<std::string> paths) {
    m_run.SetOutDomainLinks(std::move(urls), std::move(paths));
}

uint64_t SaveJob::StartTick() const { return m_progress.StartTick(); }
void SaveJob::SetStartTick(uint64_t tick) { m_progress.SetStartTick(tick); }

bool SaveJob::WorkerRunning() const { return m_control.Running(); }
bool SaveJob::WorkerEnded() const { return m_control.Ended(); }
int SaveJob::Result() const { return m_control.Result(); }
int SaveJob::Refusal() const { return m_control.Refusal(); }
void SaveJob::SetRefusal(int exitCode) { m_control.SetRefusal(exitCode); }
bool SaveJob::StopWorker(uint32_t waitMs) { return m_control.Stop(waitMs); }
bool SaveJob::WaitWorker(uint32_t waitMs) const { return m_control.Wait(waitMs); }
bool SaveJob::StopRequested() const { return m_control.StopRequested(); }
void SaveJob::Pause(uint32_t ms) const { m_control.Pause(ms); }

void SaveJob::MarkHostUnreachable(std::string_view url) const { m_run.MarkHostUnreachable(url); }
bool SaveJob::HostUnreachable(std::string_view url) const { return m_run.HostUnreachable(url); }

JobSnapshot SaveJob::Snapshot() const {
    JobSnapshot s;
    s.modeFlags = ModeFlags();
    s.foundCount = m_progress.FoundCount();
    s.pendingCount = m_progress.PendingCount();
    s.cpuSleepMs = m_control.CpuSleepMs();
    s.startTick = m_progress.StartTick();
    s.detailView = m_progress.DetailView();
    s.workerRunning = m_control.Running();
    s.workerEnded = m_control.Ended();
    s.result = m_control.Result();
    return s;
}

JobRecords* SaveJob::Records() const { return m_run.Records(); }
void SaveJob::SetRecords(JobRecords* records) { m_run.SetRecords(records); }

}  // namespace engine
