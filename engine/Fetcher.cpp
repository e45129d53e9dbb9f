// Fetching through the worker's HTTP session. Every way of fetching writes to a temporary
// name beside the target, so a broken, refused or cancelled transfer never leaves a
// truncated file where a saved page or file is expected.
#include "engine/Fetcher.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <utility>

#include "engine/FailureReason.h"
#include "engine/HistoryNotes.h"
#include "engine/SaveJob.h"
#include "engine/SiteAdapters.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/Clock.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"

namespace engine {

namespace {

constexpr std::string_view kProgramAgent = "Mozilla/4.0";
constexpr int kResumeTries = 4;
constexpr int kDefaultTimeoutSec = 300;
constexpr int kPlainChunkSize = 500;
constexpr int kOptionsChunkSize = 1024;
constexpr int kOptionsTimeoutSec = 60;
// A busy server's Retry-After is waited out at most this often per request, this long each.
constexpr int kBusyWaits = 3;
constexpr int64_t kBusyWaitLimitSec = 60;

std::string PartPath(const std::string& path) { return path + ".part"; }

// What may end a fetch early: the job's stop request and, for a fetch on a thread of its
// own, its owner's cancel.
struct Control {
    const SaveJob* job = nullptr;
    const FetchCancel* cancel = nullptr;
    FetchOrigin* origin = nullptr;  // receives where the file came from
    SaveJob* logTo = nullptr;        // the worker's fetch writes its log lines itself
    const Validators* known = nullptr;  // a conditional fetch: what the copy was fetched with
    bool* notModified = nullptr;        // set when the server said the copy is current
    // Off the walk: a dead host is told in `origin`, not recorded in the job, so that the walk
    // settles it in its own order.
    bool offWalk = false;
    // The file's content hash goes to `origin` too, worked out as the body is written.
    bool hash = false;

    bool Stopped() const { return (job && job->StopRequested()) || (cancel && cancel->Cancelled()); }

    // The pause before a broken transfer is resumed: the job's, else the usual one.
    uint32_t ResumePauseMs() const { return job ? job->Run().resumePauseMs : RunContext::kDefaultWaitMs; }

    // A stop request ends the pause at once; without a job the pause is short enough to sleep.
    void Pause(uint32_t ms) const {
        if (cancel) {
            cancel->Pause(ms);
        } else if (job) {
            job->Pause(ms);
        } else {
            platform::SleepMs(ms);
        }
    }
};

// Where a download goes: `path` names the file for the checks on what arrived; the body is
// written to `temp` and moved to `target` once it is whole and checked. A file fetched ahead
// goes to a staging name that is a temporary name itself, so it is written there directly.
struct Destination {
    const std::string& path;
    const std::string& target;
    std::string temp;

    static Destination InPlace(const std::string& path) { return {path, path, PartPath(path)}; }
    static Destination Staged(const std::string& path, const std::string& staging) { return {path, staging, staging}; }
};

platform::HttpRequest RequestFor(const std::string& url, const Control& control) {
    platform::HttpRequest request;
    request.url = url;
    request.followRedirects = true;
    if (control.job || control.cancel) request.stopRequested = [control] { return control.Stopped(); };
    if (control.known) {
        request.ifNoneMatch = control.known->etag;
        request.ifModifiedSince = control.known->lastModified;
    }
    request.hashBody = control.hash && control.origin;
    return request;
}

int Discard(const std::string& temp) {
    platform::DiscardTemporary(temp);
    return 0;
}

// Tells a caller that asked where the file came from why it did not come. Only failures
// build the text.
void NoteFailure(FetchOrigin* origin, std::string reason) {
    if (origin) origin->failure = std::move(reason);
}

void NoteFailure(FetchOrigin* origin, const platform::HttpResponse& response) {
    if (!origin) return;
    origin->failure = FailureText(response.cause, response.status, response.error);
    origin->status = response.status;
}

// The server's word that the copy asked about is still current.
bool HeardNotModified(const platform::HttpResponse& response, const Control& control) {
    if (!control.known || response.result != platform::HttpStatusError || response.status != 304) return false;
    if (control.notModified) *control.notModified = true;
    if (control.origin) {
        FetchOrigin heard;
        heard.notes = std::move(control.origin->notes);
        *control.origin = std::move(heard);
        control.origin->status = 304;
        control.origin->notModified = true;
        control.origin->etag = response.etag;
        control.origin->lastModified = response.lastModified;
    }
    return true;
}

// Waits for the turn of the request's host when the save keeps an interval between requests.
void WaitForHost(const std::string& url, const Control& control) {
    if (!control.job) return;
    const NamedOptions named = control.job->Named();
    control.job->Run().Pacer().WaitTurn(url, static_cast<uint32_t>(named.waitMs), named.waitRandom,
                                        [&control](uint32_t ms) { control.Pause(ms); });
}

// A server that answered 429 or 503 with Retry-After is given the time it asked for (within
// bounds) before the request is repeated. True when the request should be made again.
bool WaitOutBusyServer(const platform::HttpResponse& response, const Control& control, int& waits) {
    if (!control.job || response.result != platform::HttpStatusError) return false;
    if (response.status != 429 && response.status != 503) return false;
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch());
    const int64_t seconds = platform::RetryAfterSeconds(response.retryAfter, now.count());
    if (seconds < 0 || waits >= kBusyWaits) return false;
    ++waits;
    const int64_t waitSec = std::min(seconds, kBusyWaitLimitSec);
    std::string line = "  サーバーが混雑しています。" + std::to_string(waitSec) + "秒待機します（Retry-After、" +
                       std::to_string(waits) + "回目）…";
    if (control.logTo) {
        control.logTo->AppendLog(line);
    } else if (control.origin) {
        control.origin->notes.push_back(std::move(line));
    }
    control.Pause(static_cast<uint32_t>(waitSec * 1000));
    if (!control.Stopped()) return true;
    NoteFailure(control.origin, std::string(kReasonStopped));
    return false;
}

// Fetches into `temp`, reading on from the bytes already there after a broken transfer, at
// most four more times after a pause each. With onlyOnceBegun, a transfer that never
// delivered a byte (refused, unknown host) is not tried again. `head`, when given, receives
// the file's first bytes (kPictureHeadBytes) when the last transfer wrote it from the start,
// and stays empty when it went on from kept bytes.
bool FetchResuming(platform::HttpSession& http, platform::HttpRequest& request, const std::string& temp,
                   const Control& control, bool onlyOnceBegun, std::optional<std::string>* head = nullptr) {
    if (head) request.headBytes = kPictureHeadBytes;
    int busyWaits = 0;
    for (int retries = 0;; ++retries) {
        WaitForHost(request.url, control);
        platform::HttpResponse response = http.FetchToFile(request, temp);
        if (control.job) control.job->Run().Pacer().RequestEnded(request.url);
        if (response.result == platform::HttpOk) {
            if (head && !response.rangeHonoured) head->emplace(std::move(response.bodyHead));
            if (control.origin) {
                FetchOrigin heard;
                heard.url = std::move(response.effectiveUrl);
                heard.contentType = std::move(response.contentType);
                heard.etag = std::move(response.etag);
                heard.lastModified = std::move(response.lastModified);
                heard.status = response.status;
                heard.hash = std::move(response.bodyHash);
                heard.notes = std::move(control.origin->notes);  // a busy server's waits before
                *control.origin = std::move(heard);
            }
            return true;
        }
        if (HeardNotModified(response, control)) return false;
        NoteFailure(control.origin, response);
        if (response.unreachable && control.job) {
            if (!control.offWalk) control.job->MarkHostUnreachable(request.url);
            else if (control.origin) control.origin->unreachable = true;
            return false;
        }
        if (WaitOutBusyServer(response, control, busyWaits)) {
            --retries;  // a wait the server asked for is no broken transfer
            continue;
        }
        // An error status, a cancel or a local write failure will not mend by reading again.
        if (response.result != platform::HttpFailed || retries >= kResumeTries) return false;
        const int64_t have = std::max<int64_t>(0, platform::FileSize(temp));
        if (onlyOnceBegun && have == 0) return false;
        control.Pause(control.ResumePauseMs());
        if (control.Stopped()) {
            NoteFailure(control.origin, std::string(kReasonStopped));
            return false;
        }
        // The temporary file holds exactly the bytes that arrived so far.
        request.resumeFrom = have;
    }
}

// A failed fetch hands on no hash: a download that arrived but was refused afterwards (not
// a picture, not moved into place) is not the file the walk goes on with.
int Unhashed(FetchOrigin* origin) {
    if (origin) origin->hash.clear();
    return 0;
}

int Commit(const std::string& temp, const std::string& path, FetchOrigin* origin) {
    if (temp == path || platform::RenameFile(temp, path)) return 1;
    NoteFailure(origin, FailureText(platform::LastFileFailure()));
    (void)Unhashed(origin);
    return Discard(temp);
}

int NotAPicture(const std::string& temp, FetchOrigin* origin) {
    NoteFailure(origin, std::string(kReasonNotAPicture));
    return Discard(temp);
}

int Moniker(platform::HttpSession& http, const std::string& url, const Destination& to, const Control& control) {
    // The desktop's own download: redirects followed, the library's defaults. A transfer
    // that broke off after it had begun is resumed like the other ways, and a picture name
    // that brought an HTML page is refused: either would otherwise leave a broken copy.
    const std::string& temp = to.temp;
    platform::HttpRequest request = RequestFor(url, control);
    const bool picture = IsPictureName(to.path);
    std::optional<std::string> head;
    if (!FetchResuming(http, request, temp, control, true, picture ? &head : nullptr)) return Discard(temp);
    if (picture && !(head ? IsPictureSignature(*head) : HasPictureSignature(temp)))
        return NotAPicture(temp, control.origin);
    return Commit(temp, to.target, control.origin);
}

int Http(platform::HttpSession& http, const std::string& url, const Destination& to, const FetchOptions& options,
         const Control& control) {
    const bool filled = options.useOptions != 0;
    platform::HttpRequest request = RequestFor(url, control);
    int timeoutSec = kDefaultTimeoutSec;
    request.chunkSize = kPlainChunkSize;
    if (filled) {
        request.agent = options.agent;
        request.extraHeaders = options.headers;
        if (options.timeoutSec > 0) timeoutSec = options.timeoutSec;
        if (options.chunkSize > 0) request.chunkSize = static_cast<size_t>(options.chunkSize);
    }
    request.connectTimeoutSec = timeoutSec;
    request.receiveTimeoutSec = timeoutSec;

    const std::string& temp = to.temp;
    if (!FetchResuming(http, request, temp, control, false)) return Discard(temp);

    // A page that cannot be read back or rewritten here would be saved half-converted.
    if (IsPageName(url) && !StripZeroBytes(temp)) {
        NoteFailure(control.origin, FailureText(platform::LastFileFailure()));
        return Discard(temp);
    }
    // The page may have lost bytes since it was hashed.
    if (IsPageName(url) && control.origin) control.origin->hash.clear();
    // Servers answer a missing picture with an HTML page under the picture's name.
    if (IsPictureName(to.path) && !HasPictureSignature(temp)) return NotAPicture(temp, control.origin);
    return Commit(temp, to.target, control.origin);
}

int WithAgent(platform::HttpSession& http, const std::string& url, const Destination& to, const std::string& agent,
              const Control& control) {
    FetchOptions options;
    MakeFetchOptions(url, agent, options);
    return Http(http, url, to, options, control);
}

// The engine's choice of the ways of fetching, shared by the crawl's own fetch and the
// fetches ahead of it.
int FetchByJobRules(platform::HttpSession& http, const SaveJob& job, const std::string& url, const Destination& to,
                    const Control& control) {
    // A fetch off the walk also stops at a host that it found dead itself.
    const auto givenUp = [&] {
        return job.HostUnreachable(url) || (control.origin && control.origin->unreachable);
    };
    if (job.HostUnreachable(url)) {
        NoteFailure(control.origin, std::string(kReasonHostGivenUp));
        return 0;
    }
    if (job.Has(mode::agent)) return WithAgent(http, url, to, std::string(kProgramAgent), control);
    int ok = Moniker(http, url, to, control);
    // The second way only when no copy lies where the file belongs.
    const bool current = control.notModified && *control.notModified;
    if (!ok && !current && job.Has(mode::neglect) && !platform::FileExists(to.path) && !control.Stopped() &&
        !givenUp())
        ok = Http(http, url, to, FetchOptions{}, control);
    return ok;
}

// The worker's session keeps connections alive across the save; a caller without one still
// gets a working fetch, through a session of its own in `own`.
platform::HttpSession& SessionOf(SaveJob& job, std::unique_ptr<platform::HttpSession>& own) {
    if (platform::HttpSession* http = job.Http()) return *http;
    own = std::make_unique<platform::HttpSession>();
    return *own;
}

// The verdict of the site adapters on a fetched file. A refused file, or one whose rewrite
// the disk refused, fails the fetch with its reason; the caller deletes it.
bool PassesSiteChecks(const SaveJob& job, const std::string& url, const std::string& staging, FetchOrigin* origin) {
    if (!HasSiteChecks(job)) return true;
    // The checks may rewrite the file: its hash is worked out again from what they leave.
    if (origin) origin->hash.clear();
    const int checked = CheckFetchedFile(job, url, staging);
    if (checked == 1) return true;
    NoteFailure(origin, checked == platform::RewriteNotWritten ? FailureText(platform::LastFileFailure())
                                                               : std::string(kReasonRefusedBySite));
    return false;
}

}  // namespace

int FetchUrlToStaging(SaveJob& job, const std::string& url, const std::string& path, std::string& staged,
                      FetchOrigin* origin) {
    std::unique_ptr<platform::HttpSession> own;
    platform::HttpSession& http = SessionOf(job, own);
    if (origin) *origin = {};
    // The site adapters judge (and may rewrite) the file before it takes its place: a file
    // they refuse is deleted, the fetch fails, and a copy saved before stays as it was.
    const std::string staging = PartPath(path);
    Control control{&job, nullptr, origin, &job};
    control.hash = KeepsHistory(job);
    if (!FetchByJobRules(http, job, url, Destination::Staged(path, staging), control)) return Unhashed(origin);
    if (!PassesSiteChecks(job, url, staging, origin)) return Discard(staging);
    staged = staging;
    return 1;
}

int FetchUrlToFile(SaveJob& job, const std::string& url, const std::string& path, FetchOrigin* origin) {
    std::string staged;
    return FetchUrlToStaging(job, url, path, staged, origin) ? Commit(staged, path, origin) : 0;
}

int FetchUrlIfChanged(SaveJob& job, const std::string& url, const std::string& path, const Validators& known,
                      FetchOrigin* origin) {
    std::unique_ptr<platform::HttpSession> own;
    platform::HttpSession& http = SessionOf(job, own);
    FetchOrigin local;
    FetchOrigin* heard = origin ? origin : &local;
    *heard = {};
    bool notModified = false;
    Control control{&job, nullptr, heard, &job};
    control.known = &known;
    control.notModified = &notModified;
    const std::string staging = PartPath(path);
    if (!FetchByJobRules(http, job, url, Destination::Staged(path, staging), control))
        return notModified ? FetchNotModified : FetchFailed;
    if (!PassesSiteChecks(job, url, staging, heard)) return Discard(staging);
    return Commit(staging, path, heard);
}

int FetchUrlIfChangedVia(platform::HttpSession& http, const SaveJob& job, const std::string& url,
                         const std::string& path, const std::string& staging, const Validators* known,
                         const FetchCancel* cancel, FetchOrigin* origin) {
    FetchOrigin local;
    FetchOrigin* heard = origin ? origin : &local;
    *heard = {};
    bool notModified = false;
    Control control{&job, cancel, heard};
    control.offWalk = true;
    control.known = known;
    control.notModified = &notModified;
    if (!FetchByJobRules(http, job, url, Destination::Staged(path, staging), control))
        return notModified ? FetchNotModified : FetchFailed;
    if (!PassesSiteChecks(job, url, staging, heard)) return Discard(staging);
    return FetchDone;
}

int FetchUrlToFileVia(platform::HttpSession& http, const SaveJob& job, const std::string& url,
                      const std::string& path, const std::string& staging, const FetchCancel* cancel,
                      FetchOrigin* origin, bool hash) {
    FetchOrigin local;
    FetchOrigin* heard = origin ? origin : &local;
    *heard = {};
    Control control{&job, cancel, heard};
    control.offWalk = true;
    control.hash = hash && origin;
    if (!FetchByJobRules(http, job, url, Destination::Staged(path, staging), control)) return Unhashed(origin);
    // A file fetched ahead passes the same checks as one fetched by the walk itself.
    if (!PassesSiteChecks(job, url, staging, heard)) return Discard(staging);
    return 1;
}

void SettleDeadHost(const SaveJob& job, const std::string& url, FetchOrigin& origin) {
    if (!origin.unreachable) return;
    origin.unreachable = false;
    if (job.HostUnreachable(url)) {
        origin.failure = kReasonHostGivenUp;
    } else {
        job.MarkHostUnreachable(url);
    }
}

int FetchPartialPage(SaveJob& job, const std::string& url, const std::string& path) {
    if (job.HostUnreachable(url) || job.StopRequested()) return 0;
    std::unique_ptr<platform::HttpSession> own;
    platform::HttpSession& http = SessionOf(job, own);
    const Control control{&job, nullptr, nullptr, &job};
    platform::HttpRequest request = RequestFor(url, control);
    const std::string temp = PartPath(path);
    WaitForHost(url, control);
    const platform::HttpResponse response = http.FetchToFile(request, temp);
    job.Run().Pacer().RequestEnded(url);
    // A whole answer, or the part of one that arrived before the transfer broke; an error
    // status or a cancel keeps nothing.
    const bool usable = response.result == platform::HttpOk ||
                        (response.result == platform::HttpFailed && platform::FileSize(temp) > 0);
    if (!usable) return Discard(temp);
    if (IsPageName(path) && !StripZeroBytes(temp)) return Discard(temp);
    return Commit(temp, path, nullptr);
}

int DownloadWithMoniker(platform::HttpSession& http, const std::string& url, const std::string& path,
                        const SaveJob* job) {
    return Moniker(http, url, Destination::InPlace(path), Control{job, nullptr});
}

int DownloadWithOptions(platform::HttpSession& http, const std::string& url, const std::string& path,
                        const std::string& agent, const SaveJob* job) {
    return WithAgent(http, url, Destination::InPlace(path), agent, Control{job, nullptr});
}

int DownloadPlain(platform::HttpSession& http, const std::string& url, const std::string& path,
                  const SaveJob* job) {
    return Http(http, url, Destination::InPlace(path), FetchOptions{}, Control{job, nullptr});
}

void MakeFetchOptions(const std::string& url, const std::string& agent, FetchOptions& options) {
    options = FetchOptions{};
    options.useOptions = 1;
    options.agent = agent;
    options.headers = "Referer: " + std::string(platform::UpToLast(url, '/'));
    options.chunkSize = kOptionsChunkSize;
    options.timeoutSec = kOptionsTimeoutSec;
}

}  // namespace engine
