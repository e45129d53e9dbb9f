// The streamed form of WriteFileReplacing, for files too large to build in memory first: the
// text goes to path + "Temp" piece by piece and replaces the file only when Commit succeeds,
// so a failure or a crash part-way leaves the old file whole.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileUtil.h"

namespace platform {

class ReplacingWriter {
public:
    explicit ReplacingWriter(std::string path);
    // A writer that was not committed deletes its temporary file.
    ~ReplacingWriter();
    ReplacingWriter(const ReplacingWriter&) = delete;
    ReplacingWriter& operator=(const ReplacingWriter&) = delete;

    // Creates (or truncates) the temporary file.
    [[nodiscard]] bool Open();
    [[nodiscard]] bool Write(std::string_view bytes);
    // Flushes as asked, closes and moves the temporary file over the file. A hidden file, or
    // one asked to be hidden, keeps the mark. False (and the old file untouched) on any error.
    [[nodiscard]] bool Commit(Durability durability, bool hide = false);
    // Deletes the temporary file; the old file stays.
    void Abandon();

    const std::string& TempPath() const { return m_temp; }

private:
    std::string m_path;
    std::string m_temp;
    int m_fd = -1;
    bool m_failed = false;
};

}  // namespace platform
