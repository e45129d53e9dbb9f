// A file that grows by whole pieces: each piece is written at the end or, when the write
// fails part-way, cut off again, so the file holds only whole pieces (a record log that a
// killed program leaves readable up to its last piece).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    enum OpenResult : int { Opened = 1, OpenFailed = 0, NameTaken = -2 };
    // Creates `path`; an existing entry of that name is left alone (NameTaken).
    [[nodiscard]] int Create(const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }
    uint64_t Size() const { return m_size; }
    // Appends a whole piece; false (and the file as it was) when it cannot be written.
    [[nodiscard]] bool Append(std::string_view piece);
    // Appends a piece that comes in parts; `Abandon` takes back what was written since `from`.
    [[nodiscard]] bool AppendPart(std::string_view part);
    void Abandon(uint64_t from);
    void Close();

private:
    int m_fd = -1;
    uint64_t m_size = 0;
};

}  // namespace platform
