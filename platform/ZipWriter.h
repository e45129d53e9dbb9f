// Writing a zip file (libzip): entries from memory, compressed, or from files, stored as
// they are. The file appears under its name only when it is complete.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class ZipWriter {
public:
    ZipWriter() = default;
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Starts a new zip at `path` (replacing one there when Commit succeeds).
    [[nodiscard]] bool Open(const std::string& path);
    [[nodiscard]] bool AddBytes(const std::string& name, std::string_view bytes);
    // The file's bytes go in uncompressed (they are compressed already).
    [[nodiscard]] bool AddFileStored(const std::string& name, const std::string& path);
    // Writes the zip; false (and nothing under the name) when it cannot be written.
    [[nodiscard]] bool Commit();
    const std::string& Error() const { return m_error; }

private:
    bool Fail();
    void* m_zip = nullptr;  // zip_t*
    std::string m_error;
};

}  // namespace platform
