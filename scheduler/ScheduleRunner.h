// The runner of a schedule: one worker thread that starts Sitrova for each job in turn and
// waits for it to end. The window shares only this object with it, behind one lock.
//
// Pausing never stops the thread at an arbitrary point: the window sets a flag under the lock
// and the runner waits on a condition before it reads the next job and before it records
// the end of the one it ran, so a paused runner neither starts a job nor moves on. A child
// process already started keeps running meanwhile.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace scheduler {

class ScheduleRunner {
public:
    // Runs one job's command and returns when it has ended (a start failure counts as ended).
    using RunCommand = std::function<void(const std::string& jobCommand)>;

    explicit ScheduleRunner(RunCommand run);
    // Lets a running thread go: a Sitrova already started keeps running after the scheduler
    // has closed, and the thread ends by itself once that run is over.
    ~ScheduleRunner();
    ScheduleRunner(const ScheduleRunner&) = delete;
    ScheduleRunner& operator=(const ScheduleRunner&) = delete;

    // Starts the thread on `commands` (one per job, in list order). Only once.
    [[nodiscard]] int Start(std::vector<std::string> commands);
    bool Started() const;
    // The thread has left its loop.
    bool Ended() const;
    int CurrentIndex() const;

    // Pauses the runner; returns `currentIndex` as it stands then.
    int Pause();
    void Resume();
    // While paused: appends a job / replaces the command of a job that has not begun.
    void Append(const std::string& command);
    void Replace(int index, const std::string& command);

private:
    // What the window and the thread share; the thread keeps it alive as long as it runs.
    struct Shared {
        RunCommand run;
        std::mutex lock;
        std::condition_variable resumed;
        std::vector<std::string> commands;  // the job table as the runner sees it
        int currentIndex = 0;
        int jobCount = 0;
        bool started = false;
        bool paused = false;
        bool ended = false;
        bool abandoned = false;  // the window has gone
    };
    static void Run(std::shared_ptr<Shared> shared);  // the runner thread
    static bool WaitWhilePaused(Shared& shared, std::unique_lock<std::mutex>& lock);

    std::shared_ptr<Shared> m_shared;
};

}  // namespace scheduler
