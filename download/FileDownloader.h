// One file fetched from a URL on a worker thread of its own, reporting its progress by
// codes, resuming broken transfers, retrying with waits, and refusing error pages and what
// the check plug-ins refuse.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>

#include "download/PlugInHost.h"
#include "platform/BackgroundTask.h"

namespace records {
struct SeriesErrorSettings;
}

namespace download {

// Progress codes handed to the window, with the value that goes with each.
enum DownloadCode : int {
    CodeFinished = 1,   // bytes received
    CodeFailed = 2,     // bytes received; Result() says why
    CodeProgress = 3,   // bytes received (at most about ten a second)
    CodeRetrying = 4,   // bytes received; the read is retried after the wait
    CodeProbed = 5,     // expected size: 0 not found, -1 unknown, -503 busy, else the length
    CodeConnected = 6,  // 0
    CodeOpened = 7,     // 0: data follow
};

// The downloader's result.
enum DownloadResult : int {
    DownloadSaved = 1,
    DownloadRunning = 10,
    DownloadNotFound = 11,   // missing, an error status, an error page, refused by a check,
                             // empty, or redirected in a loop
    DownloadBusy = 12,       // a busy server, or a server error that outlasted the retries
    DownloadDiskError = 13,  // the file could not be written or put in place
    DownloadTooLarge = 14,   // the body passed the size bound
    DownloadBroken = 15,     // the connection broke on every try: the retries are used up
};

class FileDownloader {
public:
    // Runs on the worker thread; the window side posts it on to its own thread.
    using Notify = std::function<void(int code, int64_t value)>;

    static constexpr size_t kDefaultChunk = 4096;

    FileDownloader(std::string url, std::string localPath);
    // Stops a running transfer and waits for the worker.
    ~FileDownloader();
    FileDownloader(const FileDownloader&) = delete;
    FileDownloader& operator=(const FileDownloader&) = delete;

    // Settings are taken only before Start().
    void SetAgent(uint32_t selector, const std::string& text);
    void SetHeaders(uint32_t refererKind, const std::string& text);
    void ApplySettings(const records::SeriesErrorSettings& settings);
    void SetRetryLimit(int limit);
    void SetTimeoutMs(int ms);
    void SetWaitMs(int ms);
    void SetChecks(PlugInChecks checks);
    // The largest body taken; the free space of the disk less a margin bounds it further.
    void SetMaxBytes(int64_t bytes);

    // Starts the worker. 1 started; 0 when it ran already.
    [[nodiscard]] int Start(Notify notify);
    // Asks the worker to stop and waits for it.
    void Stop();
    // Waits until the worker has ended (tests and closing windows).
    void Wait();

    int Result() const;
    int64_t ExpectedSize() const;
    int64_t Received() const;
    // Why a failed download failed, for the log ("" when there is nothing to add).
    std::string Reason() const;
    // The same in the user's language, for windows.
    std::string ShownReason() const;
    const std::string& Url() const { return m_url; }
    const std::string& LocalPath() const { return m_localPath; }

private:
    struct Transfer;

    // Worker thread.
    void Run(std::stop_token stop);
    void PrepareResume(Transfer& t);
    void SetLimit(Transfer& t) const;
    int TransferLoop(Transfer& t, std::stop_token stop);
    int OverLimit(const Transfer& t);
    void KeepForResume(Transfer& t);
    void Finish(Transfer& t, int result);
    // Notes why the download fails (`japanese` with "%1" filled by `value`); returns `result`.
    int Fail(int result, const char* japanese, const std::string& value = {});
    void Post(int code, int64_t value);
    void PostProgress(int64_t received, bool force);
    bool PauseFor(int ms, std::stop_token stop);
    int DiskFailure(int diskError);
    void SetResult(int result);
    void AddReceived(int64_t total);

    const std::string m_url;
    const std::string m_localPath;
    std::string m_agent = "Unknow";
    std::string m_headers;
    size_t m_chunkSize = kDefaultChunk;
    int m_retryLimit = 3;
    int m_timeoutMs = 60000;
    int m_waitMs = 30000;
    int64_t m_maxBytes = int64_t{4096} << 20;
    PlugInChecks m_checks;
    Notify m_notify;
    uint64_t m_lastProgressMs = 0;

    mutable std::mutex m_lock;  // guards the five fields below
    int m_result = DownloadRunning;
    std::string m_reason;
    std::string m_shownReason;
    int64_t m_expected = 0;
    int64_t m_received = 0;

    std::mutex m_pauseLock;
    std::condition_variable_any m_pause;
    platform::BackgroundTask m_worker;
    bool m_started = false;
};

// The set-up of a download the user asked for (single, serial, related file): the settings
// of the serial save from `iniPath`, a browser agent, the file's folder as Referer, and the
// checks of the plug-ins of a program in `programFolder`.
void SetUpUserDownload(FileDownloader& downloader, const std::string& iniPath, const std::string& programFolder);

}  // namespace download
