// Fetching one URL into one local file, and the checks on what arrived. Every call blocks;
// all run on a worker thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class HttpSession;
}

namespace engine {

class SaveJob;

struct FetchOptions {
    int32_t useOptions = 0;     // 1: the record is filled
    std::string agent;
    int32_t accessType = 0;
    std::string proxy;
    std::string proxyBypass;
    int32_t handleFlags = 0;
    std::string headers;        // "Referer: " + the URL's folder
    int32_t headersLength = -1;
    int32_t urlFlags = 0;
    int32_t context = 0;
    int32_t chunkSize = 500;
    int32_t timeoutSec = 0;     // 0 stands for 300 seconds
};

// The engine's fetch of a page or file through the job's session: 1 fetched, 0 failed.
// Runs on the worker thread. An error status, a broken or cancelled transfer is a failure,
// and a failure never leaves a partial file at `path` (a complete older file stays).
// Where a fetched file really came from: the address after redirects and the answer's
// Content-Type (its charset names the page's encoding).
// When the fetch fails, `failure` says why, for the log ("" until then).
struct FetchOrigin {
    std::string url;
    std::string contentType;
    std::string failure;
    // The answer's validators, for asking next time whether the file changed.
    std::string etag;
    std::string lastModified;
    long status = 0;           // the last HTTP status heard (0: none)
    bool notModified = false;  // a conditional fetch heard 304: the copy is still current
    // A fetch off the walk found the host dead (not resolved, no connection). It leaves the
    // host to the walk to give up, through SettleDeadHost.
    bool unreachable = false;
    // Log lines of a fetch off the walk (a busy server's wait), for the walk to write when it
    // takes this outcome, where its own fetch would have written them.
    std::vector<std::string> notes;
    // The content hash of the file as fetched, when the fetch worked it out ("" when not: the
    // walk hashes the file itself).
    std::string hash;
};

// The walk's side of a fetch made off the walk, called when the walk takes its outcome in its
// own order: the first failure of a dead host keeps its reason and gives the host up, a later
// one reads as given up, exactly as if the walk had fetched each file itself.
void SettleDeadHost(const SaveJob& job, const std::string& url, FetchOrigin& origin);

// What a copy was fetched with, for a conditional fetch ("" where the server sent none).
struct Validators {
    std::string etag;
    std::string lastModified;
};

enum ConditionalFetchResult : int { FetchFailed = 0, FetchDone = 1, FetchNotModified = 2 };

// `origin`, when given, receives where the file came from.
[[nodiscard]] int FetchUrlToFile(SaveJob& job, const std::string& url, const std::string& path,
                                 FetchOrigin* origin = nullptr);

// The same fetch for a page whose step edits it before it takes its place: the checked file
// stays at a temporary name beside `path`, given in `staged`, and the caller moves it there.
[[nodiscard]] int FetchUrlToStaging(SaveJob& job, const std::string& url, const std::string& path, std::string& staged,
                                    FetchOrigin* origin = nullptr);

// FetchUrlToFile that asks the server to send the file only when it no longer matches
// `known` (If-None-Match, If-Modified-Since): FetchNotModified when the server says the copy
// is current (nothing is written), FetchDone when the file was fetched to `path`, else
// FetchFailed. Worker thread.
[[nodiscard]] int FetchUrlIfChanged(SaveJob& job, const std::string& url, const std::string& path,
                                    const Validators& known, FetchOrigin* origin = nullptr);

// Forced conversion's last try at a page: one transfer, and what arrived of it is kept even
// when the connection broke off. 1 when something was stored at `path`.
[[nodiscard]] int FetchPartialPage(SaveJob& job, const std::string& url, const std::string& path);

// What ends a fetch on a thread of its own early, besides the job's stop request.
class FetchCancel {
public:
    virtual ~FetchCancel() = default;
    // Polled during the transfer and between its resumed reads; true cancels it.
    virtual bool Cancelled() const = 0;
    // The pause between resumed reads: sleeps `ms` but returns as soon as Cancelled() would.
    virtual void Pause(uint32_t ms) const = 0;
};

// FetchUrlToFile through an explicit session, for any thread: the same ways of fetching and
// the same checks, which judge the file by `path` (its picture name, whether a copy lies
// there already) while the body goes to `staging`, a temporary name of the caller's that is
// written directly and deleted unless the fetch succeeds. The job is only read: a dead host
// is told in `origin` for the caller to settle with SettleDeadHost. `cancel` may be null.
// With `hash`, `origin` gets the file's content hash, worked out while the body is written
// where it can be ("" when not: the caller hashes the file itself).
[[nodiscard]] int FetchUrlToFileVia(platform::HttpSession& http, const SaveJob& job, const std::string& url,
                                    const std::string& path, const std::string& staging,
                                    const FetchCancel* cancel = nullptr, FetchOrigin* origin = nullptr,
                                    bool hash = false);

// FetchUrlIfChanged through an explicit session, for any thread, by the rules of
// FetchUrlToFileVia: the checks judge the file by `path`, the body goes to `staging` and stays
// there (deleted unless the fetch succeeds). `known` null: an unconditional fetch.
[[nodiscard]] int FetchUrlIfChangedVia(platform::HttpSession& http, const SaveJob& job, const std::string& url,
                                       const std::string& path, const std::string& staging, const Validators* known,
                                       const FetchCancel* cancel = nullptr, FetchOrigin* origin = nullptr);

// The downloads below write through path + ".part" and move it into place only when it is
// complete and checked. With a job, its stop request cancels the transfer and cuts the
// pauses between resumed reads short; without one they sleep plainly.

// The plain system download: redirects followed, no agent, one transfer.
[[nodiscard]] int DownloadWithMoniker(platform::HttpSession& http, const std::string& url, const std::string& path,
                                      const SaveJob* job = nullptr);
[[nodiscard]] int DownloadWithOptions(platform::HttpSession& http, const std::string& url, const std::string& path,
                                      const std::string& agent, const SaveJob* job = nullptr);
[[nodiscard]] int DownloadPlain(platform::HttpSession& http, const std::string& url, const std::string& path,
                                const SaveJob* job = nullptr);
void MakeFetchOptions(const std::string& url, const std::string& agent, FetchOptions& options);

// Removes the zero bytes of a file that holds many of them (a wide-character page). False
// when the file could not be read or rewritten.
[[nodiscard]] bool StripZeroBytes(const std::string& path);
bool IsPictureName(std::string_view path);
bool HasPictureSignature(const std::string& path);
// The same test on the first bytes of a file, kPictureHeadBytes of them or all it has.
constexpr size_t kPictureHeadBytes = 8;
bool IsPictureSignature(std::string_view head);

// Status and length of a URL from its response headers: the Content-Length (0 or more),
// 0 for "404 Not found", -1 for "403 Forbidden", "302 Found" or a text that ends first,
// -503 for "503 Service". http:// is probed over a raw socket; https:// through libcurl.
int32_t ProbeStatus(const std::string& url);
// The same; `stopRequested` ends a probe that waits for its server (result 0).
int32_t ProbeStatusUnlessStopped(const std::string& url, const std::function<bool()>& stopRequested);
int32_t ParseStatus(std::string_view text);

// The text between <title> and </title> without the line breaks next to the tags, cut to
// `size` bytes. 1 when both tags were found.
int PageTitle(std::string_view text, std::string& out, size_t size);
// 1 when the saved page says "not found" in its title.
int IsNotFoundPage(const std::string& path);
// A page a busy server sends instead of the file.
bool IsServerBusyPage(std::string_view text);

std::string AgentString(uint32_t code, std::string_view custom);
std::string RefererHeader(uint32_t code, std::string_view url);

}  // namespace engine
