#include "scheduler/ScheduleRunner.h"

namespace scheduler {

ScheduleRunner::ScheduleRunner(RunCommand run) : m_shared(std::make_shared<Shared>()) {
    m_shared->run = std::move(run);
}

ScheduleRunner::~ScheduleRunner() {
    {
        std::lock_guard<std::mutex> guard(m_shared->lock);
        m_shared->abandoned = true;
        m_shared->paused = false;
    }
    m_shared->resumed.notify_all();
}

int ScheduleRunner::Start(std::vector<std::string> commands) {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    if (m_shared->started || commands.empty()) return 0;
    m_shared->commands = std::move(commands);
    m_shared->jobCount = static_cast<int>(m_shared->commands.size());
    m_shared->currentIndex = 0;
    m_shared->started = true;
    std::thread(&ScheduleRunner::Run, m_shared).detach();
    return 1;
}

bool ScheduleRunner::Started() const {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    return m_shared->started;
}

bool ScheduleRunner::Ended() const {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    return m_shared->ended;
}

int ScheduleRunner::CurrentIndex() const {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    return m_shared->currentIndex;
}

int ScheduleRunner::Pause() {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    m_shared->paused = true;
    return m_shared->currentIndex;
}

void ScheduleRunner::Resume() {
    {
        std::lock_guard<std::mutex> guard(m_shared->lock);
        m_shared->paused = false;
    }
    m_shared->resumed.notify_all();
}

void ScheduleRunner::Append(const std::string& command) {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    m_shared->commands.push_back(command);
    m_shared->jobCount = static_cast<int>(m_shared->commands.size());
}

void ScheduleRunner::Replace(int index, const std::string& command) {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    // The job being run, or one already run, keeps the command it was started with.
    if (index > m_shared->currentIndex && index < m_shared->jobCount)
        m_shared->commands[static_cast<size_t>(index)] = command;
}

bool ScheduleRunner::WaitWhilePaused(Shared& shared, std::unique_lock<std::mutex>& lock) {
    shared.resumed.wait(lock, [&shared] { return !shared.paused; });
    return !shared.abandoned;
}

void ScheduleRunner::Run(std::shared_ptr<Shared> shared) {
    for (;;) {
        std::string command;
        {
            std::unique_lock<std::mutex> lock(shared->lock);
            if (!WaitWhilePaused(*shared, lock)) break;
            command = shared->commands[static_cast<size_t>(shared->currentIndex)];
        }
        shared->run(command);  // never under the lock: a save may run for hours
        std::unique_lock<std::mutex> lock(shared->lock);
        if (!WaitWhilePaused(*shared, lock)) break;
        const int position = shared->currentIndex;
        shared->currentIndex = position + 1;
        if (position + 1 >= shared->jobCount) break;
    }
    std::lock_guard<std::mutex> guard(shared->lock);
    shared->ended = true;
}

}  // namespace scheduler
