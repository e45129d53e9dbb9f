// A run of downloads one after another on a worker thread of its own: the serial files of a
// single file save, the photos of an album. What the run does comes from its plan; the
// session gives the plan the downloader, the pauses and the questions, and keeps what a
// window shows in one job record behind one lock. Windows poll that record with a timer and
// never wait on the network themselves.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

#include "platform/BackgroundTask.h"

namespace download {

class FileDownloader;

// One row of a window's three-column list.
using SessionRow = std::array<std::string, 3>;

// What a run has to show. The plan decides what its numbers mean.
struct SessionJob {
    std::vector<std::string> lines;  // log lines the window has not taken yet
    std::vector<SessionRow> rows;
    int fileBar = 0;   // percent of the file under way
    int totalBar = 0;  // percent of the whole run
    std::string fileCounter;
    std::string totalCounter;
    int stage = 0;
    int total = 0;  // files the run knows it has to fetch
    int question = 0;  // not 0: the run waits for Answer()
    int savedCount = 0;
    std::string lastSaved;  // full path of the last file kept
    bool ended = false;
    int outcome = 0;
    std::string reason;       // for logs and records: the suite's Japanese
    std::string shownReason;  // the same in the user's language, for windows
};

class SerialSession {
public:
    // The run itself; runs on the session's worker thread and returns when the run is over.
    using Plan = std::function<void(SerialSession& session, std::stop_token stop)>;
    // Runs on a downloader's worker thread for every code before its last.
    using CodeHandler = std::function<void(int code, int64_t value)>;

    explicit SerialSession(Plan plan);
    // Stops the run and waits for it.
    ~SerialSession();
    SerialSession(const SerialSession&) = delete;
    SerialSession& operator=(const SerialSession&) = delete;

    void Start();
    // Asks the run to stop at once (a transfer or a probe under way is given up); does not wait.
    void Stop();
    void Wait();

    // The window's poll: a copy of the job; the new log lines move into the copy.
    SessionJob Take();
    // The user's answer to the job's question.
    void Answer(int answer);

    // For plans, on the worker thread.
    // Changes the job under its lock: no I/O and no callbacks inside `change`.
    void Update(const std::function<void(SessionJob& job)>& change);
    void AddLine(const std::string& line);
    // Puts `question` in the job and waits for the answer; 0 when the run is stopped first.
    int Ask(int question, std::stop_token stop);
    // False when the run was stopped during the pause.
    bool PauseFor(int ms, std::stop_token stop);
    // Runs `downloader` to its end and returns its result; DownloadNotFound when the run is
    // stopped first. The last code (finished or failed) is not handed to `onCode`.
    int Fetch(FileDownloader& downloader, CodeHandler onCode, std::stop_token stop);
    // Marks the run over with the plan's outcome; `shownReason` is `reason` in the user's language.
    void End(int outcome, const std::string& reason = {}, const std::string& shownReason = {});

private:
    Plan m_plan;
    mutable std::mutex m_lock;  // guards m_job and m_answer
    SessionJob m_job;
    int m_answer = 0;
    std::mutex m_waitLock;
    std::condition_variable_any m_wake;
    bool m_started = false;
    platform::BackgroundTask m_worker;
};

}  // namespace download
