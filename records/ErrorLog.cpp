#include "records/ErrorLog.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "platform/FileUtil.h"
#include "records/ShiftJisText.h"

namespace records {

namespace {

constexpr unsigned kNumbers = 1024;
// Random draws first, as the name is meant to differ between runs; then every number in
// turn, so a folder with many leftovers still yields a free name or a clear failure.
constexpr unsigned kRandomDraws = 4 * kNumbers;

std::string TempName(const std::string& folder, unsigned number) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    return path + kErrorLogName + std::to_string(number) + ".log";
}

// O_EXCL: a name taken between the test and the creation by another process is not shared.
int CreateExclusive(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

}  // namespace

ErrorLog::~ErrorLog() { Destroy(); }

int ErrorLog::Open(const std::string& tempFolder) {
    Destroy();
    std::random_device seed;
    std::mt19937 draw(seed());
    std::uniform_int_distribution<unsigned> number(0, kNumbers - 1);
    for (unsigned i = 0; i < kRandomDraws + kNumbers; ++i) {
        const std::string path = TempName(tempFolder, i < kRandomDraws ? number(draw) : i - kRandomDraws);
        if (platform::FileExists(path)) continue;
        const int fd = CreateExclusive(path);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return 0;  // the folder cannot be written
        }
        std::lock_guard<std::mutex> guard(m_lock);
        m_fd = fd;
        m_tempPath = path;
        return 1;
    }
    return 0;
}

void ErrorLog::WriteLine(std::string_view utf8) {
    const std::string bytes = ToShiftJis(utf8, Unmappable::CodePointMark) + "\r\n";
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_fd >= 0) (void)platform::WriteAll(m_fd, bytes);
}

int ErrorLog::Keep(const std::string& folder) {
    std::string temp;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_tempPath.empty()) return 0;
        CloseLocked();
        temp = m_tempPath;
        m_tempPath.clear();
    }
    std::string target = folder;
    if (!target.empty() && target.back() != '/') target += '/';
    const int kept = platform::CopyFile(temp, target + kErrorLogName + ".log") ? 1 : 0;
    platform::RemoveFile(temp);
    return kept;
}

void ErrorLog::Destroy() {
    std::string temp;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        CloseLocked();
        temp.swap(m_tempPath);
    }
    if (!temp.empty()) platform::RemoveFile(temp);
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
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

}  // namespace records
