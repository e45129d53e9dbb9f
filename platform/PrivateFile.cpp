#include "platform/PrivateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

std::string TooLarge(size_t maxBytes) {
    return maxBytes >= (1u << 20) ? "larger than " + std::to_string(maxBytes >> 20) + " MiB"
                                  : "larger than " + std::to_string(maxBytes) + " bytes";
}

}  // namespace

PrivateFileReport ReadPrivateFile(const std::string& path, size_t maxBytes, std::string& text) {
    PrivateFileReport report;
    text.clear();
    // Non-blocking: a named pipe in place of the file must not hold the save up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        report.error = std::strerror(errno);
        return report;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        report.error = "not a regular file";
    } else if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        report.error = TooLarge(maxBytes);
    } else {
        report.openToOthers = (st.st_mode & (S_IRGRP | S_IROTH)) != 0;
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                report.error = std::strerror(errno);
                break;
            }
            if (n == 0) break;
            text.append(buffer, static_cast<size_t>(n));
            if (text.size() > maxBytes) {
                report.error = TooLarge(maxBytes);
                break;
            }
        }
    }
    ::close(fd);
    report.read = report.error.empty();
    if (!report.read) text.clear();
    return report;
}

}  // namespace platform
