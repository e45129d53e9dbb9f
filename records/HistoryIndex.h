// The history index of a saved site, "SitrovHistory.sqlite" beside its saved-site log: what
// each URL of the copy was when it was last fetched (local path, validators, size, content
// hash, when first and last seen, what the last run found) and one row per run with its
// counts. It is a cache that makes updates cheap; the saved-site log stays the record of the
// pages. A missing or damaged index is made anew, and the next runs fill it again.
//
// Every SQLite call of the program lives in HistoryIndex.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace records {

constexpr const char* kHistoryIndexName = "SitrovHistory.sqlite";

// What the last run that met a URL found, as stored in the index's "status" column.
namespace history {
constexpr const char* kNew = "new";              // saved for the first time
constexpr const char* kChanged = "changed";      // saved again: its contents differed
constexpr const char* kUnchanged = "unchanged";  // asked again and found the same
constexpr const char* kGone = "gone";            // the server said it no longer exists (404/410)
constexpr const char* kFailed = "failed";        // could not be fetched
}  // namespace history

struct HistoryEntry {
    std::string url;
    std::string path;   // relative to the folder of the index
    bool page = false;  // a page of the saved-site log; else an embedded file
    std::string status;
    std::string etag;
    std::string lastModified;
    int64_t size = -1;  // -1: never saved
    std::string hash;   // "" when unknown
    int64_t firstSeen = 0;  // seconds since the epoch
    int64_t lastSeen = 0;
    int64_t lastRun = 0;  // id of the run that last met it
};

struct HistoryRun {
    int64_t id = 0;
    std::string kind;  // "save" or "update"
    int64_t started = 0;
    int64_t ended = 0;  // 0 while it runs, or after it was killed
    int64_t counts[5] = {};  // new, changed, unchanged, gone, failed
    int result = 0;
    std::string versions;  // the kept-version folder of the run under "_history/" ("" none)
};

class HistoryIndex {
public:
    enum OpenResult : int {
        OpenFailed = 0,
        OpenedExisting = 1,
        OpenedNew = 2,       // there was none
        OpenedRebuilt = 3,   // the file was damaged and has been made anew
    };

    HistoryIndex();
    ~HistoryIndex();
    HistoryIndex(const HistoryIndex&) = delete;
    HistoryIndex& operator=(const HistoryIndex&) = delete;

    // Opens the index at `path`, creating it when missing; a file that is no sound index is
    // removed and created anew. `error` receives the library's words on failure.
    [[nodiscard]] int Open(const std::string& path, std::string* error = nullptr);
    // Opens an existing index for reading only, as the catalogue does: nothing is created,
    // mended or written. False (and no index open) when it is missing, damaged or no index
    // of ours; the reader then treats the site as never updated.
    bool OpenReadOnly(const std::string& path);
    bool IsOpen() const;
    void Close();

    // Writes are grouped into transactions; Flush commits what is pending. A run that is
    // killed loses at most the writes since the last commit, never the index.
    void Flush();

    int64_t BeginRun(const std::string& kind, int64_t now);
    // Counts the run's entries by status and closes its row.
    void EndRun(int64_t run, int64_t now, int result, const std::string& versions);
    bool LastRun(HistoryRun& out);
    std::vector<HistoryRun> Runs();
    // Keeps the newest `keep` run rows.
    void PruneRuns(int64_t keep);

    bool Find(const std::string& url, HistoryEntry& out);
    void Put(const HistoryEntry& entry);
    // Every entry of embedded files (not pages), in URL order.
    std::vector<HistoryEntry> Files();
    // The entries the run met, for its report.
    std::vector<HistoryEntry> EntriesOfRun(int64_t run);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::mutex m_lock;
};

}  // namespace records
