#include "platform/PipeProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

int PipeProcess::Start(const std::string& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& environment) {
    Stop();
    int toChild[2], fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) return 0;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return 0;
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envText(environment);
    for (char** e = environ; *e; ++e) envText.emplace_back(*e);  // ours last: the given ones win
    std::vector<char*> envp;
    for (std::string& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    if (rc != 0) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        return 0;
    }
    m_pid = pid;
    (void)::fcntl(toChild[1], F_SETFL, ::fcntl(toChild[1], F_GETFL) | O_NONBLOCK);
    m_in = toChild[1];
    m_out = fromChild[0];
    return 1;
}

int PipeProcess::Write(const std::string& data, int timeoutMs) {
    if (m_in < 0) return 0;
    // A program that died must not end ours with SIGPIPE: the signal is held back on this
    // thread during the write and taken away afterwards, so no other thread is touched.
    sigset_t pipeSignal, old;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &old);
    // The input does not block: a program that stops reading costs the writer at most
    // `timeoutMs`, never the save.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(m_in, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd fd{m_in, POLLOUT, 0};
            (void)::poll(&fd, 1, static_cast<int>(left.count()));
            continue;
        }
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    if (done < data.size()) {
        const timespec none{0, 0};
        while (::sigtimedwait(&pipeSignal, nullptr, &none) == SIGPIPE) {
        }
    }
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return done == data.size() ? 1 : 0;
}

int PipeProcess::ReadSome(std::string& buffer, int timeoutMs) {
    if (m_out < 0) return -1;
    pollfd fd{m_out, POLLIN, 0};
    int ready;
    do ready = ::poll(&fd, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (ready == 0) return 0;
    if (ready < 0) return -1;
    char chunk[65536];
    ssize_t n;
    do n = ::read(m_out, chunk, sizeof chunk);
    while (n < 0 && errno == EINTR);
    if (n <= 0) return -1;
    buffer.append(chunk, static_cast<size_t>(n));
    return 1;
}

void PipeProcess::Stop() {
    CloseFd(m_in);
    CloseFd(m_out);
    if (m_pid <= 0) return;
    // Its input closed, the program ends by itself; one that hangs is killed.
    int status = 0;
    for (int i = 0; i < 20; ++i) {
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(m_pid, SIGKILL);
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

}  // namespace platform
