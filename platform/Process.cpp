#include "platform/Process.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

int Spawn(const std::string& program, const std::vector<std::string>& args, pid_t& pid) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // The child starts its own process group so that it outlives a closing parent quietly.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    int rc = posix_spawnp(&pid, program.c_str(), nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    return rc == 0 ? ProcessStarted : ProcessFailed;
}

}  // namespace

int StartProcess(const std::string& program, const std::vector<std::string>& args, bool wait, int* exitCode) {
    pid_t pid = -1;
    if (Spawn(program, args, pid) != ProcessStarted) return ProcessFailed;
    if (!wait) return ProcessStarted;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return ProcessFailed;
    }
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ProcessStarted;
}

int ShellOpen(const std::string& target) {
    // A double fork keeps the opener from becoming a zombie of a long-running window.
    pid_t pid = ::fork();
    if (pid < 0) return ProcessFailed;
    if (pid == 0) {
        ::setsid();
        pid_t inner = ::fork();
        if (inner == 0) {
            ::execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::_exit(inner < 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ProcessStarted : ProcessFailed;
}

}  // namespace platform
