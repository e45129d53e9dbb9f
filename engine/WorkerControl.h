// The worker thread of a save and what steers it: start, stop, the pause between steps and
// the result. The window thread and the worker meet here under one lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace engine {

class WorkerControl {
public:
    WorkerControl() = default;
    ~WorkerControl();  // asks the worker to stop and waits for it
    WorkerControl(const WorkerControl&) = delete;
    WorkerControl& operator=(const WorkerControl&) = delete;

    // Starts `body` on the worker thread; its return value becomes the result.
    template <typename F>
    void Start(F body);
    bool Running() const;
    bool Ended() const;
    int Result() const;
    // Why the job was refused before its work began, as the program's exit code
    // (platform/ExitCodes.h); 0 while it was not refused.
    int Refusal() const;
    void SetRefusal(int exitCode);
    // Asks the worker to stop between steps and waits up to `waitMs` for it. True when it ended.
    bool Stop(uint32_t waitMs);
    // Waits up to `waitMs` for the worker to end by itself. True when it has ended.
    bool Wait(uint32_t waitMs) const;
    bool StopRequested() const;
    // Sleeps for `ms` unless a stop is requested first.
    void Pause(uint32_t ms) const;

    // The pause between the worker's steps (the CPU level); a window may change it while
    // the save runs, and a shorter pause takes effect at once.
    uint32_t CpuSleepMs() const;
    void SetCpuSleepMs(uint32_t ms);

    // Stops the worker and waits until it has ended.
    void StopAndJoin();

private:
    void Finish(int result);

    mutable std::mutex m_lock;
    mutable std::condition_variable m_wake;
    std::thread m_worker;
    bool m_running = false;
    bool m_ended = false;
    bool m_stopRequested = false;
    int m_result = 0;
    int m_refusal = 0;
    uint32_t m_cpuSleepMs = 0;
};

template <typename F>
void WorkerControl::Start(F body) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_running = true;
        m_ended = false;
        m_stopRequested = false;
    }
    m_worker = std::thread([this, body]() mutable { Finish(body()); });
}

}  // namespace engine
