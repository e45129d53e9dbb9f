#include "platform/FileLock.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Clock.h"

namespace platform {

namespace {

// Tries after a holder deleted the file between our open and our lock.
constexpr int kTakeTries = 8;

bool SameFile(int fd, const std::string& path) {
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool LockOpenFile(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        if (errno != EINTR) return false;
    return true;
}

bool LockOpenFileAt(int fd, const std::string& path) { return LockOpenFile(fd) && SameFile(fd, path); }

FileLock::~FileLock() { Release(false); }

int FileLock::TakeNow(const std::string& path) {
    Release(false);
    for (int i = 0; i < kTakeTries; ++i) {
        bool created = true;
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) {
            created = false;
            fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
            if (fd < 0 && errno == ENOENT) continue;  // deleted meanwhile: create it
        }
        if (fd < 0) return LockFailed;
        if (!LockOpenFile(fd)) {
            ::close(fd);
            return LockBusy;
        }
        // The holder before us may have deleted the file before letting go: ours must be the
        // file that carries the name, or a third run could lock a new one beside us.
        if (!SameFile(fd, path)) {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_path = path;
        return created ? LockTaken : LockLeftOver;
    }
    return LockBusy;
}

int FileLock::TakeWaiting(const std::string& path, uint32_t timeoutMs) {
    constexpr uint32_t kPollMs = 20;
    const uint64_t deadline = TickCount() + timeoutMs;
    for (;;) {
        const int taken = TakeNow(path);
        if (taken != LockBusy || TickCount() >= deadline) return taken;
        SleepMs(kPollMs);
    }
}

int FileLock::TakeExistingNow(const std::string& path) {
    Release(false);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return LockFailed;
    if (!LockOpenFile(fd) || !SameFile(fd, path)) {
        ::close(fd);
        return LockBusy;
    }
    m_fd = fd;
    m_path = path;
    return LockTaken;
}

void FileLock::Release(bool removeFile) {
    if (m_fd < 0) return;
    if (removeFile) ::unlink(m_path.c_str());
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

int RemoveStaleLockedFiles(const std::string& folder, const std::string& prefix, const std::string& suffix,
                           int64_t minAgeSeconds) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    std::string base = folder;
    if (!base.empty() && base.back() != '/') base += '/';
    const time_t now = ::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            !EndsWith(name, suffix))
            continue;
        const std::string path = base + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || now - st.st_mtime < minAgeSeconds) continue;
        FileLock lock;
        if (lock.TakeExistingNow(path) != FileLock::LockTaken) continue;
        lock.Release(true);
        ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace platform
