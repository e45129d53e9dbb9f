// The waits between requests to one host during one save, shared by the worker and the
// threads that fetch ahead of it. Each request takes the next free turn of its host: at
// least the host's interval after its last turn and after its last answer.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine {

class HostPacer {
public:
    // The longest interval between two requests to one host that the pacer keeps.
    static constexpr uint32_t kMaxIntervalMs = 60000;

    // A host's own minimum (its robots.txt Crawl-delay, say); `host` is a URL or
    // "scheme://host:port". 0 removes it.
    void SetHostMinimumMs(std::string_view host, uint32_t ms);
    uint32_t HostMinimumMs(std::string_view host) const;

    // How long a request to `url` must wait for its turn, taking the turn: the interval is
    // the larger of `intervalMs` and the host's minimum, and with `randomise` each turn lies
    // between half and one and a half of it from the last. 0 when no wait is due.
    uint32_t TakeTurnMs(std::string_view url, uint32_t intervalMs, bool randomise);

    // A request whose turn was taken has ended: the next turn of its host counts from now,
    // so the interval lies between one answer and the next request, as a server sees it.
    void RequestEnded(std::string_view url);

    // TakeTurnMs, then `pause` for the wait (a pause that ends early on a stop request).
    void WaitTurn(std::string_view url, uint32_t intervalMs, bool randomise,
                  const std::function<void(uint32_t)>& pause);

private:
    using Clock = std::chrono::steady_clock;

    mutable std::mutex m_lock;
    std::unordered_map<std::string, Clock::time_point> m_lastTurn;
    std::unordered_map<std::string, uint32_t> m_minimumMs;
    std::minstd_rand m_random{std::random_device{}()};
};

}  // namespace engine
