#include "platform/FileUtil.h"

#include "platform/ReplacingWriter.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr const char* kHiddenAttr = "user.sitrova.hidden";

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

namespace {

bool WriteWithFlags(const std::string& path, std::string_view bytes, int flags, bool sync) {
    int fd = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    if (ok && sync) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    return ok;
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t FileSize(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

bool RemoveFile(const std::string& path) {
    if (::unlink(path.c_str()) == 0) return true;
    return errno == ENOENT;
}

void DiscardTemporary(const std::string& path) { ::unlink(path.c_str()); }

bool RenameFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// In pieces: a save's error log runs to tens of megabytes, and copying it must not hold it
// in memory whole at the end of the save.
bool CopyFile(const std::string& from, const std::string& to) {
    const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    ReplacingWriter writer(to);
    // A read error part-way leaves the old file as it was.
    const bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) && writer.Open() &&
                    ReadInPieces(fd, [&writer](std::string_view piece) { return writer.Write(piece); });
    ::close(fd);
    return ok && writer.Commit(Durability::Durable);
}

bool MayCreateIn(const std::string& folder, std::string* why) {
    if (::access(folder.c_str(), W_OK | X_OK) == 0) return true;
    if (why) *why = std::strerror(errno);
    return false;
}

bool CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    return errno == EEXIST && IsDirectory(path);
}

size_t NameMaxBytes() { return NAME_MAX; }
size_t PathMaxBytes() { return PATH_MAX - 1; }  // PATH_MAX counts the closing NUL

int PathFitsLimits(std::string_view path) {
    if (path.size() > PathMaxBytes()) return PathTooLong;
    for (size_t begin = 0; begin <= path.size();) {
        size_t end = path.find('/', begin);
        if (end == std::string_view::npos) end = path.size();
        if (end - begin > NameMaxBytes()) return PathNameTooLong;
        begin = end + 1;
    }
    return PathFits;
}

bool CreateFolderChain(const std::string& path) {
    if (path.empty()) return false;
    // The whole chain or nothing: a name too long at its end would otherwise leave the
    // folders before it behind.
    if (PathFitsLimits(path) != PathFits) {
        errno = ENAMETOOLONG;
        return false;
    }
    for (size_t p = path.find('/', 1); p != std::string::npos; p = path.find('/', p + 1)) {
        std::string part = path.substr(0, p);
        if (!IsDirectory(part) && !CreateFolder(part)) return false;
    }
    return IsDirectory(path) || CreateFolder(path);
}

bool ReadWholeFile(const std::string& path, std::string& out, size_t maxBytes) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (st.st_size > 0) out.reserve(std::min<size_t>(static_cast<size_t>(st.st_size), maxBytes));
    char buf[65536];
    while (out.size() < maxBytes) {
        ssize_t n = ::read(fd, buf, std::min(sizeof buf, maxBytes - out.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            // A read error part-way must not pass for the whole file: a rewrite would save
            // the truncated text over it.
            ::close(fd);
            out.clear();
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

bool ReadInPieces(int fd, const std::function<bool(std::string_view)>& take) {
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        if (!take(std::string_view(buf, static_cast<size_t>(n)))) return false;
    }
}

bool ReadFileHead(const std::string& path, std::string& out, size_t bytes) {
    return ReadWholeFile(path, out, bytes);
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes, Durability durability) {
    ReplacingWriter writer(path);
    return writer.Open() && writer.Write(bytes) && writer.Commit(durability);
}

int RewriteFileInPlace(const std::string& path, const std::function<bool(std::string&)>& edit,
                       Durability durability) {
    std::string text;
    if (!IsRegularFile(path) || !ReadWholeFile(path, text)) return RewriteUnreadable;
    if (!edit(text)) return RewriteDone;
    return WriteFileReplacing(path, text, durability) ? RewriteDone : RewriteNotWritten;
}

int CreateFileExclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) return fd;
    return errno == EEXIST ? CreateNameTaken : CreateFailed;
}

void CloseFile(int fd) {
    if (fd >= 0) ::close(fd);
}

bool WriteFilePlain(const std::string& path, std::string_view bytes) {
    return WriteWithFlags(path, bytes, O_CREAT | O_TRUNC, false);
}

bool OverwriteFile(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && WriteAll(fd, bytes);
    if (ok && st.st_size > static_cast<off_t>(bytes.size())) ok = ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    if (::close(fd) != 0) ok = false;
    return ok;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
    return WriteWithFlags(path, bytes, O_CREAT | O_APPEND, false);
}

void SetHidden(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR)) ::chmod(path.c_str(), st.st_mode | S_IWUSR);
    ::setxattr(path.c_str(), kHiddenAttr, "1", 1, 0);
}

bool IsHidden(const std::string& path) {
    char v = 0;
    return ::getxattr(path.c_str(), kHiddenAttr, &v, 1) == 1 && v == '1';
}

bool IsSymbolicLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool MakeExecutable(const std::string& path) { return ::chmod(path.c_str(), 0755) == 0; }

std::string WorkingFolder() {
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    return ec ? std::string() : here.string();
}

int64_t LastWriteTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return -1;
    return static_cast<int64_t>(st.st_mtime);
}

std::string CanonicalPath(const std::string& path) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string out(real);
        std::free(real);
        return out;
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

std::string FolderOf(std::string_view path) {
    size_t p = path.rfind('/');
    return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string NameOf(std::string_view path) {
    size_t p = path.rfind('/');
    return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

}  // namespace platform
