// A nameless scratch file for data that outgrows memory. Its name is removed as soon as it is
// made, so a crash leaves nothing behind and the space goes back when it is closed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class SpoolFile {
public:
    SpoolFile() = default;
    ~SpoolFile();
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    // Makes the file under the first of `stems` (a path and the start of a name) whose folder
    // takes it. False when none does.
    [[nodiscard]] bool Open(const std::vector<std::string>& stems);
    bool IsOpen() const { return m_fd >= 0; }
    // Writes all of `bytes` at `offset`, or fails.
    [[nodiscard]] bool WriteAt(uint64_t offset, std::string_view bytes);
    // Reads up to `length` bytes at `offset`: how many came, 0 at the end, -1 on an error.
    [[nodiscard]] int64_t ReadAt(uint64_t offset, char* out, size_t length) const;

private:
    int m_fd = -1;
};

}  // namespace platform
