#include "platform/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/ReplacingWriter.h"

namespace platform {

bool CopyFileQuick(const std::string& from, const std::string& to) {
    const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    ReplacingWriter writer(to);
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && writer.Open();
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = writer.Write(std::string_view(buffer, static_cast<size_t>(n)));
    }
    ::close(fd);
    return ok && writer.Commit(Durability::Fast);
}

}  // namespace platform
