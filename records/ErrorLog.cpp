#include "records/ErrorLog.h"

#include <random>

#include "platform/Clock.h"
#include "platform/FileLock.h"
#include "platform/FileUtil.h"
#include "platform/ShiftJisText.h"

namespace records {

namespace {

constexpr unsigned kNumbers = 1024;
// Random draws first, as the name is meant to differ between runs; then every number in
// turn, so a folder with many leftovers still yields a free name or a clear failure.
constexpr unsigned kRandomDraws = 4 * kNumbers;
// Lines are written in blocks of about this size, and none waits longer than kHoldMs.
constexpr size_t kBlockBytes = 32 * 1024;
constexpr uint64_t kHoldMs = 1000;

std::string TempName(const std::string& folder, unsigned number) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    return path + kErrorLogName + std::to_string(number) + ".log";
}

}  // namespace

ErrorLog::~ErrorLog() { Destroy(); }

int ErrorLog::Open(const std::string& tempFolder) {
    Destroy();
    // Logs of runs that died (killed, or a power loss) are held by nobody; live ones are
    // locked. A run killed a moment ago leaves a log as fresh as a live one's, so age proves
    // nothing: a log being made is only ours once it is locked under its name (below).
    platform::RemoveStaleLockedFiles(tempFolder, kErrorLogName, ".log", 0);
    std::random_device seed;
    std::mt19937 draw(seed());
    std::uniform_int_distribution<unsigned> number(0, kNumbers - 1);
    for (unsigned i = 0; i < kRandomDraws + kNumbers; ++i) {
        const std::string path = TempName(tempFolder, i < kRandomDraws ? number(draw) : i - kRandomDraws);
        if (platform::FileExists(path)) continue;
        const int fd = platform::CreateFileExclusive(path);
        if (fd == platform::CreateNameTaken) continue;
        if (fd < 0) return 0;  // the folder cannot be written
        // Held for as long as the log is open, so that other runs leave it alone.
        if (!platform::LockOpenFileAt(fd, path)) {
            platform::CloseFile(fd);
            continue;
        }
        std::lock_guard<std::mutex> guard(m_lock);
        m_fd = fd;
        m_tempPath = path;
        m_lostLines = false;
        return 1;
    }
    return 0;
}

void ErrorLog::WriteLine(std::string_view utf8) {
    const std::string bytes = platform::ToShiftJis(utf8, platform::Unmappable::CodePointMark);
    const uint64_t now = platform::TickCount();
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_fd < 0) return;
    if (m_pending.empty()) m_pendingSinceMs = now;
    m_pending += bytes;
    m_pending += "\r\n";
    if (m_pending.size() >= kBlockBytes || now - m_pendingSinceMs >= kHoldMs) FlushLocked();
}

void ErrorLog::FlushLocked() {
    if (m_pending.empty()) return;
    if (m_fd >= 0 && !platform::WriteAll(m_fd, m_pending)) m_lostLines = true;
    m_pending.clear();
}

int ErrorLog::Keep(const std::string& folder) {
    std::string temp;
    bool lostLines = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_tempPath.empty()) return 0;
        CloseLocked();
        temp = m_tempPath;
        m_tempPath.clear();
        lostLines = m_lostLines;
    }
    std::string target = folder;
    if (!target.empty() && target.back() != '/') target += '/';
    // A log that lost lines is still kept, but the caller hears that it is not whole.
    const int kept = platform::CopyFile(temp, target + kErrorLogName + ".log") && !lostLines ? 1 : 0;
    platform::DiscardTemporary(temp);
    return kept;
}

void ErrorLog::Destroy() {
    std::string temp;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        CloseLocked();
        temp.swap(m_tempPath);
    }
    if (!temp.empty()) platform::DiscardTemporary(temp);
}

std::string ErrorLog::TempPath() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_tempPath;
}

bool ErrorLog::IsOpen() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_fd >= 0;
}

void ErrorLog::CloseLocked() {
    FlushLocked();
    platform::CloseFile(m_fd);
    m_fd = -1;
}

}  // namespace records
