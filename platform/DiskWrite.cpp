#include "platform/DiskWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FailureCause.h"
#include "platform/FileUtil.h"

namespace platform {

namespace {

int FromErrno(int error) {
    // A download tells a missing folder apart; the save's log counts it with the other
    // disk failures.
    if (error == ENOENT || error == ENOTDIR) return DiskNoFolder;
    switch (CauseOfErrno(error)) {
    case FailureCause::DiskFull: return DiskFull;
    case FailureCause::ReadOnly:
    case FailureCause::NoPermission: return DiskReadOnly;
    case FailureCause::NameTooLong: return DiskNameTooLong;
    default: return DiskOtherError;
    }
}

}  // namespace

int64_t FreeDiskSpace(const std::string& path) {
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) != 0) {
        // A file that is not there yet: its folder tells.
        const std::string folder = FolderOf(path);
        if (folder.empty() || folder == path || ::statvfs(folder.c_str(), &vfs) != 0) return -1;
    }
    return static_cast<int64_t>(vfs.f_bavail) * static_cast<int64_t>(vfs.f_frsize);
}

StreamFile::~StreamFile() {
    if (m_fd >= 0) ::close(m_fd);
}

int StreamFile::Fail() {
    m_error = FromErrno(errno);
    return m_error;
}

int StreamFile::Open(const std::string& path, int64_t keep) {
    if (m_fd >= 0) ::close(m_fd);
    m_error = DiskOk;
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (keep > 0 ? 0 : O_TRUNC), 0666);
    if (m_fd < 0) return Fail();
    if (keep > 0) {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) return Fail();
        if (st.st_size < keep) return m_error = DiskOtherError;
        if (::ftruncate(m_fd, keep) != 0 || ::lseek(m_fd, 0, SEEK_END) < 0) return Fail();
    }
    return DiskOk;
}

int StreamFile::Write(std::string_view bytes) {
    if (m_fd < 0) return m_error = DiskOtherError;
    if (!WriteAll(m_fd, bytes)) return Fail();
    return DiskOk;
}

int StreamFile::Close() {
    if (m_fd < 0) return DiskOk;
    const int rc = ::close(m_fd);
    m_fd = -1;
    return rc == 0 ? DiskOk : Fail();
}

int MoveFileOver(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0) return DiskOk;
    return FromErrno(errno);
}

}  // namespace platform
