// HTTP(S) transfers over libcurl. This file and CookieJar.cpp are the only ones that know
// libcurl; everything above them sees HttpResult and a short error text.
#include "platform/HttpClient.h"

#include "platform/ContentHash.h"
#include "platform/CookieJar.h"
#include "platform/FileUtil.h"
#include "platform/HttpExchange.h"
#include "platform/ReplaySource.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>

namespace platform {
namespace {

using Sink = std::function<bool(const char*, size_t)>;
// Runs once before the first body byte of a 2xx answer (or after a 2xx answer without a
// body); false stops the transfer as a local write failure.
using BodyStart = std::function<bool(bool rangeHonoured)>;

// An error page is read and thrown away up to this size so that its connection can serve
// the next request; a longer one is cut off and the connection closed.
constexpr size_t kDiscardLimit = 64 * 1024;
constexpr long kMaxRedirects = 20;

enum class StopReason { None, StatusError, BadRange, Sink, Cancelled };

struct Transfer {
    Transfer(const HttpRequest& r, const Sink& s, const BodyStart& b) : request(r), sink(s), bodyStart(b) {}

    const HttpRequest& request;
    const Sink& sink;
    const BodyStart& bodyStart;

    // Headers of the latest response. A status line resets them, so after redirects they
    // describe the final answer.
    long status = 0;
    int64_t contentLength = -1;
    int64_t rangeStart = -1;  // first byte named by Content-Range
    bool encoded = false;     // a Content-Encoding other than identity
    std::string etag;
    std::string lastModified;
    std::string retryAfter;

    bool bodyStarted = false;
    bool rangeHonoured = false;
    size_t discarded = 0;
    int64_t bytes = 0;
    StopReason stop = StopReason::None;

    // Set only when the settings carry an exchange observer.
    HttpExchangeTap* tap = nullptr;
    CURL* curl = nullptr;
};

bool IsSuccess(long status) { return status >= 200 && status < 300; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(text[i]);
        unsigned char b = static_cast<unsigned char>(prefix[i]);
        if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

// Reads the leading decimal number of `text`; -1 when there is none.
int64_t LeadingNumber(std::string_view text) {
    int64_t value = -1;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    return ec == std::errc() && value >= 0 ? value : -1;
}

// "HTTP/1.1 404 Not Found" or "HTTP/2 200"
long StatusOfLine(std::string_view line) {
    size_t space = line.find(' ');
    if (space == std::string_view::npos) return 0;
    int64_t code = LeadingNumber(Trim(line.substr(space + 1)));
    return code >= 100 && code < 1000 ? static_cast<long>(code) : 0;
}

void NoteHeader(Transfer& t, std::string_view line) {
    line = Trim(line);
    if (StartsWithNoCase(line, "http/")) {
        t.status = StatusOfLine(line);
        t.contentLength = -1;
        t.rangeStart = -1;
        t.encoded = false;
        t.etag.clear();
        t.lastModified.clear();
        t.retryAfter.clear();
    } else if (StartsWithNoCase(line, "retry-after:")) {
        t.retryAfter = std::string(Trim(line.substr(12)));
    } else if (StartsWithNoCase(line, "etag:")) {
        t.etag = std::string(Trim(line.substr(5)));
    } else if (StartsWithNoCase(line, "last-modified:")) {
        t.lastModified = std::string(Trim(line.substr(14)));
    } else if (StartsWithNoCase(line, "content-length:")) {
        t.contentLength = LeadingNumber(Trim(line.substr(15)));
    } else if (StartsWithNoCase(line, "content-range:")) {
        std::string_view value = Trim(line.substr(14));
        if (StartsWithNoCase(value, "bytes")) t.rangeStart = LeadingNumber(Trim(value.substr(5)));
    } else if (StartsWithNoCase(line, "content-encoding:")) {
        std::string_view value = Trim(line.substr(17));
        t.encoded = !value.empty() && !StartsWithNoCase(value, "identity");
    }
}

size_t OnHeader(char* buffer, size_t size, size_t count, void* user) {
    Transfer& t = *static_cast<Transfer*>(user);
    const std::string_view line(buffer, size * count);
    NoteHeader(t, line);
    if (t.tap) {
        t.tap->HeaderLine(line, [&] {
            char* url = nullptr;
            return curl_easy_getinfo(t.curl, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url ? std::string(url)
                                                                                             : std::string();
        });
    }
    return size * count;
}

// Only the request heads are wanted; libcurl calls this only when an observer is set.
int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    Transfer& t = *static_cast<Transfer*>(user);
    if (type == CURLINFO_HEADER_OUT && t.tap) t.tap->RequestSent(std::string_view(data, size));
    return 0;
}

// Decides, at the first body byte, whether the body is wanted.
void BeginBody(Transfer& t) {
    t.bodyStarted = true;
    if (!IsSuccess(t.status)) {
        t.stop = StopReason::StatusError;
        return;
    }
    if (t.status == 206 && t.rangeStart != t.request.resumeFrom) {
        t.stop = StopReason::BadRange;
        return;
    }
    t.rangeHonoured = t.status == 206 && t.request.resumeFrom > 0;
    bool started = false;
    try {
        started = !t.bodyStart || t.bodyStart(t.rangeHonoured);
    } catch (...) {
        started = false;
    }
    if (!started) t.stop = StopReason::Sink;
}

bool Deliver(Transfer& t, const char* data, size_t length) {
    try {
        if (t.sink(data, length)) {
            t.bytes += static_cast<int64_t>(length);
            return true;
        }
    } catch (...) {
    }
    t.stop = StopReason::Sink;
    return false;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    Transfer& t = *static_cast<Transfer*>(user);
    const size_t length = size * count;
    if (t.tap) t.tap->BodyBytes(std::string_view(data, length));
    if (!t.bodyStarted) BeginBody(t);
    if (t.stop == StopReason::StatusError) {
        t.discarded += length;
        return t.discarded <= kDiscardLimit ? length : 0;
    }
    if (t.stop != StopReason::None) return 0;
    // libcurl's buffer size is only a lower bound on what it may hand over (decoded
    // content comes in its own pieces), so the piece size is enforced here.
    const size_t piece = t.request.chunkSize > 0 ? t.request.chunkSize : length;
    for (size_t offset = 0; offset < length; offset += piece) {
        if (!Deliver(t, data + offset, std::min(piece, length - offset))) return 0;
    }
    return length;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    Transfer& t = *static_cast<Transfer*>(user);
    bool stop = true;
    try {
        stop = t.request.stopRequested();
    } catch (...) {
    }
    if (!stop) return 0;
    t.stop = StopReason::Cancelled;
    return 1;
}

curl_slist* HeaderList(std::string_view lines) {
    curl_slist* list = nullptr;
    while (!lines.empty()) {
        size_t end = lines.find('\n');
        std::string line(Trim(lines.substr(0, end)));
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
        if (line.empty()) continue;
        curl_slist* grown = curl_slist_append(list, line.c_str());
        if (!grown) break;
        list = grown;
    }
    return list;
}

void Configure(CURL* curl, const HttpRequest& request, Transfer& t, curl_slist* headers,
               char* errorBuffer) {
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    if (!request.agent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, request.agent.c_str());
    if (headers) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(std::max(0, request.connectTimeoutSec)));
    if (request.receiveTimeoutSec > 0) {
        // A read that stays silent this long ends the transfer; the total time is unbounded.
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(request.receiveTimeoutSec));
    }
    if (request.followRedirects) {
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    }

    if (request.resumeFrom > 0) {
        // CURLOPT_RANGE rather than CURLOPT_RESUME_FROM_LARGE: the latter fails a 200 answer,
        // while we want to take the whole body from a server that ignores ranges. Offsets
        // count decoded bytes, so a resumed request asks for the plain representation.
        std::string range = std::to_string(request.resumeFrom) + "-";
        curl_easy_setopt(curl, CURLOPT_RANGE, range.c_str());
    } else if (!request.identityEncoding) {
        // Every encoding libcurl can decode (gzip, deflate, brotli, zstd as built).
        curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    }
    if (request.chunkSize > 0) {
        long buffer = static_cast<long>(
            std::clamp<size_t>(request.chunkSize, 1024, CURL_MAX_READ_SIZE));
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, buffer);
    }

    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    if (t.tap) {
        curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, OnDebug);
        curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &t);
        curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    }
    if (request.stopRequested) {
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    }
}

// The session's settings, on top of the request's own options.
void ApplySettings(CURL* curl, const HttpClientSettings& settings, const HttpRequest& request) {
    if (request.agent.empty() && !settings.agent.empty())
        curl_easy_setopt(curl, CURLOPT_USERAGENT, settings.agent.c_str());
    // HTTP/2 where the server offers it over TLS; plain http stays HTTP/1.1.
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
    if (!settings.credentialsFile.empty()) {
        // A login is sent only after its host asked for one (401), in the way it asked.
        curl_easy_setopt(curl, CURLOPT_NETRC_FILE, settings.credentialsFile.c_str());
        curl_easy_setopt(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<unsigned long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
    }
    if (!settings.proxy.empty()) {
        // The settings' proxy replaces the environment's, its exceptions as well.
        curl_easy_setopt(curl, CURLOPT_PROXY, settings.proxy.c_str());
        curl_easy_setopt(curl, CURLOPT_NOPROXY, settings.noProxy.c_str());
        if (!settings.proxyUser.empty() || !settings.proxyPassword.empty()) {
            curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, settings.proxyUser.c_str());
            curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str());
            curl_easy_setopt(curl, CURLOPT_PROXYAUTH, static_cast<unsigned long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
        }
    }
    if (settings.acceptSelfSigned) {
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    }
    if (settings.cookies && settings.cookies->Share()) {
        // An empty file name switches the cookie engine on without reading any file.
        curl_easy_setopt(curl, CURLOPT_SHARE, settings.cookies->Share());
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    }
}

FailureCause CauseOf(CURLcode code) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return FailureCause::HostNotFound;
    case CURLE_COULDNT_CONNECT: return FailureCause::Refused;
    case CURLE_OPERATION_TIMEDOUT: return FailureCause::TimedOut;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING: return FailureCause::CutShort;
    default: return FailureCause::Network;
    }
}

std::string FailureText(CURLcode code, const char* errorBuffer) {
    if (errorBuffer[0] != '\0') return errorBuffer;
    return curl_easy_strerror(code);
}

// The one place where libcurl's outcome and the HTTP status become an HttpResult.
void Conclude(CURL* curl, CURLcode code, Transfer& t, const char* errorBuffer, HttpResponse& r) {
    r.status = t.status;
    if (r.status == 0) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &r.status);
    r.bytes = t.bytes;
    r.contentLength = t.encoded ? -1 : t.contentLength;
    r.rangeHonoured = t.rangeHonoured;
    r.etag = t.etag;
    r.retryAfter = t.retryAfter;
    r.lastModified = t.lastModified;
    char* effective = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
        r.effectiveUrl = effective;
    char* type = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) r.contentType = type;

    switch (t.stop) {
    case StopReason::Cancelled:
        r.result = HttpCancelled;
        r.error = "cancelled";
        r.cause = FailureCause::Cancelled;
        return;
    case StopReason::StatusError:
        r.result = HttpStatusError;
        r.error = "HTTP status " + std::to_string(r.status);
        r.cause = FailureCause::HttpStatus;
        return;
    case StopReason::BadRange:
        r.result = HttpFailed;
        r.error = "server sent a range other than the one asked for";
        r.cause = FailureCause::CutShort;
        return;
    case StopReason::Sink:
        r.result = HttpFileError;
        r.error = "the body could not be stored";
        r.cause = FailureCause::Disk;
        return;
    case StopReason::None:
        break;
    }
    if (code == CURLE_ABORTED_BY_CALLBACK) {
        r.result = HttpCancelled;
        r.error = "cancelled";
        r.cause = FailureCause::Cancelled;
    } else if (code != CURLE_OK) {
        r.result = HttpFailed;
        r.error = FailureText(code, errorBuffer);
        r.redirectLoop = code == CURLE_TOO_MANY_REDIRECTS;
        r.cutShort = code == CURLE_PARTIAL_FILE;
        r.cause = CauseOf(code);
        r.unreachable = code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_CONNECT ||
                        (code == CURLE_OPERATION_TIMEDOUT && r.status == 0 && r.bytes == 0);
    } else if (!IsSuccess(r.status)) {
        // An error or redirect answer without a body never reached OnBody.
        r.result = HttpStatusError;
        r.error = "HTTP status " + std::to_string(r.status);
        r.cause = FailureCause::HttpStatus;
    } else {
        if (!t.bodyStarted) {
            BeginBody(t);
            if (t.stop != StopReason::None) return Conclude(curl, code, t, errorBuffer, r);
        }
        r.result = HttpOk;
    }
}

HttpResponse Run(void* handle, const HttpClientSettings& settings, const HttpRequest& request, const Sink& sink,
                 const BodyStart& bodyStart) {
    if (settings.replay) return settings.replay->Answer(request, bodyStart, sink);
    HttpResponse response;
    CURL* curl = static_cast<CURL*>(handle);
    if (!curl) {
        response.error = "no transfer handle";
        return response;
    }
    Transfer t(request, sink, bodyStart);
    if (request.stopRequested && OnProgress(&t, 0, 0, 0, 0)) {
        response.result = HttpCancelled;
        response.error = "cancelled";
        response.cause = FailureCause::Cancelled;
        return response;
    }
    char errorBuffer[CURL_ERROR_SIZE] = {};
    std::string headerLines = request.extraHeaders;
    // A validator that would split into header lines is no validator.
    if (request.resumeFrom > 0 && !request.ifRange.empty() && request.ifRange.find_first_of("\r\n") == std::string::npos)
        headerLines += "\r\nIf-Range: " + request.ifRange;
    if (request.resumeFrom == 0) {
        if (!request.ifNoneMatch.empty() && request.ifNoneMatch.find_first_of("\r\n") == std::string::npos)
            headerLines += "\r\nIf-None-Match: " + request.ifNoneMatch;
        if (!request.ifModifiedSince.empty() && request.ifModifiedSince.find_first_of("\r\n") == std::string::npos)
            headerLines += "\r\nIf-Modified-Since: " + request.ifModifiedSince;
    }
    curl_slist* headers = HeaderList(headerLines);
    std::unique_ptr<HttpExchangeTap> tap;
    if (settings.observer) {
        // libcurl decodes a content encoding only when it asked for compressed answers.
        const bool decodes = request.resumeFrom == 0 && !request.identityEncoding;
        const bool conditional = request.resumeFrom == 0 && (!request.ifNoneMatch.empty() || !request.ifModifiedSince.empty());
        tap = std::make_unique<HttpExchangeTap>(*settings.observer, decodes, conditional);
        t.tap = tap.get();
        t.curl = curl;
    }
    // Reset drops the previous request's options but keeps the connection cache.
    curl_easy_reset(curl);
    Configure(curl, request, t, headers, errorBuffer);
    ApplySettings(curl, settings, request);
    CURLcode code = curl_easy_perform(curl);
    // A status error's body is read on (up to a limit) and still ends the transfer well.
    if (tap) tap->Finish(code == CURLE_OK);
    Conclude(curl, code, t, errorBuffer, response);
    // The handle must not keep pointers into this frame, nor hold on to the jar. libcurl 7.88
    // keeps every cookie file name it was given until it is told to forget them.
    if (settings.cookies && settings.cookies->Share()) {
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, nullptr);
        curl_easy_setopt(curl, CURLOPT_SHARE, nullptr);
    }
    curl_easy_reset(curl);
    curl_slist_free_all(headers);
    return response;
}

// The destination of FetchToFile, opened lazily when the body begins.
class FileTarget {
public:
    FileTarget(const std::string& path, int64_t resumeFrom) : m_path(path), m_resumeFrom(resumeFrom) {}
    ~FileTarget() { Close(); }

    bool Open(bool append) {
        int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? 0 : O_TRUNC);
        m_fd = ::open(m_path.c_str(), flags, 0666);
        if (m_fd < 0) return Fail("cannot create ");
        if (!append) return true;
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) return Fail("cannot inspect ");
        if (st.st_size < m_resumeFrom) {
            m_error = "resume offset lies beyond the end of " + m_path;
            m_cause = FailureCause::Disk;
            return false;
        }
        if (::ftruncate(m_fd, m_resumeFrom) != 0 || ::lseek(m_fd, 0, SEEK_END) < 0)
            return Fail("cannot position in ");
        return true;
    }

    bool Write(const char* data, size_t length) {
        return WriteAll(m_fd, std::string_view(data, length)) || Fail("cannot write ");
    }

    bool Close() {
        if (m_fd < 0) return true;
        int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0 || Fail("cannot close ");
    }

    const std::string& Error() const { return m_error; }
    FailureCause Cause() const { return m_cause; }

private:
    bool Fail(const char* what) {
        const int error = errno;
        if (m_error.empty()) {
            m_error = what + m_path + ": " + std::strerror(error);
            m_cause = CauseOfErrno(error);
        }
        return false;
    }

    std::string m_path;
    int64_t m_resumeFrom;
    int m_fd = -1;
    std::string m_error;
    FailureCause m_cause = FailureCause::Disk;
};

}  // namespace

void HttpGlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

int64_t RetryAfterSeconds(std::string_view value, int64_t now) {
    value = Trim(value);
    if (value.empty()) return -1;
    if (value.front() >= '0' && value.front() <= '9') {
        int64_t seconds = -1;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
        return ec == std::errc() && end == value.data() + value.size() ? seconds : -1;
    }
    // curl_getdate reads the three date forms HTTP allows.
    const time_t when = curl_getdate(std::string(value).c_str(), nullptr);
    if (when == -1) return -1;
    return std::max<int64_t>(0, static_cast<int64_t>(when) - now);
}

HttpSession::HttpSession() : HttpSession(DefaultHttpSettings()) {}

HttpSession::HttpSession(HttpClientSettings settings) : m_settings(std::move(settings)) {
    HttpGlobalInit();
    m_handle = curl_easy_init();
}

HttpSession::~HttpSession() {
    if (m_handle) curl_easy_cleanup(static_cast<CURL*>(m_handle));
}

HttpResponse HttpSession::Fetch(const HttpRequest& request, const Sink& sink) {
    try {
        return Run(m_handle, m_settings, request, sink, BodyStart());
    } catch (...) {
        HttpResponse failed;
        failed.error = "out of memory";
        return failed;
    }
}

HttpResponse HttpSession::FetchStreaming(const HttpRequest& request, const BodyStart& bodyStart, const Sink& sink) {
    try {
        return Run(m_handle, m_settings, request, sink, bodyStart);
    } catch (...) {
        HttpResponse failed;
        failed.error = "out of memory";
        return failed;
    }
}

HttpResponse HttpSession::FetchToFile(const HttpRequest& request, const std::string& path) {
    try {
        FileTarget file(path, request.resumeFrom);
        std::unique_ptr<ContentHasher> hasher;
        if (request.hashBody) hasher = std::make_unique<ContentHasher>();
        bool whole = false;
        std::string head;
        HttpResponse response = Run(
            m_handle, m_settings, request,
            [&](const char* data, size_t length) {
                if (hasher) (void)hasher->Add(std::string_view(data, length));
                if (head.size() < request.headBytes)
                    head.append(data, std::min(length, request.headBytes - head.size()));
                return file.Write(data, length);
            },
            [&](bool rangeHonoured) {
                whole = !rangeHonoured;
                return file.Open(rangeHonoured);
            });
        if (!file.Close() && response.result == HttpOk) response.result = HttpFileError;
        if (hasher && whole && response.result == HttpOk) response.bodyHash = hasher->Finish();
        response.bodyHead = std::move(head);
        if (response.result == HttpFileError && !file.Error().empty()) {
            response.error = file.Error();
            response.cause = file.Cause();
        }
        return response;
    } catch (...) {
        HttpResponse failed;
        failed.error = "out of memory";
        return failed;
    }
}

HttpResponse HttpSession::FetchToMemory(const HttpRequest& request, std::string& out, size_t maxBytes) {
    out.clear();
    bool cut = false;
    try {
        HttpResponse response = Run(
            m_handle, m_settings, request,
            [&](const char* data, size_t length) {
                size_t room = maxBytes - out.size();
                if (length > room) {
                    out.append(data, room);
                    cut = true;
                    return false;
                }
                out.append(data, length);
                return true;
            },
            BodyStart());
        if (cut && response.result == HttpFileError) {
            response.result = HttpOk;
            response.truncated = true;
            response.error.clear();
        }
        response.bytes = static_cast<int64_t>(out.size());
        return response;
    } catch (...) {
        HttpResponse failed;
        failed.error = "out of memory";
        return failed;
    }
}

}  // namespace platform
