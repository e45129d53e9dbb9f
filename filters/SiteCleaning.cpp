#include "filters/SiteCleaning.h"

#include <chrono>
#include <condition_variable>
#include <thread>

#include "filters/CutAdv.h"
#include "filters/PageMarkup.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"
#include "records/QdxRecord.h"
#include "records/SavedSiteLog.h"

namespace filters {

void SiteCleaningJob::Begin(uint32_t total) {
    std::lock_guard lock(m_lock);
    m_state.total = total;
}

void SiteCleaningJob::AddPage(CleanedPage page) {
    std::lock_guard lock(m_lock);
    ++m_state.done;
    m_state.newPages.push_back(std::move(page));
}

void SiteCleaningJob::Fail(std::string message) {
    std::lock_guard lock(m_lock);
    m_state.error = std::move(message);
}

void SiteCleaningJob::End() {
    std::lock_guard lock(m_lock);
    m_state.ended = true;
}

SiteCleaningSnapshot SiteCleaningJob::TakeSnapshot() {
    std::lock_guard lock(m_lock);
    SiteCleaningSnapshot copy = m_state;
    m_state.newPages.clear();
    return copy;
}

int CleaningPercent(uint32_t done, uint32_t total) {
    if (total == 0) return 100;
    return static_cast<int>((uint64_t{done} * 100 + total / 2) / total);
}

std::string CleaningCountText(uint32_t done, uint32_t total) {
    return platform::TrArgs("処理済HTMLファイル数\r\n%1 ／ %2\r\n･･･ %3％終了",
                            {std::to_string(done), std::to_string(total), std::to_string(CleaningPercent(done, total))});
}

std::string CleaningResultText(int result) { return result == AdsRemoved ? platform::Tr("削除しました") : platform::Tr("見つかりません"); }

namespace {

// Sleeps, but wakes at once when the window asks the worker to stop.
void SleepUnlessStopped(uint32_t ms, const std::stop_token& stop) {
    if (ms == 0) return;
    std::mutex m;
    std::condition_variable_any wake;
    std::unique_lock lock(m);
    (void)wake.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
}

// Enough of a file to see how it begins.
constexpr size_t kHeadBytes = 4096;

// A page under a name of its own (a server script's, say) shows itself by its first tag:
// the doctype or the html or head tag, behind nothing but blanks, comments and an XML
// declaration.
bool BeginsAsHtml(const std::string& path) {
    std::string head;
    if (!platform::ReadFileHead(path, head, kHeadBytes)) return false;
    size_t textFrom = head.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    MarkupWalk walk(head, textFrom);
    MarkupItem item;
    while (walk.Next(item)) {
        const size_t text = head.find_first_not_of(" \t\r\n\f", textFrom);
        if (text < item.begin) return false;
        const std::string_view tag = std::string_view(head).substr(item.begin, item.end - item.begin);
        if (item.kind == MarkupItem::Comment || platform::StartsWithI(tag, "<?xml")) {
            textFrom = item.end;
            continue;
        }
        if (item.kind == MarkupItem::Declaration) return platform::StartsWithI(tag, "<!doctype html");
        return item.kind == MarkupItem::StartTag &&
               (platform::EqualsI(item.name, "html") || platform::EqualsI(item.name, "head"));
    }
    return false;
}

}  // namespace

bool IsHtmlPageFile(const std::string& path) {
    if (platform::EndsWithI(path, ".html") || platform::EndsWithI(path, ".htm")) return true;
    return BeginsAsHtml(path);
}

int CleanSavedSite(const std::string& qdxPath, uint32_t sleepMs, SiteCleaningJob& job, std::stop_token stop) {
    records::QdxRecordReader reader;
    // A record whose saved pages were moved away stays: the user may bring them back.
    if (records::OpenQdxRecord(qdxPath, reader, records::StaleRecord::Keep) != records::QdxReadable) {
        job.Fail(reader.message.empty() ? platform::TrArgs("Qdxファイルを開けませんでした。\r\n%1", {qdxPath}) : reader.message);
        job.End();
        return 0;
    }
    const std::string present = platform::FolderOf(reader.logPath);
    std::vector<records::SavedSiteLogEntry> entries;
    // Entries whose path would leave the saved site are not part of it and are not touched.
    (void)records::ReadSavedSiteLogEntries(reader.logPath, present, entries);
    const size_t n = std::min<size_t>(reader.log.entryCount, entries.size());
    job.Begin(static_cast<uint32_t>(n));
    for (size_t i = 0; i < n && !stop.stop_requested(); ++i) {
        const std::string& path = entries[i].localPath;
        CleanedPage page;
        page.result = IsHtmlPageFile(path) ? CleanFileInPlace(path) : NothingRemoved;
        page.relativePath = path.compare(0, present.size(), present) == 0 ? path.substr(present.size()) : path;
        job.AddPage(std::move(page));
        SleepUnlessStopped(sleepMs, stop);
    }
    job.End();
    return 1;
}

}  // namespace filters
