#include "records/UpdateCheck.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "engine/CrawlDriver.h"
#include "engine/Fetcher.h"
#include "engine/JobRecords.h"
#include "engine/PlaceholderPages.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ContentHash.h"
#include "platform/FileUtil.h"
#include "records/CheckAhead.h"
#include "records/KeptVersions.h"
#include "records/SaveHistory.h"
#include "records/SavedSiteLog.h"
#include "records/UpdateFiles.h"

namespace records {

namespace {

// The fresh copy of a page lies beside it while it is compared.
constexpr const char* kTempSuffix = ".tmp";

struct Walk {
    int status = ChangedPagesSaved;
    bool changed = false;
    SaveHistory* history = nullptr;  // null when the save keeps none
    KeptVersions* versions = nullptr;
};

// What the index knows of a page: its validators and hash, when it knows the page.
struct Known {
    bool found = false;
    HistoryEntry entry;
};

void Record(engine::SaveJob& job, const SavedSiteLogEntry& entry, int64_t size) {
    // A check that revisits saved pages must not let a crawl visit this page once more.
    if (job.RevisitSavedPages()) job.MarkPageVisited(entry.localPath);
    if (engine::JobRecords* records = job.Records())
        records->RecordPage(job, entry.localPath, entry.url, entry.level, size);
}

// A path from the log is used only inside the saved site: the check deletes and writes it.
bool InsideSite(const std::string& logFolder, const std::string& path) {
    if (path.size() <= logFolder.size() || path.compare(0, logFolder.size(), logFolder) != 0) return false;
    if (path.back() == '/') return false;
    size_t from = logFolder.size();
    while (from <= path.size()) {
        size_t slash = path.find('/', from);
        if (slash == std::string::npos) slash = path.size();
        const std::string_view part(path.data() + from, slash - from);
        if (part == ".." || part == ".") return false;
        from = slash + 1;
    }
    return true;
}

// The stored size holds the low 32 bits of the page's size.
bool SameSize(int64_t now, int64_t stored) {
    return now >= 0 && (now == stored || (now & 0xFFFFFFFFll) == stored);
}

// How the page is asked for anew, into T: conditionally when a copy is on disk and the
// index knows what it was fetched with (the answer may then be FetchNotModified).
AheadItem AskFor(engine::SaveJob& job, const SavedSiteLogEntry& entry, const Known& known) {
    AheadItem item;
    if (!engine::IsAbsoluteUrl(entry.url)) return item;  // only web pages are checked
    // A folder removed since the save would make the fetch fail for no reason of the site's.
    const std::string folder = platform::FolderOf(entry.localPath);
    if (!platform::CreateFolderChain(folder)) job.AppendLog("  ！フォルダを作成できません: " + folder);
    item.url = entry.url;
    item.temp = item.path = entry.localPath + kTempSuffix;
    item.known = {known.entry.etag, known.entry.lastModified};
    item.ask = known.found && entry.size > 0 && platform::IsRegularFile(entry.localPath) &&
               (!item.known.etag.empty() || !item.known.lastModified.empty());
    return item;
}

// Whether the page fetched into T is the page saved before. The content hash decides where
// the index knows it: a change that keeps the size is a change. Without it, the size does.
bool SameAsSaved(const SavedSiteLogEntry& entry, const std::string& temp, const Known& known, const std::string& hash) {
    if (!platform::IsRegularFile(entry.localPath)) return false;
    if (known.found && !known.entry.hash.empty() && !hash.empty()) return hash == known.entry.hash;
    return SameSize(platform::FileSize(temp), entry.size);
}

void SaveAgain(engine::SaveHost& host, engine::SaveJob& job, const SavedSiteLogEntry& entry, Walk& walk) {
    walk.changed = true;
    job.AppendLog("　※このページは更新されていました。");
    if (job.StopRequested()) {
        // Stopped before the page step began: the old copy and its entry stay for the next check.
        Record(job, entry, entry.size);
        walk.status = SomePageFailed;
        return;
    }
    // The copy stays until the crawl's fetch replaces it: a fetch that fails keeps it. The
    // version it replaces is kept first.
    if (walk.versions && engine::IsSavedCopy(entry.localPath) && !walk.versions->Keep(entry.localPath))
        job.AppendLog("  ！旧版を残せませんでした: " + entry.localPath);
    const bool answerDecides = engine::IsAnswerNamedPage(entry.localPath, entry.url);
    if (engine::NewSiteDownload(host, job, entry.localPath, entry.url, entry.level, answerDecides) == 0)
        walk.status = SomePageFailed;
}

// A page that was saved before (stored size above 0).
void CheckSavedPage(engine::SaveHost& host, engine::SaveJob& job, const SavedSiteLogEntry& entry,
                    const std::string& temp, int fetched, const Known& known, const engine::FetchOrigin& heard,
                    Walk& walk) {
    if (fetched == engine::FetchNotModified) {
        // The server's word: nothing was sent, the copy stays as it is.
        job.AppendLog("　※このページは更新されていません。");
        Record(job, entry, entry.size);
        if (walk.history) walk.history->Unchanged(entry.url, entry.localPath, true, heard, {}, -1);
        return;
    }
    const std::string hash = fetched == 1 && walk.history ? platform::FileContentHash(temp) : std::string();
    if (fetched == 1 && SameAsSaved(entry, temp, known, hash)) {
        job.AppendLog("　※このページは更新されていません。");
        const int64_t size = platform::FileSize(temp);
        platform::DiscardTemporary(temp);
        Record(job, entry, entry.size);
        if (walk.history) walk.history->Unchanged(entry.url, entry.localPath, true, heard, hash, size);
    } else if (fetched == 1) {
        platform::DiscardTemporary(temp);
        SaveAgain(host, job, entry, walk);
    } else {
        // The old copy stays, and so does its entry.
        Record(job, entry, entry.size);
        job.AppendLog("　　　･･･このページの調査に失敗しました（DL失敗）。");
        platform::DiscardTemporary(temp);
        walk.status = SomePageFailed;
        if (walk.history) walk.history->Failed(entry.url, entry.localPath, true, heard.status);
    }
}

// A page whose download had failed before (stored size 0).
void CheckFailedPage(engine::SaveHost& host, engine::SaveJob& job, const SavedSiteLogEntry& entry,
                     const std::string& temp, int fetched, Walk& walk) {
    if (fetched == 1 && engine::IsSavedCopy(entry.localPath)) {
        // Saved meanwhile by the crawl of a changed page, which recorded it.
        job.AppendLog("　※このページは既に更新チェック済みです。");
        platform::DiscardTemporary(temp);
    } else if (fetched == 1) {
        platform::DiscardTemporary(temp);
        SaveAgain(host, job, entry, walk);
    } else {
        Record(job, entry, entry.size);
        job.AppendLog("　※このページはまだ存在しません（DL失敗）。");
        platform::DiscardTemporary(temp);
        if (walk.history) walk.history->Failed(entry.url, entry.localPath, true, 0);
    }
}

void CheckEntry(engine::SaveHost& host, engine::SaveJob& job, const std::string& logFolder,
                const SavedSiteLogEntry& entry, const Known& known, CheckAhead& ahead, size_t index, Walk& walk) {
    job.AppendSimpleLog(entry.url);
    job.AppendLog(entry.url + "のページを調査中…");
    job.AppendLog("  階層ナンバー: " + std::to_string(entry.level));
    job.LinkDone(1);
    if (!InsideSite(logFolder, entry.localPath)) {
        // Left out of the new log: a damaged or crafted entry must not reach other files.
        job.AppendLog("　　　･･･このページの調査に失敗しました（DL失敗）。");
        walk.status = SomePageFailed;
        return;
    }
    if (job.RevisitSavedPages() && job.PageVisited(entry.localPath)) {
        // Saved again meanwhile by the crawl of a changed page, which recorded it.
        job.AppendLog("　※このページは既に更新チェック済みです。");
        return;
    }
    const std::string temp = entry.localPath + kTempSuffix;
    const AheadResult answer = ahead.Take(index);
    const int fetched = answer.fetched;
    const engine::FetchOrigin& heard = answer.heard;
    if (entry.size > 0)
        CheckSavedPage(host, job, entry, temp, fetched, known, heard, walk);
    else
        CheckFailedPage(host, job, entry, temp, fetched, walk);
}

}  // namespace

int CheckSavedSite(engine::SaveHost& host, engine::SaveJob& job, const std::string&, const std::string&,
                   SaveHistory* history) {
    const std::string logFolder = job.LogFolder();
    const std::string oldLog = logFolder + kSavedSiteLogName + kSavedSiteLogBusySuffix;

    SavedSiteLogReader header;
    const bool headerRead = ReadSavedSiteLogHeader(oldLog, header) == LogRead;
    std::vector<SavedSiteLogEntry> entries;
    const int readWhole = ReadSavedSiteLogEntries(oldLog, logFolder, entries);
    const size_t n = headerRead ? std::min<size_t>(header.entryCount, entries.size()) : entries.size();
    job.SetCounters(static_cast<uint32_t>(n));

    Walk walk;
    if (history && history->Active()) {
        walk.history = history;
        // An index made anew learns the pages from the log; their hashes come with this check.
        if (history->Fresh()) history->RebuildPages(entries);
    }
    // Without an index the versions are still kept, by a run of this check's own.
    KeptVersions ownVersions(logFolder, VersionRunName(), job.Named().historyRuns);
    KeptVersions& versions = history && history->Versions() ? *history->Versions() : ownVersions;
    walk.versions = &versions;
    if (!readWhole) {
        job.AppendLog("  ！以前の保存ログの一部を読めませんでした。");
        walk.status = SomePageFailed;
    }
    // What the index knows of each page, and how each is asked for, before the walk begins:
    // the next pages are asked ahead while the walk handles one.
    std::vector<Known> known(n);
    std::vector<AheadItem> items(n);
    std::unordered_set<std::string> temps;
    for (size_t k = 0; k < n; ++k) {
        if (!InsideSite(logFolder, entries[k].localPath)) continue;
        if (walk.history) known[k].found = walk.history->Find(entries[k].url, known[k].entry);
        items[k] = AskFor(job, entries[k], known[k]);
        // A page listed twice is asked for by the walk itself, after its first entry.
        items[k].own = !items[k].temp.empty() && !temps.insert(items[k].temp).second;
    }
    size_t i = 0;
    {
        CheckAhead ahead(job, std::move(items));
        for (; i < n && !job.StopRequested(); ++i) CheckEntry(host, job, logFolder, entries[i], known[i], ahead, i, walk);
    }
    if (i < n) {
        // Stopped: what was not checked keeps its entry for the next check.
        for (; i < n; ++i)
            if (InsideSite(logFolder, entries[i].localPath)) Record(job, entries[i], entries[i].size);
        walk.status = SomePageFailed;
    }
    if (walk.history && !job.StopRequested()) {
        const FilesChecked files = CheckSavedFiles(job, logFolder, *walk.history, versions);
        walk.changed |= files.changed;
        if (files.failed) walk.status = SomePageFailed;
    }
    const std::string kept = versions.Finish();
    if (walk.history) walk.history->SetVersions(kept);
    if (!walk.changed && walk.status == ChangedPagesSaved) return NoPageChanged;
    return walk.status;
}

}  // namespace records
