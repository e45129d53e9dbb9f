#include "records/UpdateCheck.h"

#include <algorithm>
#include <vector>

#include "engine/CrawlDriver.h"
#include "engine/Fetcher.h"
#include "engine/JobRecords.h"
#include "engine/PlaceholderPages.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/FileUtil.h"
#include "records/SavedSiteLog.h"

namespace records {

namespace {

// The fresh copy of a page lies beside it while it is compared.
constexpr const char* kTempSuffix = ".tmp";

struct Walk {
    int status = ChangedPagesSaved;
    bool changed = false;
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

// Fetches the page anew into T. 1 fetched.
int FetchAgain(engine::SaveJob& job, const SavedSiteLogEntry& entry, const std::string& temp) {
    if (!engine::IsAbsoluteUrl(entry.url)) return 0;  // only web pages are checked
    // A folder removed since the save would make the fetch fail for no reason of the site's.
    const std::string folder = platform::FolderOf(entry.localPath);
    if (!platform::CreateFolderChain(folder)) job.AppendLog("  ！フォルダを作成できません: " + folder);
    return engine::FetchUrlToFile(job, entry.url, temp);
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
    // The copy stays until the crawl's fetch replaces it: a fetch that fails keeps it.
    const bool answerDecides = engine::IsAnswerNamedPage(entry.localPath, entry.url);
    if (engine::NewSiteDownload(host, job, entry.localPath, entry.url, entry.level, answerDecides) == 0)
        walk.status = SomePageFailed;
}

// A page that was saved before (stored size above 0).
void CheckSavedPage(engine::SaveHost& host, engine::SaveJob& job, const SavedSiteLogEntry& entry,
                    const std::string& temp, int fetched, Walk& walk) {
    if (fetched == 1 && SameSize(platform::FileSize(temp), entry.size) && platform::IsRegularFile(entry.localPath)) {
        job.AppendLog("　※このページは更新されていません。");
        platform::DiscardTemporary(temp);
        Record(job, entry, entry.size);
    } else if (fetched == 1) {
        platform::DiscardTemporary(temp);
        SaveAgain(host, job, entry, walk);
    } else {
        // The old copy stays, and so does its entry.
        Record(job, entry, entry.size);
        job.AppendLog("　　　･･･このページの調査に失敗しました（DL失敗）。");
        platform::DiscardTemporary(temp);
        walk.status = SomePageFailed;
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
    }
}

void CheckEntry(engine::SaveHost& host, engine::SaveJob& job, const std::string& logFolder,
                const SavedSiteLogEntry& entry, Walk& walk) {
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
    const int fetched = FetchAgain(job, entry, temp);
    if (entry.size > 0)
        CheckSavedPage(host, job, entry, temp, fetched, walk);
    else
        CheckFailedPage(host, job, entry, temp, fetched, walk);
}

}  // namespace

int CheckSavedSite(engine::SaveHost& host, engine::SaveJob& job, const std::string&, const std::string&) {
    const std::string logFolder = job.LogFolder();
    const std::string oldLog = logFolder + kSavedSiteLogName + kSavedSiteLogBusySuffix;

    SavedSiteLogReader header;
    const bool headerRead = ReadSavedSiteLogHeader(oldLog, header) == LogRead;
    std::vector<SavedSiteLogEntry> entries;
    const int readWhole = ReadSavedSiteLogEntries(oldLog, logFolder, entries);
    const size_t n = headerRead ? std::min<size_t>(header.entryCount, entries.size()) : entries.size();
    job.SetCounters(static_cast<uint32_t>(n));

    Walk walk;
    if (!readWhole) {
        job.AppendLog("  ！以前の保存ログの一部を読めませんでした。");
        walk.status = SomePageFailed;
    }
    size_t i = 0;
    for (; i < n && !job.StopRequested(); ++i) CheckEntry(host, job, logFolder, entries[i], walk);
    if (i < n) {
        // Stopped: what was not checked keeps its entry for the next check.
        for (; i < n; ++i)
            if (InsideSite(logFolder, entries[i].localPath)) Record(job, entries[i], entries[i].size);
        walk.status = SomePageFailed;
    }
    if (!walk.changed && walk.status == ChangedPagesSaved) return NoPageChanged;
    return walk.status;
}

}  // namespace records
