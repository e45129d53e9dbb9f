// A plain TCP request/answer exchange for the callers that must see a server's bytes as they
// come, without an HTTP library between (the status probe).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct RawExchange {
    std::string host;             // name or address, without brackets
    std::string port = "http";    // a service name or a number; "http" falls back to 80
    std::vector<std::string> lines;  // sent one send() each, as given
    size_t receiveLimit = 1024;   // bytes read at most
    int timeoutSec = 30;          // connect, every send and every receive
    // Asked while waiting for the server; true ends the exchange at once (as a failure when
    // nothing was received). Empty: the exchange runs to its time limits.
    std::function<bool()> stopRequested;
};

enum RawExchangeResult : int { RawExchangeOk = 1, RawExchangeFailed = 0 };

// Connects to the first address of the host that answers, sends the lines and reads until
// the header block is complete ("\r\n\r\n"), the limit is reached or the server goes quiet:
// one receive may hand over only the status line. RawExchangeFailed when the host cannot be
// resolved or connected or a send fails; what arrived (possibly nothing) is in `received`.
[[nodiscard]] int ExchangeRaw(const RawExchange& exchange, std::string& received);

}  // namespace platform
