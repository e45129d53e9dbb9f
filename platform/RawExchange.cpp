#include "platform/RawExchange.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

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

// Waits until the socket is ready for `events`, in short slices so that a stop request is
// seen soon. False on time-out, stop or error.
bool WaitReady(int fd, short events, int timeoutSec, const std::function<bool()>& stopRequested) {
    constexpr int kSliceMs = 100;
    for (int waitedMs = 0; waitedMs < timeoutSec * 1000; waitedMs += kSliceMs) {
        if (stopRequested && stopRequested()) return false;
        pollfd waiting{fd, events, 0};
        const int rc = ::poll(&waiting, 1, kSliceMs);
        if (rc < 0 && errno != EINTR) return false;
        if (rc > 0) return true;
    }
    return false;
}

bool ConnectWithin(int fd, const addrinfo& address, int timeoutSec, const std::function<bool()>& stopRequested) {
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS) return false;
    if (!WaitReady(fd, POLLOUT, timeoutSec, stopRequested)) return false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

// Connects to the first address of the host that answers; the socket then blocks with
// time limits on every send and receive.
bool Connect(const RawExchange& exchange, Socket& socket) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = ::getaddrinfo(exchange.host.c_str(), exchange.port.c_str(), &hints, &found);
    if (rc == EAI_SERVICE && exchange.port == "http") rc = ::getaddrinfo(exchange.host.c_str(), "80", &hints, &found);
    if (rc != 0) return false;
    bool connected = false;
    for (addrinfo* a = found; a && !connected; a = a->ai_next) {
        socket.Reset(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (socket.fd() < 0) continue;
        connected = ConnectWithin(socket.fd(), *a, exchange.timeoutSec, exchange.stopRequested);
    }
    ::freeaddrinfo(found);
    if (!connected) return false;
    const int fd = socket.fd();
    timeval limit{exchange.timeoutSec, 0};
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

std::string ReceiveHeaders(const RawExchange& exchange, int fd) {
    const size_t limit = exchange.receiveLimit;
    std::string received;
    std::string buffer(limit, '\0');
    while (received.size() < limit && received.find("\r\n\r\n") == std::string::npos) {
        if (!WaitReady(fd, POLLIN, exchange.timeoutSec, exchange.stopRequested)) break;
        ssize_t n = ::recv(fd, buffer.data(), limit - received.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        received.append(buffer.data(), static_cast<size_t>(n));
    }
    return received;
}

}  // namespace

int ExchangeRaw(const RawExchange& exchange, std::string& received) {
    received.clear();
    Socket socket;
    if (exchange.host.empty() || !Connect(exchange, socket)) return RawExchangeFailed;
    for (const std::string& line : exchange.lines) {
        if (!SendAll(socket.fd(), line)) return RawExchangeFailed;
    }
    received = ReceiveHeaders(exchange, socket.fd());
    if (received.empty() && exchange.stopRequested && exchange.stopRequested()) return RawExchangeFailed;
    return RawExchangeOk;
}

}  // namespace platform
