#include "download/FileDownloader.h"

#include <algorithm>

#include "download/ChunkChecks.h"
#include "engine/Fetcher.h"
#include "platform/Clock.h"
#include "platform/DiskWrite.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"
#include "records/RecordCodec.h"
#include "records/Settings.h"

namespace download {

namespace {

// Partial files shorter than this are not worth resuming.
constexpr int64_t kResumeMinimum = 1024;
constexpr uint64_t kProgressEveryMs = 100;
constexpr long kRangeNotSatisfiable = 416;
constexpr long kServiceUnavailable = 503;
// What a download leaves free on its disk: the system and the other files of a save need room.
constexpr int64_t kDiskMargin = int64_t{64} << 20;
constexpr size_t kLongestValidator = 512;

constexpr const char* kStatusReason = "HTTP %1";

// Why a transfer broke: its words and the value they name.
struct NetworkFault {
    const char* text;
    std::string value;
};

NetworkFault NetworkReason(const platform::HttpResponse& response) {
    if (response.cutShort) return {"接続が途中で切れました (%1)", response.error};
    return {"ネットワークエラー (%1)", response.error};
}

bool IsUsableValidator(const std::string& text) {
    return !text.empty() && text.size() <= kLongestValidator && text.find_first_of("\r\n") == std::string::npos;
}

// If-Range takes a strong ETag or a date; a weak ETag must not be sent there.
std::string ValidatorOf(const platform::HttpResponse& response) {
    if (IsUsableValidator(response.etag) && !response.etag.starts_with("W/")) return response.etag;
    if (IsUsableValidator(response.lastModified)) return response.lastModified;
    return {};
}

const char* DiskReasonText(int diskError) {
    switch (diskError) {
    case platform::DiskFull: return "ディスクの空き容量が足りません";
    case platform::DiskReadOnly: return "保存先に書き込めません（読み取り専用か、権限がありません）";
    case platform::DiskNameTooLong: return "ファイル名が長すぎます";
    case platform::DiskNoFolder: return "保存先のフォルダがありません";
    default: return "ディスクに書き込めません";
    }
}

}  // namespace

// What one run of the worker knows about its file.
struct FileDownloader::Transfer {
    platform::HttpSession http;
    std::string partPath;       // the transfer writes here; the final name only gets whole files
    std::string validatorPath;  // beside the part: the ETag or date its bytes came with
    std::string validator;      // of the bytes in the part; "" when they cannot be resumed
    platform::StreamFile file;
    int64_t received = 0;
    int64_t limit = 0;          // the most bytes the file may grow to
    bool limitIsDisk = false;   // that bound is the free space, not the setting
    bool opened = false;
    bool startedWhole = false;  // this try's answer brought the file from its start
    bool firstChecked = false;
    int verdict = 0;            // set by the first-chunk checks
    bool overLimit = false;
    int diskError = platform::DiskOk;
    bool keepPart = false;      // a cancelled transfer is kept for the next try
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
void FileDownloader::SetChecks(PlugInChecks checks) {
    if (!m_started) m_checks = std::move(checks);
}
void FileDownloader::SetMaxBytes(int64_t bytes) {
    if (!m_started && bytes > 0) m_maxBytes = bytes;
}

int FileDownloader::Start(Notify notify) {
    if (m_started) return 0;
    m_started = true;
    m_notify = std::move(notify);
    m_worker.Start([this](std::stop_token stop) { Run(stop); });
    return 1;
}

void FileDownloader::Stop() {
    if (!m_started) return;
    m_worker.Stop();
    {
        std::lock_guard lock(m_pauseLock);
    }
    m_pause.notify_all();
    m_worker.Wait();
}

void FileDownloader::Wait() { m_worker.Wait(); }

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
std::string FileDownloader::Reason() const {
    std::lock_guard lock(m_lock);
    return m_reason;
}
std::string FileDownloader::ShownReason() const {
    std::lock_guard lock(m_lock);
    return m_shownReason;
}

void FileDownloader::SetResult(int result) {
    std::lock_guard lock(m_lock);
    m_result = result;
}

void FileDownloader::AddReceived(int64_t total) {
    std::lock_guard lock(m_lock);
    m_received = total;
}

int FileDownloader::Fail(int result, const char* japanese, const std::string& value) {
    std::string reason = records::ErrorText(records::ErrorReader::Log, japanese, {value});
    std::string shown = records::ErrorText(records::ErrorReader::User, japanese, {value});
    std::lock_guard lock(m_lock);
    m_reason = std::move(reason);
    m_shownReason = std::move(shown);
    return result;
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
    t.validatorPath = t.partPath + ".validator";
    if (expected == 0) return Finish(t, DownloadNotFound);
    Post(CodeProbed, expected);
    Post(CodeConnected, 0);
    PrepareResume(t);
    Finish(t, TransferLoop(t, stop));
}

// A partial file kept from a broken run is continued only together with the ETag or date it
// came with: the server sends the rest only while the file is still the same (If-Range), and
// the whole file when it has changed. Without that proof its bytes could belong to another
// version, so they are dropped.
void FileDownloader::PrepareResume(Transfer& t) {
    const int64_t partSize = platform::FileSize(t.partPath);
    std::string validator;
    if (partSize >= kResumeMinimum && platform::ReadWholeFile(t.validatorPath, validator, kLongestValidator + 1) &&
        IsUsableValidator(validator)) {
        t.validator = validator;
        t.received = partSize;
        t.firstChecked = true;  // its first bytes passed the checks when they came
        return;
    }
    (void)platform::RemoveFile(t.partPath);
    (void)platform::RemoveFile(t.validatorPath);
}

// The bound of this try: the setting, and what the disk can take while keeping its margin.
void FileDownloader::SetLimit(Transfer& t) const {
    t.limit = m_maxBytes;
    t.limitIsDisk = false;
    const int64_t free = platform::FreeDiskSpace(platform::FolderOf(m_localPath));
    if (free < 0) return;
    const int64_t room = std::max<int64_t>(0, free - kDiskMargin) + std::max<int64_t>(0, platform::FileSize(t.partPath));
    if (room < t.limit) {
        t.limit = room;
        t.limitIsDisk = true;
    }
}

int FileDownloader::DiskFailure(int diskError) { return Fail(DownloadDiskError, DiskReasonText(diskError)); }

int FileDownloader::TransferLoop(Transfer& t, std::stop_token stop) {
    int retries = 0;
    for (;;) {
        SetLimit(t);
        const int64_t expected = ExpectedSize();
        if (expected > t.limit) {
            t.overLimit = true;
            return OverLimit(t);
        }
        platform::HttpRequest request;
        request.url = m_url;
        request.agent = m_agent;
        request.extraHeaders = m_headers;
        request.connectTimeoutSec = std::max(1, m_timeoutMs / 1000);
        request.receiveTimeoutSec = std::max(1, m_timeoutMs / 1000);
        // Without a validator the kept bytes cannot be proven to belong to this file.
        request.resumeFrom = t.validator.empty() ? 0 : t.received;
        request.ifRange = t.validator;
        request.chunkSize = m_chunkSize;
        // The file is kept byte for byte as the server holds it, counted against the probed
        // length and resumed by byte offsets: a compressed answer would be unpacked on the way
        // (a .gz file served with Content-Encoding: gzip would land unpacked).
        request.identityEncoding = true;
        request.stopRequested = [&stop] { return stop.stop_requested(); };
        t.startedWhole = false;

        auto bodyStart = [&](bool rangeHonoured) {
            const bool append = rangeHonoured && t.received > 0;
            if (!append) {
                // The file comes from its start: a new one, a changed one, or a server that
                // ignores ranges.
                t.received = 0;
                t.firstChecked = false;
                t.startedWhole = true;
            }
            t.diskError = t.file.Open(t.partPath, append ? t.received : 0);
            if (t.diskError != platform::DiskOk) return false;
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
            if (t.received + static_cast<int64_t>(length) > t.limit) {
                t.overLimit = true;
                return false;
            }
            t.diskError = t.file.Write(chunk);
            if (t.diskError != platform::DiskOk) return false;
            t.received += static_cast<int64_t>(length);
            AddReceived(t.received);
            PostProgress(t.received, false);
            return true;
        };

        const platform::HttpResponse response = t.http.FetchStreaming(request, bodyStart, sink);
        const int closed = t.file.Close();
        if (t.diskError == platform::DiskOk) t.diskError = closed;
        // The validator of the answer that brought the file from its start belongs to the
        // bytes now in the part.
        if (t.startedWhole) t.validator = ValidatorOf(response);
        AddReceived(t.received);

        if (t.diskError != platform::DiskOk) return DiskFailure(t.diskError);
        if (response.result == platform::HttpOk) {
            PostProgress(t.received, true);
            return DownloadSaved;
        }
        if (t.verdict == DownloadNotFound) return Fail(t.verdict, "エラーページか、判定プラグインが拒否したファイルです");
        if (t.verdict) return Fail(t.verdict, "サーバーが混雑しています");
        if (t.overLimit) return OverLimit(t);
        if (response.result == platform::HttpCancelled || stop.stop_requested()) {
            t.keepPart = true;
            return DownloadNotFound;
        }
        if (response.result == platform::HttpFileError) return DiskFailure(platform::DiskOtherError);
        if (response.redirectLoop) return Fail(DownloadNotFound, "リダイレクトが多すぎます (%1)", response.error);
        NetworkFault reason = NetworkReason(response);
        if (response.result == platform::HttpStatusError) {
            if (response.status == kRangeNotSatisfiable && t.received > 0) {
                // The kept bytes are not part of this file: fetch it whole.
                t.received = 0;
                t.validator.clear();
                continue;
            }
            const std::string status = std::to_string(response.status);
            if (response.status == kServiceUnavailable) return Fail(DownloadBusy, kStatusReason, status);
            if (response.status < 500) return Fail(DownloadNotFound, kStatusReason, status);
            reason = {kStatusReason, status};
        }
        // A connection that never opened, for a file whose size the probe did not learn,
        // is taken as missing; everything else is a broken read that is retried.
        if (!t.opened && t.received == 0 && ExpectedSize() < 1 && response.status == 0)
            return Fail(DownloadNotFound, reason.text, reason.value);
        if (retries >= m_retryLimit) {
            // A server that answers with errors is busy; a connection that breaks on every
            // try is no better after a pause, and is not tried again for ever.
            return Fail(response.result == platform::HttpStatusError ? DownloadBusy : DownloadBroken, reason.text,
                        reason.value);
        }
        ++retries;
        Post(CodeRetrying, t.received);
        if (!PauseFor(m_waitMs, stop)) return DownloadNotFound;
    }
}

// A body that passed the bound: the setting's bound is the file's fault, the free space's
// the disk's.
int FileDownloader::OverLimit(const Transfer& t) {
    if (t.limitIsDisk) return DiskFailure(platform::DiskFull);
    return Fail(DownloadTooLarge, "ファイルが大きさの上限 (%1 MB, Sitrov.ini の [DownloadLimit] MaxFileSizeMB) を超えました",
                std::to_string(m_maxBytes >> 20));
}

// Keeps the part and its validator for the next run to go on behind; a part without a
// validator could not be resumed and goes.
void FileDownloader::KeepForResume(Transfer& t) {
    if (!t.validator.empty() && platform::FileSize(t.partPath) >= kResumeMinimum &&
        platform::WriteFileReplacing(t.validatorPath, t.validator, platform::Durability::Fast))
        return;
    (void)platform::RemoveFile(t.partPath);
    (void)platform::RemoveFile(t.validatorPath);
}

void FileDownloader::Finish(Transfer& t, int result) {
    (void)t.file.Close();
    if (result == DownloadSaved && t.received == 0) result = Fail(DownloadNotFound, "ファイルが空です");
    if (result == DownloadSaved) {
        // The file that lay under the name stays there until the new one is whole.
        const int moved = platform::MoveFileOver(t.partPath, m_localPath);
        if (moved != platform::DiskOk) result = DiskFailure(moved);
        else (void)platform::RemoveFile(t.validatorPath);
    }
    if (result != DownloadSaved) {
        if (t.keepPart || result == DownloadBusy || result == DownloadBroken)
            KeepForResume(t);
        else if (t.opened || platform::FileExists(t.partPath)) {
            (void)platform::RemoveFile(t.partPath);
            (void)platform::RemoveFile(t.validatorPath);
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
    downloader.SetMaxBytes(records::ReadMaxFileSizeBytes(iniPath));
    downloader.SetHeaders(kRefererFolder, downloader.Url());
    downloader.SetAgent(kFileAgent, "");
    PlugInChecks checks;
    checks.RegisterProgramFolders(programFolder);
    downloader.SetChecks(std::move(checks));
}

}  // namespace download
