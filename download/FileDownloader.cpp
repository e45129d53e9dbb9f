#include "download/FileDownloader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "download/ChunkChecks.h"
#include "engine/Fetcher.h"
#include "platform/Clock.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"
#include "records/Settings.h"

namespace download {

namespace {

// Existing files shorter than this are not worth resuming.
constexpr int64_t kResumeMinimum = 1024;
constexpr uint64_t kProgressEveryMs = 100;
constexpr long kRangeNotSatisfiable = 416;
constexpr long kServiceUnavailable = 503;

}  // namespace

// What one run of the worker knows about its files.
struct FileDownloader::Transfer {
    platform::HttpSession http;
    std::string partPath;    // the transfer writes here; the final name only gets whole files
    std::string backupPath;  // an earlier partial or whole file, compared before it is reused
    bool movedLocal = false; // the backup is the file that lay under the final name
    int fd = -1;
    int64_t received = 0;
    bool opened = false;
    bool firstChecked = false;
    int verdict = 0;          // set by the first-chunk checks
    bool comparePending = false;
    int64_t backupSize = 0;
    std::string backupHead;
    std::string head;
    bool reuseBackup = false;
    bool keepPart = false;    // a cancelled transfer is kept for the next try

    void Close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

FileDownloader::FileDownloader(std::string url, std::string localPath)
    : m_url(std::move(url)), m_localPath(std::move(localPath)) {}

FileDownloader::~FileDownloader() { Stop(); }

void FileDownloader::SetAgent(uint32_t selector, const std::string& text) {
    if (!m_started) m_agent = engine::AgentString(selector, text);
}

void FileDownloader::SetHeaders(uint32_t refererKind, const std::string& text) {
    // Kinds beyond the known ones leave the headers as they are.
    constexpr uint32_t kLastRefererKind = 6;
    if (!m_started && refererKind <= kLastRefererKind) m_headers = engine::RefererHeader(refererKind, text);
}

void FileDownloader::ApplySettings(const records::SeriesErrorSettings& settings) {
    SetTimeoutMs(settings.receiveTimeOutSec * 1000);
    SetRetryLimit(settings.retryCount);
    SetWaitMs(settings.waitSec * 1000);
}

void FileDownloader::SetRetryLimit(int limit) {
    if (!m_started) m_retryLimit = std::max(0, limit);
}
void FileDownloader::SetTimeoutMs(int ms) {
    if (!m_started) m_timeoutMs = std::max(1000, ms);
}
void FileDownloader::SetWaitMs(int ms) {
    if (!m_started) m_waitMs = std::max(0, ms);
}
void FileDownloader::SetChunkSize(size_t bytes) {
    if (!m_started && bytes > 0) m_chunkSize = bytes;
}
void FileDownloader::SetChecks(PlugInChecks checks) {
    if (!m_started) m_checks = std::move(checks);
}

int FileDownloader::Start(Notify notify) {
    if (m_started) return 0;
    m_started = true;
    m_notify = std::move(notify);
    m_worker = std::jthread([this](std::stop_token stop) { Run(stop); });
    return 1;
}

void FileDownloader::Stop() {
    if (!m_worker.joinable()) return;
    m_worker.request_stop();
    {
        std::lock_guard lock(m_pauseLock);
    }
    m_pause.notify_all();
    m_worker.join();
}

void FileDownloader::Wait() {
    if (m_worker.joinable()) m_worker.join();
}

int FileDownloader::Result() const {
    std::lock_guard lock(m_lock);
    return m_result;
}
int64_t FileDownloader::ExpectedSize() const {
    std::lock_guard lock(m_lock);
    return m_expected;
}
int64_t FileDownloader::Received() const {
    std::lock_guard lock(m_lock);
    return m_received;
}

void FileDownloader::SetResult(int result) {
    std::lock_guard lock(m_lock);
    m_result = result;
}

void FileDownloader::AddReceived(int64_t total) {
    std::lock_guard lock(m_lock);
    m_received = total;
}

void FileDownloader::Post(int code, int64_t value) {
    if (m_notify) m_notify(code, value);
}

void FileDownloader::PostProgress(int64_t received, bool force) {
    const uint64_t now = platform::TickCount();
    if (!force && now - m_lastProgressMs < kProgressEveryMs) return;
    m_lastProgressMs = now;
    Post(CodeProgress, received);
}

bool FileDownloader::PauseFor(int ms, std::stop_token stop) {
    std::unique_lock lock(m_pauseLock);
    return !m_pause.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
}

void FileDownloader::Run(std::stop_token stop) {
    const int32_t expected = engine::ProbeStatusUnlessStopped(m_url, [&stop] { return stop.stop_requested(); });
    {
        std::lock_guard lock(m_lock);
        m_expected = expected;
    }
    Transfer t;
    t.partPath = m_localPath + ".part";
    t.backupPath = m_localPath + ".bkp.tmp";
    if (expected == 0) return Finish(t, DownloadNotFound);
    Post(CodeProbed, expected);
    Post(CodeConnected, 0);
    PrepareResume(t);
    Finish(t, TransferLoop(t, stop));
}

// An earlier file under the final name, or a partial one kept from a broken run, is the
// backup: once the first bytes of the new transfer equal its start, the transfer goes on
// behind it instead of from the beginning.
void FileDownloader::PrepareResume(Transfer& t) {
    if (platform::FileSize(m_localPath) >= kResumeMinimum && platform::RenameFile(m_localPath, t.backupPath))
        t.movedLocal = true;
    (void)platform::RemoveFile(t.partPath);
    t.backupSize = platform::FileSize(t.backupPath);
    if (t.backupSize < kResumeMinimum) {
        (void)platform::RemoveFile(t.backupPath);
        t.movedLocal = false;
        return;
    }
    const size_t need = std::min<size_t>(std::max<size_t>(m_chunkSize, 1024) + m_chunkSize, t.backupSize);
    t.comparePending = platform::ReadFileHead(t.backupPath, t.backupHead, need) && t.backupHead.size() == need;
}

int FileDownloader::TransferLoop(Transfer& t, std::stop_token stop) {
    int retries = 0;
    for (;;) {
        platform::HttpRequest request;
        request.url = m_url;
        request.agent = m_agent;
        request.extraHeaders = m_headers;
        request.connectTimeoutSec = std::max(1, m_timeoutMs / 1000);
        request.receiveTimeoutSec = std::max(1, m_timeoutMs / 1000);
        request.resumeFrom = t.received;
        request.chunkSize = m_chunkSize;
        request.stopRequested = [&stop] { return stop.stop_requested(); };

        auto bodyStart = [&](bool rangeHonoured) {
            const bool append = rangeHonoured && t.received > 0;
            if (!append) {
                // A server that ignored the range sends the file from its start again.
                t.received = 0;
                t.firstChecked = false;
            }
            t.fd = ::open(t.partPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC), 0666);
            if (t.fd < 0) return false;
            if (append && ::ftruncate(t.fd, t.received) != 0) return false;
            if (!t.opened) Post(CodeOpened, 0);
            t.opened = true;
            return true;
        };
        auto sink = [&](const char* data, size_t length) {
            const std::string_view chunk(data, length);
            if (!t.firstChecked) {
                t.firstChecked = true;
                if (IsNotFoundChunk(chunk)) t.verdict = DownloadNotFound;
                else if (IsServerBusyChunk(chunk)) t.verdict = DownloadBusy;
                else if (m_checks.Run(data, length, m_url)) t.verdict = DownloadNotFound;
                if (t.verdict) return false;
            }
            if (!platform::WriteAll(t.fd, chunk)) return false;
            if (t.comparePending && t.received == static_cast<int64_t>(t.head.size())) {
                t.head.append(chunk.substr(0, t.backupHead.size() - std::min(t.head.size(), t.backupHead.size())));
                if (t.head.size() >= t.backupHead.size()) {
                    t.comparePending = false;
                    if (t.head == t.backupHead) {
                        t.reuseBackup = true;
                        return false;
                    }
                    (void)platform::RemoveFile(t.backupPath);
                    t.movedLocal = false;
                }
            }
            t.received += static_cast<int64_t>(length);
            AddReceived(t.received);
            PostProgress(t.received, false);
            return true;
        };

        const platform::HttpResponse response = t.http.FetchStreaming(request, bodyStart, sink);
        t.Close();
        if (response.result == platform::HttpOk) {
            PostProgress(t.received, true);
            return DownloadSaved;
        }
        if (t.verdict) return t.verdict;
        if (t.reuseBackup) {
            // The new transfer starts like the backup: go on behind the backup's bytes.
            t.reuseBackup = false;
            if (!platform::CopyFile(t.backupPath, t.partPath)) return DownloadNotFound;
            (void)platform::RemoveFile(t.backupPath);
            t.movedLocal = false;
            t.received = t.backupSize;
            AddReceived(t.received);
            continue;
        }
        if (response.result == platform::HttpCancelled || stop.stop_requested()) {
            t.keepPart = true;
            return DownloadNotFound;
        }
        if (response.result == platform::HttpFileError) return DownloadNotFound;
        if (response.result == platform::HttpStatusError) {
            if (response.status == kRangeNotSatisfiable && t.received > 0) {
                t.received = 0;  // the kept bytes are not part of this file: fetch it whole
                continue;
            }
            if (response.status == kServiceUnavailable) return DownloadBusy;
            if (response.status < 500) return DownloadNotFound;
        }
        // A connection that never opened, for a file whose size the probe did not learn,
        // is taken as missing; everything else is a broken read that is retried.
        if (!t.opened && t.received == 0 && ExpectedSize() < 1 && response.status == 0) return DownloadNotFound;
        if (retries >= m_retryLimit) return DownloadBusy;
        ++retries;
        Post(CodeRetrying, t.received);
        if (!PauseFor(m_waitMs, stop)) return DownloadNotFound;
    }
}

void FileDownloader::Finish(Transfer& t, int result) {
    t.Close();
    if (result == DownloadSaved && t.received == 0) result = DownloadNotFound;
    if (result == DownloadSaved) {
        if (!platform::RenameFile(t.partPath, m_localPath)) {
            result = DownloadNotFound;
        } else {
            (void)platform::RemoveFile(t.backupPath);
        }
    }
    if (result != DownloadSaved) {
        if (t.movedLocal) {
            // Nothing new arrived: the file that lay there before goes back.
            (void)platform::RenameFile(t.backupPath, m_localPath);
            (void)platform::RemoveFile(t.partPath);
        } else if ((result == DownloadBusy || t.keepPart) && platform::FileSize(t.partPath) >= kResumeMinimum &&
                   platform::FileSize(t.partPath) > platform::FileSize(t.backupPath)) {
            // A broken transfer is kept for the next try to go on behind.
            (void)platform::RenameFile(t.partPath, t.backupPath);
        } else {
            (void)platform::RemoveFile(t.partPath);
        }
    }
    SetResult(result);
    if (result == DownloadSaved)
        Post(CodeFinished, t.received);
    else
        Post(CodeFailed, t.received);
}

void SetUpUserDownload(FileDownloader& downloader, const std::string& iniPath, const std::string& programFolder) {
    // A browser of its day, and the file's own folder as the page it came from.
    constexpr uint32_t kFileAgent = 0x801;
    constexpr uint32_t kRefererFolder = 2;
    downloader.ApplySettings(records::ReadSeriesError(iniPath));
    downloader.SetHeaders(kRefererFolder, downloader.Url());
    downloader.SetAgent(kFileAgent, "");
    PlugInChecks checks;
    checks.RegisterFolder(programFolder);
    downloader.SetChecks(std::move(checks));
}

}  // namespace download
