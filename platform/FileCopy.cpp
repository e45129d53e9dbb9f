#include "platform/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileUtil.h"
#include "platform/ReplacingWriter.h"

namespace platform {

bool CopyFileQuick(const std::string& from, const std::string& to) {
    const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    ReplacingWriter writer(to);
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && writer.Open() &&
                    ReadInPieces(fd, [&writer](std::string_view piece) { return writer.Write(piece); });
    ::close(fd);
    return ok && writer.Commit(Durability::Fast);
}

}  // namespace platform
