#include "engine/HistoryNotes.h"

#include "engine/Fetcher.h"
#include "engine/JobRecords.h"
#include "engine/SaveJob.h"
#include "platform/ContentHash.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

JobRecords* HistoryOf(SaveJob& job) {
    JobRecords* records = job.Records();
    return records && records->KeepsHistory() ? records : nullptr;
}

FetchedFile FactsOf(const std::string& url, const std::string& path, const FetchOrigin& origin, bool page) {
    FetchedFile file;
    file.url = url;
    file.path = path;
    file.page = page;
    file.etag = origin.etag;
    file.lastModified = origin.lastModified;
    return file;
}

}  // namespace

bool KeepsHistory(SaveJob& job) { return HistoryOf(job) != nullptr; }

void NoteFetchedPage(SaveJob& job, const std::string& url, const std::string& path, const FetchOrigin& origin,
                     std::string_view text, bool readable, const std::string& fetched) {
    JobRecords* records = HistoryOf(job);
    if (!records) return;
    FetchedFile file = FactsOf(url, path, origin, true);
    file.hash = !origin.hash.empty() ? origin.hash
                : readable          ? platform::ContentHash(text)
                                    : platform::FileContentHash(fetched);
    file.size = readable ? static_cast<int64_t>(text.size()) : platform::FileSize(fetched);
    records->RecordFetched(job, file);
}

void NoteFetchedFile(SaveJob& job, const std::string& url, const std::string& path, const FetchOrigin& origin,
                     int64_t size) {
    JobRecords* records = HistoryOf(job);
    if (!records) return;
    FetchedFile file = FactsOf(url, path, origin, false);
    file.hash = !origin.hash.empty() ? origin.hash : platform::FileContentHash(path);
    file.size = size >= 0 ? size : platform::FileSize(path);
    records->RecordFetched(job, file);
}

void NoteFetchFailed(SaveJob& job, const std::string& url, const std::string& path, bool page,
                     const FetchOrigin* origin) {
    if (JobRecords* records = HistoryOf(job)) records->RecordFetchFailed(job, url, path, page, origin ? origin->status : 0);
}

}  // namespace engine
