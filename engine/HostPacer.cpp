#include "engine/HostPacer.h"

#include <algorithm>

#include "engine/LinkText.h"
#include "platform/ByteString.h"

namespace engine {

namespace {

using Guard = std::lock_guard<std::mutex>;

std::string HostKey(std::string_view url) { return platform::AsciiLowerCopy(SchemeAndHost(url)); }

}  // namespace

void HostPacer::SetHostMinimumMs(std::string_view host, uint32_t ms) {
    std::string key = HostKey(host);
    if (key.empty()) return;
    Guard g(m_lock);
    if (ms == 0) {
        m_minimumMs.erase(key);
    } else {
        m_minimumMs[std::move(key)] = std::min(ms, kMaxIntervalMs);
    }
}

uint32_t HostPacer::HostMinimumMs(std::string_view host) const {
    const std::string key = HostKey(host);
    Guard g(m_lock);
    const auto it = m_minimumMs.find(key);
    return it == m_minimumMs.end() ? 0 : it->second;
}

uint32_t HostPacer::TakeTurnMs(std::string_view url, uint32_t intervalMs, bool randomise) {
    std::string key = HostKey(url);
    if (key.empty()) return 0;
    Guard g(m_lock);
    // Nothing is noted while no interval applies: a save without waits stays as it was.
    const auto minimum = m_minimumMs.find(key);
    uint32_t interval = std::min(std::max(intervalMs, minimum == m_minimumMs.end() ? 0u : minimum->second), kMaxIntervalMs);
    if (interval == 0) return 0;
    if (randomise) interval = std::uniform_int_distribution<uint32_t>(interval / 2, interval + interval / 2)(m_random);
    const Clock::time_point now = Clock::now();
    const auto last = m_lastTurn.find(key);
    Clock::time_point turn = now;
    if (last != m_lastTurn.end()) turn = std::max(now, last->second + std::chrono::milliseconds(interval));
    m_lastTurn[std::move(key)] = turn;
    return static_cast<uint32_t>(std::chrono::ceil<std::chrono::milliseconds>(turn - now).count());
}

void HostPacer::RequestEnded(std::string_view url) {
    const std::string key = HostKey(url);
    Guard g(m_lock);
    const auto last = m_lastTurn.find(key);
    if (last != m_lastTurn.end()) last->second = std::max(last->second, Clock::now());
}

void HostPacer::WaitTurn(std::string_view url, uint32_t intervalMs, bool randomise,
                         const std::function<void(uint32_t)>& pause) {
    const uint32_t waitMs = TakeTurnMs(url, intervalMs, randomise);
    if (waitMs > 0) pause(waitMs);
}

}  // namespace engine
