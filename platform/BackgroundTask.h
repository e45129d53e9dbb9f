// One function run on a worker thread of its own, with a stop request and a wait. Windows
// and sessions hand their background work to one of these instead of keeping threads of
// their own; the function checks its stop token between steps and inside its waits.
#pragma once

#include <atomic>
#include <functional>
#include <stop_token>
#include <thread>

namespace platform {

class BackgroundTask {
public:
    // Runs on the task's worker thread.
    using Work = std::function<void(std::stop_token stop)>;

    BackgroundTask() = default;
    // Asks the work to stop and waits for it.
    ~BackgroundTask();
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // Runs `work`; work still running from an earlier start is stopped and waited for first.
    void Start(Work work);
    // Asks the work to stop; does not wait.
    void Stop();
    // Waits until the work has returned (at once when none was started).
    void Wait();
    void StopAndWait();
    // Started and not yet returned.
    bool Running() const { return m_running.load(std::memory_order_acquire); }

private:
    std::atomic<bool> m_running{false};
    std::jthread m_thread;
};

}  // namespace platform
