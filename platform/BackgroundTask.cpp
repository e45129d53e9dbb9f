#include "platform/BackgroundTask.h"

namespace platform {

BackgroundTask::~BackgroundTask() { StopAndWait(); }

void BackgroundTask::Start(Work work) {
    StopAndWait();
    m_running.store(true, std::memory_order_release);
    m_thread = std::jthread([this, work = std::move(work)](std::stop_token stop) {
        work(stop);
        m_running.store(false, std::memory_order_release);
    });
}

void BackgroundTask::Stop() {
    if (m_thread.joinable()) m_thread.request_stop();
}

void BackgroundTask::Wait() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

void BackgroundTask::StopAndWait() {
    Stop();
    Wait();
}

}  // namespace platform
