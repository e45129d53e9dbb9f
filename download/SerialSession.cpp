#include "download/SerialSession.h"

#include <chrono>

#include "download/FileDownloader.h"

namespace download {

SerialSession::SerialSession(Plan plan) : m_plan(std::move(plan)) {}

SerialSession::~SerialSession() { m_worker.StopAndWait(); }

void SerialSession::Start() {
    if (m_started) return;
    m_started = true;
    m_worker.Start([this](std::stop_token stop) {
        if (m_plan) m_plan(*this, stop);
        // A plan that returns without an outcome was stopped.
        Update([](SessionJob& job) {
            job.ended = true;
            job.question = 0;
        });
    });
}

void SerialSession::Stop() { m_worker.Stop(); }

void SerialSession::Wait() { m_worker.Wait(); }

SessionJob SerialSession::Take() {
    std::lock_guard lock(m_lock);
    SessionJob copy = m_job;
    m_job.lines.clear();
    return copy;
}

void SerialSession::Answer(int answer) {
    {
        std::lock_guard lock(m_lock);
        if (!m_job.question) return;
        m_answer = answer;
        // Answered: the window's next look must not ask again while the run wakes up.
        m_job.question = 0;
    }
    {
        std::lock_guard lock(m_waitLock);
    }
    m_wake.notify_all();
}

void SerialSession::Update(const std::function<void(SessionJob& job)>& change) {
    std::lock_guard lock(m_lock);
    change(m_job);
}

void SerialSession::AddLine(const std::string& line) {
    std::lock_guard lock(m_lock);
    m_job.lines.push_back(line);
}

int SerialSession::Ask(int question, std::stop_token stop) {
    {
        std::lock_guard lock(m_lock);
        m_answer = 0;
        m_job.question = question;
    }
    {
        std::unique_lock wait(m_waitLock);
        m_wake.wait(wait, stop, [this] {
            std::lock_guard lock(m_lock);
            return m_answer != 0;
        });
    }
    std::lock_guard lock(m_lock);
    m_job.question = 0;
    return m_answer;
}

bool SerialSession::PauseFor(int ms, std::stop_token stop) {
    std::unique_lock wait(m_waitLock);
    return !m_wake.wait_for(wait, stop, std::chrono::milliseconds(ms), [] { return false; });
}

int SerialSession::Fetch(FileDownloader& downloader, CodeHandler onCode, std::stop_token stop) {
    bool over = false;  // guarded by m_waitLock
    const int started = downloader.Start([&](int code, int64_t value) {
        if (code != CodeFinished && code != CodeFailed) {
            if (onCode) onCode(code, value);
            return;
        }
        {
            std::lock_guard lock(m_waitLock);
            over = true;
        }
        m_wake.notify_all();
    });
    if (!started) return DownloadNotFound;
    {
        std::unique_lock wait(m_waitLock);
        m_wake.wait(wait, stop, [&over] { return over; });
    }
    // The downloader's thread uses `over` and `onCode` until it has ended.
    downloader.Stop();
    return stop.stop_requested() ? DownloadNotFound : downloader.Result();
}

void SerialSession::End(int outcome, const std::string& reason, const std::string& shownReason) {
    std::lock_guard lock(m_lock);
    m_job.outcome = outcome;
    m_job.reason = reason;
    m_job.shownReason = shownReason;
    m_job.ended = true;
}

}  // namespace download
