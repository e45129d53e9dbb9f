// The saved-site log "SitrovSaveInfo.log": a header describing the save and one entry per
// HTML page saved or failed. Shift-JIS text with CR LF line ends, hidden.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine {
class SaveJob;
}

namespace records {

constexpr const char* kSavedSiteLogName = "SitrovSaveInfo.log";
// The earlier log of a running update check carries this suffix; while it exists, readers
// report the log as in use.
constexpr const char* kSavedSiteLogBusySuffix = ".tmp";
// Line 1: "Sitrova Ver3.30～" in Shift-JIS (the fullwidth tilde is 0x81 0x60).
constexpr const char* kSavedSiteLogSignature = "Sitrova Ver3.30\x81\x60";
constexpr const char* kSavedSiteLogDummyLine = "--- Dummy -------------------------------";

// The writer of one running save. Entries are kept until the save ends (spooled to a
// temporary file when there are many, so memory does not grow with the site).
class SavedSiteLog {
public:
    explicit SavedSiteLog(std::string logPath);
    ~SavedSiteLog();
    SavedSiteLog(const SavedSiteLog&) = delete;
    SavedSiteLog& operator=(const SavedSiteLog&) = delete;

    const std::string& Path() const { return m_logPath; }
    // One page: local path, URL, level, size (0: failed). Thread-safe. Returns 1, or 0 when
    // the entry cannot be stored (a line break in a field, or a character that Shift-JIS
    // cannot hold; `error` names it) and is left out.
    int RecordPage(const std::string& path, const std::string& url, int32_t level, int64_t size,
                   std::string* error = nullptr);
    uint32_t EntryCount() const;
    // Writes the whole file once (later calls do nothing): header and entries go to
    // path + "Temp", which then replaces the log, hidden. Returns 1 written, 0 failed.
    [[nodiscard]] int Write(const engine::SaveJob& job, std::string* error = nullptr);

private:
    friend SavedSiteLog* OpenSavedSiteLogForSave(engine::SaveJob& job, std::vector<std::string>* notes);
    struct Impl;
    std::string m_logPath;
    Impl* m_impl;
};

enum SavedSiteLogError : int { LogRead = 0, LogUnsupported = 1, LogMissing = 2, LogInUse = 3 };

struct SavedSiteLogReader {
    int error = LogMissing;
    std::string message;          // "Error:N\r\n..." for errors 1..3, in the user's language
    uint32_t modeWord = 0;        // line 6
    std::string urlBase;          // line 4
    std::string urlLeaf;          // line 5
    std::string saveFolder;       // where the log lies now (or the data folder's parent)
    std::string startPageName;    // line 3, or derived from the data folder's name
    std::string storedFolder;     // line 2 as stored (in UTF-8)
    size_t storedFolderLength = 0; // bytes of line 2 in the file (Shift-JIS)
    int32_t lankLimit = 0;        // line 7
    uint32_t entryCount = 0;      // line 8
    std::string lastWriteText;    // last-write time of the log, for display
};

// Reads the header of the log at `logPath` (a ".tmp" beside it means "in use"). Returns the
// error code (0 read). An empty log is removed.
[[nodiscard]] int ReadSavedSiteLogHeader(const std::string& logPath, SavedSiteLogReader& reader);

// One entry of an existing log, with its path moved to the log's present folder.
struct SavedSiteLogEntry {
    std::string localPath;
    std::string url;
    int32_t level = 0;
    int64_t size = 0;
};

// Reads every entry of the log file at `path` (which may be the ".tmp" name). The stored
// paths are rebased: their first storedFolderLength bytes become `presentFolder` (stored
// paths written on Windows, with a drive and "\", become "/" paths). Returns 1, or 0 when
// the file cannot be read or is damaged (entries read so far are kept; text after the
// header's count of entries is damage too). An entry whose path
// does not lie inside the stored folder, or whose rest climbs out with "..", is left out
// (and the result is 0): the update check deletes and rewrites these paths.
[[nodiscard]] int ReadSavedSiteLogEntries(const std::string& path, const std::string& presentFolder,
                                          std::vector<SavedSiteLogEntry>& entries);

// True when the file holds the header and exactly as many whole four-line entries as the
// header counts (what the entries say is not judged here).
[[nodiscard]] bool SavedSiteLogIntact(const std::string& path);

// The log hand-over at the start of a save: compares an earlier log of the same target with
// the job (mask 0x63BF, URL case aside, limit) and renames it to ".tmp" (updateCheck set),
// or deletes it. Creates the job's writer. Returns the writer (owned by the caller).
// While the writer lives it holds a lock on the ".tmp" log. A ".tmp" that nobody holds is
// left over from a run that ended without closing its log: it is taken back as the log
// when no newer log exists, and removed otherwise, before the comparison.
// An earlier log that cannot be read back whole is not handed over: a line for the job's log
// goes to `notes` and the save runs as a new save of every page.
SavedSiteLog* OpenSavedSiteLogForSave(engine::SaveJob& job, std::vector<std::string>* notes = nullptr);

// The end of a save: writes the log; after an update check the earlier ".tmp" log is then
// deleted, or, when the new log could not be written, put back under the log's name so the
// saved site stays readable. Returns the result of Write. The caller then deletes the writer.
[[nodiscard]] int CloseSavedSiteLog(engine::SaveJob& job, SavedSiteLog& log, std::string* error = nullptr);

}  // namespace records
