#include "platform/ReplacingWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

ReplacingWriter::ReplacingWriter(std::string path) : m_path(std::move(path)), m_temp(m_path + "Temp") {}

ReplacingWriter::~ReplacingWriter() { Abandon(); }

bool ReplacingWriter::Open() {
    Abandon();
    m_failed = false;
    m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return m_fd >= 0;
}

bool ReplacingWriter::Write(std::string_view bytes) {
    if (m_fd < 0 || m_failed) return false;
    if (!WriteAll(m_fd, bytes)) m_failed = true;
    return !m_failed;
}

bool ReplacingWriter::Commit(Durability durability, bool hide) {
    if (m_fd < 0) return false;
    bool ok = !m_failed;
    if (ok && durability == Durability::Durable) ok = ::fsync(m_fd) == 0;
    if (::close(m_fd) != 0) ok = false;
    m_fd = -1;
    // Keep the mark of a hidden record across the rewrite.
    if (ok && (hide || IsHidden(m_path))) SetHidden(m_temp);
    if (!ok || !RenameFile(m_temp, m_path)) {
        const int error = errno;  // the caller asks why it failed, not why the clean-up did
        ::unlink(m_temp.c_str());
        errno = error;
        return false;
    }
    if (hide) SetHidden(m_path);
    return true;
}

void ReplacingWriter::Abandon() {
    if (m_fd < 0) return;
    ::close(m_fd);
    m_fd = -1;
    const int error = errno;
    ::unlink(m_temp.c_str());
    errno = error;
}

}  // namespace platform
