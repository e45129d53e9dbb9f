// Fetching one URL into one local file. Every call blocks; all run on a worker thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// The engine's fetch of a page or file: 1 fetched, 0 failed. A failed fetch never leaves a
// partial file at `path`.
[[nodiscard]] int FetchUrlToFile(SaveJob& job, const std::string& url, const std::string& path);

[[nodiscard]] int DownloadWithMoniker(platform::HttpSession& http, const std::string& url, const std::string& path);
[[nodiscard]] int DownloadWithOptions(platform::HttpSession& http, const std::string& url, const std::string& path,
                                      const std::string& agent);
[[nodiscard]] int DownloadPlain(platform::HttpSession& http, const std::string& url, const std::string& path);
[[nodiscard]] int DownloadHttp(platform::HttpSession& http, const std::string& url, const std::string& path,
                               const FetchOptions& options);
void MakeFetchOptions(const std::string& url, const std::string& agent, FetchOptions& options);

void StripZeroBytes(const std::string& path);
bool IsPictureName(std::string_view path);
bool HasPictureSignature(const std::string& path);

int32_t ProbeStatus(const std::string& url);
int32_t ParseStatus(std::string_view text);
int PageTitle(std::string_view text, std::string& out, size_t size);
int IsNotFoundPage(const std::string& path);
bool IsServerBusyPage(std::string_view text);

std::string AgentString(uint32_t code, std::string_view custom);
std::string RefererHeader(uint32_t code, std::string_view url);

}  // namespace engine
