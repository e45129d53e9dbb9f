// The error log of one save job: every detailed-log line goes to a temporary file, which is
// copied beside the saved site when pages failed and deleted in any case.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace records {

constexpr const char* kErrorLogName = "SitrovError";

class ErrorLog {
public:
    ErrorLog() = default;
    ~ErrorLog();  // Destroy
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    // Removes the logs of runs that died (no live process holds them), then creates
    // tempFolder + "/SitrovError" + a free number from 0 to 1023 + ".log", held locked. 1 when
    // open, 0 when no name was free or the folder cannot be written. A log already open is
    // destroyed first.
    [[nodiscard]] int Open(const std::string& tempFolder);
    // Any thread: the line in Shift-JIS and CR LF (characters without a code are written as
    // "[U+XXXX]"). Nothing happens when the log is not open. Lines are gathered and written
    // in blocks: when 32 KiB have come together, when a line comes a second or more after the
    // oldest one waiting, and at Keep or Destroy. A run that is killed loses the lines that
    // were still waiting.
    void WriteLine(std::string_view utf8);
    // Closes the file, copies it to folder + "SitrovError.log" (replacing an older one) and
    // deletes the temporary file. 1 when the copy was written and no line was lost.
    [[nodiscard]] int Keep(const std::string& folder);
    // Closes and deletes the temporary file.
    void Destroy();

    std::string TempPath() const;
    bool IsOpen() const;

private:
    void CloseLocked();
    void FlushLocked();

    mutable std::mutex m_lock;
    int m_fd = -1;
    std::string m_tempPath;
    bool m_lostLines = false;
    std::string m_pending;        // lines not yet written
    uint64_t m_pendingSinceMs = 0;  // when the oldest of them came (TickCount)
};

}  // namespace records
