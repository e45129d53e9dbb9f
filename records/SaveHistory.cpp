#include "records/SaveHistory.h"

#include <chrono>

#include "engine/Fetcher.h"
#include "engine/JobRecords.h"
#include "records/ChangeReport.h"
#include "records/SavedSiteLog.h"

namespace records {

namespace {

// Run rows kept in the index; older runs are of no more use than their pruned versions.
constexpr int64_t kRunsKept = 100;

}  // namespace

void SaveHistory::Begin(const std::string& folder, bool update, int64_t versionRuns,
                        std::vector<std::string>& notes) {
    m_folder = folder;
    if (update) m_versions = std::make_unique<KeptVersions>(folder, VersionRunName(), versionRuns);
    const std::string path = folder + kHistoryIndexName;
    std::string error;
    switch (m_index.Open(path, &error)) {
    case HistoryIndex::OpenFailed:
        notes.push_back("  ！更新履歴を開けません（" + error + "）。履歴なしで続けます: " + path);
        return;
    case HistoryIndex::OpenedRebuilt:
        m_fresh = true;
        notes.push_back("  ！更新履歴が壊れていたため、保存済みのコピーから作り直しました: " + path);
        break;
    case HistoryIndex::OpenedNew:
        m_fresh = true;
        if (update) notes.push_back("  更新履歴がないため、保存済みのコピーから作りました: " + path);
        break;
    default: break;
    }
    m_run = m_index.BeginRun(update ? "update" : "save", Now());
}

int64_t SaveHistory::Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string SaveHistory::Relative(const std::string& path) const {
    if (m_folder.empty() || path.size() <= m_folder.size() || path.compare(0, m_folder.size(), m_folder) != 0)
        return {};
    return path.substr(m_folder.size());
}

bool SaveHistory::Find(const std::string& url, HistoryEntry& out) { return Active() && m_index.Find(url, out); }

std::vector<HistoryEntry> SaveHistory::Files() {
    std::vector<HistoryEntry> files = m_index.Files();
    for (HistoryEntry& file : files) file.path = m_folder + file.path;
    return files;
}

HistoryEntry SaveHistory::Base(const std::string& url, const std::string& path, bool page, bool& known) {
    HistoryEntry entry;
    known = m_index.Find(url, entry);
    if (!known) {
        entry = {};
        entry.url = url;
        entry.firstSeen = Now();
    }
    entry.path = Relative(path);
    entry.page = page;
    entry.lastSeen = Now();
    return entry;
}

bool SaveHistory::Fetched(const engine::FetchedFile& file) {
    if (!Active() || Relative(file.path).empty()) return true;
    bool known = false;
    HistoryEntry entry = Base(file.url, file.path, file.page, known);
    const bool hadCopy = known && entry.size >= 0;
    if (!hadCopy || (entry.lastRun == m_run && entry.status == history::kNew))
        entry.status = history::kNew;
    else if (!entry.hash.empty() && entry.hash == file.hash)
        entry.status = history::kUnchanged;
    else
        entry.status = history::kChanged;
    // A page the crawl saves again (a changed page, or one met again when an interrupted
    // update is completed) still lies at its path while its step runs.
    const bool kept = !m_versions || !file.page || entry.status != history::kChanged || m_versions->Keep(file.path);
    entry.etag = file.etag;
    entry.lastModified = file.lastModified;
    entry.hash = file.hash;
    entry.size = file.size;
    entry.lastRun = m_run;
    m_index.Put(entry);
    return kept;
}

void SaveHistory::Failed(const std::string& url, const std::string& path, bool page, long status) {
    if (!Active() || Relative(path).empty()) return;
    bool known = false;
    HistoryEntry entry = Base(url, path, page, known);
    const bool hadCopy = known && entry.size >= 0;
    entry.status = hadCopy && (status == 404 || status == 410) ? history::kGone : history::kFailed;
    entry.lastRun = m_run;
    m_index.Put(entry);
}

void SaveHistory::Unchanged(const std::string& url, const std::string& path, bool page,
                            const engine::FetchOrigin& heard, const std::string& hash, int64_t size) {
    if (!Active() || Relative(path).empty()) return;
    bool known = false;
    HistoryEntry entry = Base(url, path, page, known);
    entry.status = history::kUnchanged;
    if (!heard.etag.empty()) entry.etag = heard.etag;
    if (!heard.lastModified.empty()) entry.lastModified = heard.lastModified;
    if (!hash.empty()) entry.hash = hash;
    if (size >= 0) entry.size = size;
    entry.lastRun = m_run;
    m_index.Put(entry);
}

void SaveHistory::RebuildPages(const std::vector<SavedSiteLogEntry>& entries) {
    if (!Active()) return;
    for (const SavedSiteLogEntry& page : entries) {
        if (Relative(page.localPath).empty()) continue;
        HistoryEntry entry;
        if (m_index.Find(page.url, entry)) continue;
        entry = {};
        entry.url = page.url;
        entry.path = Relative(page.localPath);
        entry.page = true;
        // The copy is the page with its links rewritten: neither its hash nor its validators
        // can be known until it is fetched again.
        entry.status = page.size > 0 ? history::kUnchanged : history::kFailed;
        entry.size = page.size > 0 ? page.size : -1;
        entry.firstSeen = entry.lastSeen = Now();
        m_index.Put(entry);
    }
    m_index.Flush();
}

void SaveHistory::SetVersions(const std::string& name) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_versionsName = name;
}

void SaveHistory::SetResult(int result) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_result = result;
}

void SaveHistory::WriteReport() {
    for (const HistoryRun& run : m_index.Runs()) {
        if (run.id != m_run) continue;
        if (WriteChangeReport(m_folder, run, m_index.EntriesOfRun(m_run), m_reportPath, &m_reportError) != 1)
            m_reportPath.clear();
        return;
    }
}

void SaveHistory::End(int result) {
    std::string versions;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_ended || !Active()) return;
        m_ended = true;
        versions = m_versionsName;
        if (m_result >= 0) result = m_result;
    }
    m_index.EndRun(m_run, Now(), result, versions);
    if (m_versions) WriteReport();
    m_index.PruneRuns(kRunsKept);
    m_index.Close();
}

}  // namespace records
