#include "platform/RandomAccessFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

RandomAccessFile::~RandomAccessFile() {
    if (m_fd >= 0) ::close(m_fd);
}

bool RandomAccessFile::Open(const std::string& path, std::string* why) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        if (why) *why = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (why) *why = "not a regular file";
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_size = st.st_size;
    return true;
}

size_t RandomAccessFile::ReadAt(uint64_t offset, char* buffer, size_t length) const {
    size_t done = 0;
    while (m_fd >= 0 && done < length) {
        const ssize_t n = ::pread(m_fd, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

}  // namespace platform
