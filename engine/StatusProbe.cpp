// The status probe: one request whose answer is read only as far as its headers, to learn
// whether a URL is there and how long it is.
#include <climits>

#include "engine/Fetcher.h"
#include "platform/ByteString.h"
#include "platform/HttpClient.h"
#include "platform/RawExchange.h"

namespace engine {

namespace {

constexpr size_t kScannedPositions = 1025;
constexpr int kProbeTimeoutSec = 30;

struct Target {
    std::string host;
    std::string hostHeader;  // host and port as the URL writes them
    std::string port = "http";
    std::string path;
};

// "http://host[:port]/path": the host keeps no brackets, the path its "/" and no fragment.
Target SplitUrl(std::string_view url) {
    if (platform::StartsWithI(url, "http://")) url.remove_prefix(7);
    const size_t slash = url.find('/');
    std::string_view hostPort = url.substr(0, slash);
    Target target;
    target.hostHeader = std::string(hostPort);
    target.path = slash == std::string_view::npos ? "/" : std::string(url.substr(slash));
    target.path = target.path.substr(0, target.path.find('#'));
    std::string_view port;
    if (!hostPort.empty() && hostPort.front() == '[') {
        const size_t close = hostPort.find(']');
        if (close == std::string_view::npos) return target;  // no host: the probe fails
        target.host = std::string(hostPort.substr(1, close - 1));
        if (hostPort.substr(close + 1).starts_with(':')) port = hostPort.substr(close + 2);
    } else {
        const size_t colon = hostPort.rfind(':');
        target.host = std::string(hostPort.substr(0, colon));
        if (colon != std::string_view::npos) port = hostPort.substr(colon + 1);
    }
    if (!port.empty()) target.port = std::string(port);
    return target;
}

int32_t ProbeOverSocket(const std::string& url, const std::function<bool()>& stopRequested) {
    const Target target = SplitUrl(url);
    platform::RawExchange exchange;
    exchange.host = target.host;
    exchange.port = target.port;
    // Each line goes out as its own send, as simple servers have always seen them.
    exchange.lines = {"GET " + target.path + " HTTP/1.1\r\n", "Host: " + target.hostHeader + "\r\n",
                      "Connection: close\r\n", "\r\n"};
    exchange.receiveLimit = 1024;
    exchange.timeoutSec = kProbeTimeoutSec;
    exchange.stopRequested = stopRequested;
    std::string received;
    if (platform::ExchangeRaw(exchange, received) != platform::RawExchangeOk) return 0;
    return ParseStatus(received);
}

// https has no raw form here, and a plain socket knows no proxy, login or cookie: libcurl
// makes the same GET with the program's client settings and stops at the first body byte.
// The length asked about is the file's own, so no compressed answer is asked for.
int32_t ProbeThroughClient(const std::string& url, const std::function<bool()>& stopRequested) {
    platform::HttpSession http;
    platform::HttpRequest request;
    request.url = url;
    request.stopRequested = stopRequested;
    request.followRedirects = false;
    request.identityEncoding = true;
    request.connectTimeoutSec = kProbeTimeoutSec;
    request.receiveTimeoutSec = kProbeTimeoutSec;
    const platform::HttpResponse response = http.Fetch(request, [](const char*, size_t) { return false; });
    switch (response.status) {
    case 0: return 0;
    case 302: case 403: return -1;
    case 404: return 0;
    case 503: return -503;
    default: break;
    }
    if (response.contentLength < 0) return -1;
    return response.contentLength > INT32_MAX ? INT32_MAX : static_cast<int32_t>(response.contentLength);
}

int32_t LengthValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t ProbeStatus(const std::string& url) { return ProbeStatusUnlessStopped(url, {}); }

int32_t ProbeStatusUnlessStopped(const std::string& url, const std::function<bool()>& stopRequested) {
    const bool plainSocket = !platform::StartsWithI(url, "https://") && platform::DefaultHttpSettings().Plain() &&
                             !platform::EnvironmentNamesProxy(url);
    return plainSocket ? ProbeOverSocket(url, stopRequested) : ProbeThroughClient(url, stopRequested);
}

int32_t ParseStatus(std::string_view text) {
    for (size_t i = 0; i < kScannedPositions; ++i) {
        // A zero byte ends the received text as its end does.
        if (i >= text.size() || text[i] == '\0') return -1;
        const std::string_view at = text.substr(i);
        if (platform::StartsWithI(at, "403 Forbidden")) return -1;
        if (platform::StartsWithI(at, "404 Not found")) return 0;
        if (platform::StartsWithI(at, "302 Found")) return -1;
        if (platform::StartsWithI(at, "503 Service")) return -503;
        if (platform::StartsWithI(at, "Content-Length:")) return LengthValue(at.substr(15));
    }
    return 0;
}

}  // namespace engine
