#include "records/WarcReplay.h"

#include "platform/ByteString.h"
#include "platform/HttpClient.h"
#include "platform/UiText.h"
#include "records/WaczPackage.h"

namespace records {

namespace {

constexpr int kMaxRedirects = 20;

platform::HttpResponse StatusAnswer(long status, const std::string& url, std::string error) {
    platform::HttpResponse r;
    r.result = platform::HttpStatusError;
    r.status = status;
    r.effectiveUrl = url;
    r.error = std::move(error);
    r.cause = platform::FailureCause::HttpStatus;
    return r;
}

}  // namespace

std::string ResolveLocation(const std::string& base, const std::string& location) {
    if (location.find("://") != std::string::npos) return location;
    const size_t scheme = base.find("://");
    if (scheme == std::string::npos) return location;
    if (location.rfind("//", 0) == 0) return base.substr(0, scheme + 1) + location;
    const size_t pathAt = base.find('/', scheme + 3);
    const std::string origin = base.substr(0, pathAt);
    if (!location.empty() && location[0] == '/') return origin + location;
    std::string path = pathAt == std::string::npos ? "/" : base.substr(pathAt);
    path = path.substr(0, path.find_first_of("?#"));
    if (!location.empty() && location[0] == '?') return origin + path + location;
    return origin + path.substr(0, path.rfind('/') + 1) + location;
}

platform::HttpResponse WarcReplay::Answer(const platform::HttpRequest& request,
                                          const std::function<bool(bool rangeHonoured)>& bodyStart,
                                          const std::function<bool(const char*, size_t)>& sink) {
    std::string url = request.url;
    for (int hop = 0; hop <= kMaxRedirects; ++hop) {
        const WarcCapture* capture = m_archive->Find(url);
        if (!capture) return StatusAnswer(kWarcMissingStatus, url, "not in the web archive");
        const bool redirect = capture->status >= 300 && capture->status < 400 && !capture->location.empty();
        if (redirect && request.followRedirects) {
            url = ResolveLocation(url, capture->location);
            continue;
        }
        if (capture->status < 200 || capture->status >= 300)
            return StatusAnswer(capture->status, url, "HTTP status " + std::to_string(capture->status));
        platform::HttpResponse r;
        r.status = capture->status;
        r.effectiveUrl = url;
        r.contentType = capture->contentType;
        r.etag = capture->etag;
        r.lastModified = capture->lastModified;
        const bool encoded = !capture->contentEncoding.empty() || !capture->transferEncoding.empty();
        if (!encoded) r.contentLength = static_cast<int64_t>(capture->payloadLength);
        if (bodyStart && !bodyStart(false)) {
            r.result = platform::HttpFileError;
            r.cause = platform::FailureCause::Disk;
            r.error = "the file could not be written";
            return r;
        }
        std::string why;
        const int read = m_archive->ReadPayload(
            *capture,
            [&](const char* data, size_t length) {
                r.bytes += static_cast<int64_t>(length);
                return sink(data, length);
            },
            request.stopRequested, &why);
        if (read == 1) {
            r.result = platform::HttpOk;
        } else if (read == 0) {
            r.result = platform::HttpFailed;
            r.cause = platform::FailureCause::CutShort;
            r.cutShort = true;
            r.error = "web archive: " + why;
        } else if (request.stopRequested && request.stopRequested()) {
            r.result = platform::HttpCancelled;
            r.cause = platform::FailureCause::Cancelled;
            r.error = "cancelled";
        } else {
            r.result = platform::HttpFileError;
            r.cause = platform::FailureCause::Disk;
            r.error = "the file could not be written";
        }
        return r;
    }
    platform::HttpResponse loop;
    loop.result = platform::HttpFailed;
    loop.redirectLoop = true;
    loop.effectiveUrl = url;
    loop.error = "the archive's redirects do not end";
    loop.cause = platform::FailureCause::Network;
    return loop;
}

std::string WarcReplay::DamageNote() const {
    if (m_archive->ProblemCount() == 0) return {};
    return platform::TrArgs("Webアーカイブに読めないレコードがありました（%1 件、保存ログに記録しました）: %2",
                            {std::to_string(m_archive->ProblemCount()), m_archive->Problems().front()});
}

std::shared_ptr<WarcArchive> OpenWebArchive(const std::string& path, std::string* why) {
    std::string reason;
    std::shared_ptr<WarcBytes> bytes = platform::EndsWithI(path, ".wacz") ? WaczWarcBytes(path, &reason)
                                                                           : WarcBytesOfFile(path, &reason);
    if (!bytes) {
        if (why) *why = path + ": " + reason;
        return nullptr;
    }
    auto archive = std::make_shared<WarcArchive>();
    if (!archive->Read(bytes)) {
        if (why) *why = path + ": " + (archive->Problems().empty() ? "no WARC record" : archive->Problems().front());
        return nullptr;
    }
    return archive;
}

}  // namespace records
