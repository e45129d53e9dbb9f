// The history index as one save job uses it: opened when the save begins, one run row for
// the job, each fetched or failed page and file noted as the save goes, the run closed with
// its counts when the save ends. Every call is safe from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "records/HistoryIndex.h"
#include "records/KeptVersions.h"

namespace engine {
struct FetchedFile;
struct FetchOrigin;
}  // namespace engine

namespace records {

struct SavedSiteLogEntry;

class SaveHistory {
public:
    // Opens the index in the log folder `folder` (with "/") and begins the run ("update" or
    // "save"). A line for the job's log goes to `notes` when the index had to be made anew.
    // An update keeps the earlier versions of what it replaces for `versionRuns` runs.
    void Begin(const std::string& folder, bool update, int64_t versionRuns, std::vector<std::string>& notes);
    bool Active() const { return m_index.IsOpen(); }
    // The index was made in this run (there was none, or it was damaged): it knows only what
    // this run tells it.
    bool Fresh() const { return m_fresh; }
    const std::string& Folder() const { return m_folder; }
    int64_t RunId() const { return m_run; }

    // The path relative to the log folder; "" for a path outside it.
    std::string Relative(const std::string& path) const;

    bool Find(const std::string& url, HistoryEntry& out);
    // Every embedded file the index knows, with the absolute path in `path`.
    std::vector<HistoryEntry> Files();

    // Fetched: new (no copy before), unchanged (same contents) or changed. In an update, a
    // changed page's copy, not yet replaced, is kept as its earlier version. False when that
    // version could not be kept.
    [[nodiscard]] bool Fetched(const engine::FetchedFile& file);
    // The earlier versions of an update run (null in a save).
    KeptVersions* Versions() { return m_versions.get(); }
    // Failed: gone when the server said so of a file that had a copy, else failed.
    void Failed(const std::string& url, const std::string& path, bool page, long status);
    // The copy was found current (the server's 304, or the same contents): its validators and
    // hash are renewed from what was heard ("" keeps the stored ones).
    void Unchanged(const std::string& url, const std::string& path, bool page, const engine::FetchOrigin& heard,
                   const std::string& hash, int64_t size);
    // The pages of the saved-site log, for an index made anew: what the copy itself says.
    void RebuildPages(const std::vector<SavedSiteLogEntry>& entries);

    void SetVersions(const std::string& name);
    void SetResult(int result);
    // Closes the run (once) and the index. An update run writes its change report first.
    void End(int result);
    // What became of the change report: its path, or the reason it was not written.
    const std::string& ReportPath() const { return m_reportPath; }
    const std::string& ReportError() const { return m_reportError; }

private:
    static int64_t Now();
    void WriteReport();
    HistoryEntry Base(const std::string& url, const std::string& path, bool page, bool& known);

    HistoryIndex m_index;
    std::unique_ptr<KeptVersions> m_versions;
    std::string m_folder;
    int64_t m_run = 0;
    bool m_fresh = false;
    bool m_ended = false;
    std::mutex m_lock;
    std::string m_versionsName;
    int m_result = -1;
    std::string m_reportPath;
    std::string m_reportError;
};

}  // namespace records
