// The status probe: one request whose answer is read only as far as its headers, to learn
// whether a URL is there and how long it is.
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "engine/Fetcher.h"
#include "platform/ByteString.h"
#include "platform/HttpClient.h"

namespace engine {

namespace {

constexpr size_t kReceiveBytes = 1024;
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

class Socket {
public:
    ~Socket() {
        if (m_fd >= 0) {
            ::shutdown(m_fd, SHUT_RDWR);
            ::close(m_fd);
        }
    }
    int fd() const { return m_fd; }
    void Reset(int fd) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

bool ConnectWithin(int fd, const addrinfo& address, int timeoutSec) {
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS) return false;
    pollfd waiting{fd, POLLOUT, 0};
    if (::poll(&waiting, 1, timeoutSec * 1000) != 1) return false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

// Connects to the first address of the host that answers; the socket then blocks with
// time limits on every send and receive.
bool Connect(const Target& target, Socket& socket) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = ::getaddrinfo(target.host.c_str(), target.port.c_str(), &hints, &found);
    if (rc == EAI_SERVICE && target.port == "http") rc = ::getaddrinfo(target.host.c_str(), "80", &hints, &found);
    if (rc != 0) return false;
    bool connected = false;
    for (addrinfo* a = found; a && !connected; a = a->ai_next) {
        socket.Reset(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (socket.fd() < 0) continue;
        connected = ConnectWithin(socket.fd(), *a, kProbeTimeoutSec);
    }
    ::freeaddrinfo(found);
    if (!connected) return false;
    const int fd = socket.fd();
    timeval limit{kProbeTimeoutSec, 0};
    return ::fcntl(fd, F_SETFL, 0) == 0 && ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0 &&
           ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0;
}

bool SendAll(int fd, const std::string& text) {
    size_t sent = 0;
    while (sent < text.size()) {
        ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

// Reads until the header block is complete, the buffer is full or the server goes quiet:
// one receive may hand over only the status line.
std::string ReceiveHeaders(int fd) {
    std::string received;
    char buffer[kReceiveBytes];
    while (received.size() < kReceiveBytes && received.find("\r\n\r\n") == std::string::npos) {
        ssize_t n = ::recv(fd, buffer, kReceiveBytes - received.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        received.append(buffer, static_cast<size_t>(n));
    }
    return received;
}

int32_t ProbeOverSocket(const std::string& url) {
    const Target target = SplitUrl(url);
    if (target.host.empty()) return 0;
    Socket socket;
    if (!Connect(target, socket)) return 0;
    // Each line goes out as its own send, as simple servers have always seen them.
    for (const std::string& line : {"GET " + target.path + " HTTP/1.1\r\n", "Host: " + target.hostHeader + "\r\n",
                                    std::string("Connection: close\r\n"), std::string("\r\n")}) {
        if (!SendAll(socket.fd(), line)) return 0;
    }
    return ParseStatus(ReceiveHeaders(socket.fd()));
}

// https has no raw form here: libcurl makes the same GET and stops at the first body byte.
int32_t ProbeOverTls(const std::string& url) {
    platform::HttpSession http;
    platform::HttpRequest request;
    request.url = url;
    request.followRedirects = false;
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

int32_t ProbeStatus(const std::string& url) {
    if (platform::StartsWithI(url, "https://")) return ProbeOverTls(url);
    return ProbeOverSocket(url);
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
