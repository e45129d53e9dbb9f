// Writing a file as it arrives, with the reason when the disk refuses: a download must tell a
// full disk from a name the file system will not take, and neither from a missing file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Why the disk refused; translated from errno here and nowhere else.
enum DiskError : int {
    DiskOk = 0,
    DiskFull = 1,         // no space left, or the quota is used up
    DiskReadOnly = 2,     // a read-only file system or a folder we may not write into
    DiskNameTooLong = 3,  // the file name or the whole path is longer than the system takes
    DiskNoFolder = 4,     // the folder of the file is not there
    DiskOtherError = 5,
};

// Free bytes for us on the file system that holds `path` (a file or a folder); -1 when it
// cannot be learnt.
int64_t FreeDiskSpace(const std::string& path);

// A file written from its start, or continued behind the bytes it already holds.
class StreamFile {
public:
    StreamFile() = default;
    ~StreamFile();
    StreamFile(const StreamFile&) = delete;
    StreamFile& operator=(const StreamFile&) = delete;

    // Opens `path`, keeping its first `keep` bytes (0: an empty file). A file shorter than
    // `keep` is DiskOtherError.
    [[nodiscard]] int Open(const std::string& path, int64_t keep);
    [[nodiscard]] int Write(std::string_view bytes);
    // Closing can report what the writes did not (a full disk on a network file system).
    [[nodiscard]] int Close();
    bool IsOpen() const { return m_fd >= 0; }
    // The error of the last failed call (DiskOk when none failed).
    int LastError() const { return m_error; }

private:
    int Fail();
    int m_fd = -1;
    int m_error = DiskOk;
};

// Renames `from` over `to`; DiskOk or why it failed.
[[nodiscard]] int MoveFileOver(const std::string& from, const std::string& to);

}  // namespace platform
