#include "platform/AppendFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileUtil.h"

namespace platform {

AppendFile::~AppendFile() { Close(); }

int AppendFile::Create(const std::string& path) {
    Close();
    const int fd = CreateFileExclusive(path);
    if (fd == CreateNameTaken) return NameTaken;
    if (fd < 0) return OpenFailed;
    m_fd = fd;
    m_size = 0;
    return Opened;
}

bool AppendFile::AppendPart(std::string_view part) {
    if (m_fd < 0) return false;
    if (!WriteAll(m_fd, part)) return false;
    m_size += part.size();
    return true;
}

void AppendFile::Abandon(uint64_t from) {
    if (m_fd < 0) return;
    // A piece that cannot be taken back would leave a broken record before later ones:
    // nothing more is written then.
    if (::ftruncate(m_fd, static_cast<off_t>(from)) != 0 || ::lseek(m_fd, static_cast<off_t>(from), SEEK_SET) < 0) {
        Close();
        return;
    }
    m_size = from;
}

bool AppendFile::Append(std::string_view piece) {
    const uint64_t from = m_size;
    if (AppendPart(piece)) return true;
    Abandon(from);
    return false;
}

void AppendFile::Close() {
    if (m_fd >= 0) CloseFile(m_fd);
    m_fd = -1;
}

}  // namespace platform
