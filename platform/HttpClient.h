// HTTP(S) transfers over libcurl. One HttpSession per worker thread: its easy handle is
// reused across fetches so that connections to a host stay alive for the whole save.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/FailureCause.h"
#include "platform/HttpSettings.h"

namespace platform {

// Result codes of a transfer; translated from CURLcode and the HTTP status in one place.
enum HttpResult : int {
    HttpOk = 1,            // the whole body arrived with a 2xx status
    HttpFailed = 0,        // could not connect, resolve, or the server broke the transfer
    HttpStatusError = -1,  // the server answered with a 4xx/5xx status (or a redirect that was
                           // not followed); no body kept
    HttpCancelled = -2,    // the caller's stop callback asked to stop
    HttpFileError = -3,    // the local file could not be written
};

struct HttpRequest {
    std::string url;
    std::string agent;                 // empty: libcurl sends no User-Agent
    std::string extraHeaders;          // "Name: value" lines separated by CR LF; may be empty
    int connectTimeoutSec = 300;
    int receiveTimeoutSec = 300;       // longest silence while reading the body
    bool followRedirects = true;
    int64_t resumeFrom = 0;            // byte offset for a ranged request (0: whole body)
    std::string ifRange;               // with resumeFrom: the ETag or date the kept bytes came
                                       // with; a server whose file changed sends it whole (200)
    // Validators of a copy the caller has: the server answers 304 without a body when it still
    // matches them. Sent only on a request for the whole body.
    std::string ifNoneMatch;
    std::string ifModifiedSince;
    size_t chunkSize = 0;              // 0: libcurl's own buffer; else the largest piece per callback
    bool identityEncoding = false;     // true: the body as the server stores it, never compressed
                                       // (for callers that count its bytes against a length or
                                       // keep it byte for byte); false: compressed answers are
                                       // asked for and arrive decoded
    std::function<bool()> stopRequested;  // polled during the transfer; true cancels it
    // FetchToFile: the body's content hash (ContentHash) is worked out as it is written, so the
    // file need not be read again for it.
    bool hashBody = false;
    // FetchToFile: this many of the body's first bytes are kept in response.bodyHead.
    size_t headBytes = 0;
};

struct HttpResponse {
    int result = HttpFailed;
    long status = 0;          // last HTTP status seen (0 when none arrived)
    int64_t bytes = 0;        // body bytes handed to the sink in this transfer
    int64_t contentLength = -1;  // of the final answer; -1 when unknown or content-encoded
    bool rangeHonoured = false;  // a resumed request got 206 Partial Content
    bool truncated = false;      // FetchToMemory stopped at its limit
    std::string error;        // short English text for logs when result != HttpOk
    std::string effectiveUrl; // after redirects
    std::string contentType;  // the final answer's Content-Type header ("" when none)
    bool unreachable = false;  // the host did not resolve or no connection could be made
    bool redirectLoop = false; // the redirects did not end within the limit
    bool cutShort = false;     // the connection closed before the announced body was complete
    std::string etag;          // the final answer's validators ("" when it sent none)
    std::string lastModified;
    std::string retryAfter;    // the final answer's Retry-After header ("" when it sent none)
    // With request.hashBody: the ContentHash of the file FetchToFile wrote, when it wrote it from
    // the first byte ("" when the body went on from bytes kept before, or was not hashed).
    std::string bodyHash;
    // With request.headBytes: the first bytes this transfer wrote (after the kept ones of a
    // resumed transfer, rangeHonoured).
    std::string bodyHead;
    FailureCause cause = FailureCause::None;  // the kind of failure when result != HttpOk
};

// The wait a Retry-After header asks for, in whole seconds from `now` (Unix time): a number
// of seconds or an HTTP date (0 for a date already past); -1 for a value that is neither.
int64_t RetryAfterSeconds(std::string_view value, int64_t now);

// One easy handle and the client settings it works with. Every request of the session gets
// the settings; a request's own agent goes before the settings' one.
class HttpSession {
public:
    // With the program's default settings (DefaultHttpSettings).
    HttpSession();
    explicit HttpSession(HttpClientSettings settings);
    ~HttpSession();
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // Streams the body to `sink` (return false to abort with HttpFileError).
    HttpResponse Fetch(const HttpRequest& request,
                       const std::function<bool(const char*, size_t)>& sink);

    // As Fetch, with `bodyStart` run once before the first body byte of a 2xx answer: it is
    // told whether a ranged request was honoured (206), so the caller knows whether the body
    // continues what it has or starts over. false stops the transfer as HttpFileError.
    HttpResponse FetchStreaming(const HttpRequest& request, const std::function<bool(bool rangeHonoured)>& bodyStart,
                                const std::function<bool(const char*, size_t)>& sink);

    // Fetches into `path`, appending when request.resumeFrom > 0 and the server honours
    // the range (the file is first cut to resumeFrom bytes; a full 200 answer restarts it
    // from the beginning, and a shorter file is HttpFileError). The file is written as given;
    // callers that must not leave partial files pass a temporary name. The file is opened
    // only when a 2xx body begins, so a status error leaves any existing file as it was;
    // a broken transfer leaves the bytes that arrived (response.bytes) for a resumed try.
    HttpResponse FetchToFile(const HttpRequest& request, const std::string& path);

    // Fetches at most `maxBytes` of the body into memory. A longer body is cut there: the
    // transfer stops, the result stays HttpOk and `truncated` is set.
    HttpResponse FetchToMemory(const HttpRequest& request, std::string& out,
                               size_t maxBytes = 16u << 20);

    // The settings every request of this session gets; a thread that works for the same
    // save makes its own session with them.
    const HttpClientSettings& Settings() const { return m_settings; }

private:
    void* m_handle = nullptr;  // CURL*
    HttpClientSettings m_settings;
};

// Call once from main() before any thread starts.
void HttpGlobalInit();

}  // namespace platform
