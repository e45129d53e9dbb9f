// Minimal fetcher: one plain HTTP download through the worker's session into a temporary
// name that is moved into place when complete.
#include "engine/Fetcher.h"

#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"

namespace engine {

namespace {

int FetchToPath(platform::HttpSession& http, const std::string& url, const std::string& path,
                const std::string& agent, const SaveJob* job) {
    platform::HttpRequest request;
    request.url = url;
    request.agent = agent;
    if (job) request.stopRequested = [job] { return job->StopRequested(); };
    const std::string temp = path + ".part";
    platform::HttpResponse response = http.FetchToFile(request, temp);
    if (response.result != platform::HttpOk) {
        platform::RemoveFile(temp);
        return 0;
    }
    if (!platform::RenameFile(temp, path)) {
        platform::RemoveFile(temp);
        return 0;
    }
    return 1;
}

}  // namespace

int FetchUrlToFile(SaveJob& job, const std::string& url, const std::string& path) {
    platform::HttpSession* http = job.Http();
    if (!http) return 0;
    std::string agent = job.Has(mode::agent) ? "Mozilla/4.0" : "";
    return FetchToPath(*http, url, path, agent, &job);
}

int DownloadWithMoniker(platform::HttpSession& http, const std::string& url, const std::string& path) {
    return FetchToPath(http, url, path, "", nullptr);
}

int DownloadWithOptions(platform::HttpSession& http, const std::string& url, const std::string& path,
                        const std::string& agent) {
    return FetchToPath(http, url, path, agent, nullptr);
}

int DownloadPlain(platform::HttpSession& http, const std::string& url, const std::string& path) {
    return FetchToPath(http, url, path, "", nullptr);
}

int DownloadHttp(platform::HttpSession& http, const std::string& url, const std::string& path,
                 const FetchOptions& options) {
    return FetchToPath(http, url, path, options.agent, nullptr);
}

void MakeFetchOptions(const std::string& url, const std::string& agent, FetchOptions& options) {
    options = FetchOptions{};
    options.useOptions = 1;
    options.agent = agent;
    options.headers = "Referer: " + std::string(platform::UpToLast(url, '/'));
    options.chunkSize = 1024;
    options.timeoutSec = 60;
}

void StripZeroBytes(const std::string&) {}
bool IsPictureName(std::string_view) { return false; }
bool HasPictureSignature(const std::string&) { return true; }
int32_t ProbeStatus(const std::string&) { return 0; }
int32_t ParseStatus(std::string_view) { return 0; }
int PageTitle(std::string_view, std::string& out, size_t) { out.clear(); return 0; }
int IsNotFoundPage(const std::string&) { return 0; }
bool IsServerBusyPage(std::string_view) { return false; }
std::string AgentString(uint32_t, std::string_view custom) { return std::string(custom); }
std::string RefererHeader(uint32_t, std::string_view) { return {}; }

}  // namespace engine
