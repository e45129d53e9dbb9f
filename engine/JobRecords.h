// The files a save leaves beside the copy: the record file, the saved-site log, the error
// log and the description log. The engine reaches them only through this interface, so the
// crawl does not depend on their formats.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {
class HttpExchangeObserver;
}

namespace engine {

class SaveHost;
class SaveJob;

// A page or embedded file as it arrived, for the save's history index.
struct FetchedFile {
    std::string url;
    std::string path;  // where the copy lies
    bool page = false;  // a page of the saved-site log (pages and style sheets the walk reads)
    std::string etag;
    std::string lastModified;
    std::string hash;  // of the body as it arrived, before any rewrite of its links
    int64_t size = 0;
};

class JobRecords {
public:
    virtual ~JobRecords() = default;

    // Window thread, first step of a start: takes the target for this save. 1 taken; 0 when
    // another save holds it, with the reason in `message`, and the save must not start.
    [[nodiscard]] virtual int LockTarget(SaveJob&, std::string& message) {
        message.clear();
        return 1;
    }

    // Window thread, before the worker starts: lays out the target (record file, data
    // folder, mirrored folders, shortcut page; sets logFolder, startFolder and the working
    // saveName), hands over an earlier saved-site log (may set updateCheck) and opens the
    // error log.
    virtual void BeginSave(SaveJob& job) = 0;

    // Worker thread, before the first request: what the save's HTTP sessions tell about each
    // exchange (null: nothing; the sessions then do no extra work).
    virtual std::shared_ptr<platform::HttpExchangeObserver> ExchangeObserver() { return nullptr; }

    // Worker thread: one saved or failed page (size 0) for the saved-site log.
    virtual void RecordPage(SaveJob& job, const std::string& path, const std::string& url, int32_t level,
                            int64_t size) = 0;

    // Worker thread: whether the records keep a history index, so that the crawl reports
    // what it fetched (with its content hash) and what it failed to fetch.
    virtual bool KeepsHistory() const { return false; }
    virtual void RecordFetched(SaveJob&, const FetchedFile&) {}
    // `status`: the last HTTP status heard (0 when none).
    virtual void RecordFetchFailed(SaveJob&, const std::string& /*url*/, const std::string& /*path*/, bool /*page*/,
                                   long /*status*/) {}

    // Worker thread: the update check of an earlier save; returns 2, 4 or 8.
    virtual int CheckSavedSite(SaveHost& host, SaveJob& job, const std::string& startPath,
                               const std::string& startUrl) = 0;

    // Any thread: one line of the detailed log (continuation lines are not passed on).
    virtual void WriteErrorLine(std::string_view line) = 0;

    // Window thread, at the end of the job, in this order as the case needs.
    virtual void FinishSavedSiteLog(SaveJob& job) = 0;
    virtual void KeepErrorLog(SaveJob& job) = 0;
    virtual void WriteDescriptionLog(SaveJob& job, const std::string& resultText) = 0;
};

}  // namespace engine
