#include "engine/WorkerControl.h"

#include <chrono>

namespace engine {

using Guard = std::lock_guard<std::mutex>;

WorkerControl::~WorkerControl() { StopAndJoin(); }

void WorkerControl::StopAndJoin() {
    {
        Guard g(m_lock);
        m_stopRequested = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable()) m_worker.join();
}

bool WorkerControl::Running() const { Guard g(m_lock); return m_running; }
bool WorkerControl::Ended() const { Guard g(m_lock); return m_ended; }
int WorkerControl::Result() const { Guard g(m_lock); return m_result; }
int WorkerControl::Refusal() const { Guard g(m_lock); return m_refusal; }
void WorkerControl::SetRefusal(int exitCode) { Guard g(m_lock); m_refusal = exitCode; }

void WorkerControl::Finish(int result) {
    {
        Guard g(m_lock);
        m_result = result;
        m_running = false;
        m_ended = true;
    }
    m_wake.notify_all();
}

bool WorkerControl::Stop(uint32_t waitMs) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_stopRequested = true;
    m_wake.notify_all();
    bool ended = m_wake.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return !m_running; });
    lock.unlock();
    if (ended && m_worker.joinable()) m_worker.join();
    return ended;
}

bool WorkerControl::Wait(uint32_t waitMs) const {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_wake.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return !m_running; });
}

bool WorkerControl::StopRequested() const { Guard g(m_lock); return m_stopRequested; }

void WorkerControl::Pause(uint32_t ms) const {
    if (ms == 0) return;
    std::unique_lock<std::mutex> lock(m_lock);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    m_wake.wait_until(lock, until, [this] { return m_stopRequested; });
}

uint32_t WorkerControl::CpuSleepMs() const { Guard g(m_lock); return m_cpuSleepMs; }
void WorkerControl::SetCpuSleepMs(uint32_t ms) {
    {
        Guard g(m_lock);
        m_cpuSleepMs = ms;
    }
    // A shorter pause takes effect at once, not after the pause already begun.
    m_wake.notify_all();
}

}  // namespace engine
