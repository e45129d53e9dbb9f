// A file read at any offset, for readers that must not hold a large file in memory (a
// multi-gigabyte web archive). Reads from several threads at once are safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class RandomAccessFile {
public:
    RandomAccessFile() = default;
    ~RandomAccessFile();
    RandomAccessFile(const RandomAccessFile&) = delete;
    RandomAccessFile& operator=(const RandomAccessFile&) = delete;

    // False (with `why` set) when the file cannot be opened for reading or is no regular file.
    [[nodiscard]] bool Open(const std::string& path, std::string* why = nullptr);
    int64_t Size() const { return m_size; }
    // Reads up to `length` bytes at `offset`; the count read (0 at the end or on a failure).
    size_t ReadAt(uint64_t offset, char* buffer, size_t length) const;

private:
    int m_fd = -1;
    int64_t m_size = 0;
};

}  // namespace platform
