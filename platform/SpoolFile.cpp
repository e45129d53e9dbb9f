#include "platform/SpoolFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

SpoolFile::~SpoolFile() {
    if (m_fd >= 0) ::close(m_fd);
}

bool SpoolFile::Open(const std::vector<std::string>& stems) {
    if (m_fd >= 0) return true;
    for (const std::string& stem : stems) {
        std::string name = stem + "XXXXXX";
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) continue;
        ::unlink(name.c_str());
        m_fd = fd;
        return true;
    }
    return false;
}

bool SpoolFile::WriteAt(uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(m_fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
        offset += static_cast<uint64_t>(n);
    }
    return true;
}

int64_t SpoolFile::ReadAt(uint64_t offset, char* out, size_t length) const {
    for (;;) {
        const ssize_t n = ::pread(m_fd, out, length, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}

}  // namespace platform
