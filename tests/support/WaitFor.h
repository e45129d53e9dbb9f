// Waiting for a condition that another thread or process brings about, with a time limit.
#pragma once

#include <chrono>
#include <thread>

namespace testsupport {

// Polls `condition` every 10 ms; true as soon as it holds, false when `limitMs` ran out.
template <typename Condition>
bool WaitFor(Condition condition, int limitMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace testsupport
