#include "tests/support/LoopbackServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

extern char** environ;

namespace testsupport {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr auto kStopGrace = std::chrono::seconds(2);

// Loopback traffic must never be sent to a proxy named in the environment of the machine
// that runs the tests.
void KeepLoopbackOffProxies() {
    static std::once_flag once;
    std::call_once(once, [] {
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    });
}

bool WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return static_cast<bool>(out);
}

// Reads the server's "PORT <n>" line; 0 when it does not come in time.
int ReadPortLine(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    std::string line;
    while (line.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return 0;
        pollfd pfd{fd, POLLIN, 0};
        int ready = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return 0;
        char buffer[128];
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return 0;  // the server ended before it was ready
        line.append(buffer, static_cast<size_t>(got));
    }
    int port = 0;
    if (std::sscanf(line.c_str(), "PORT %d", &port) != 1) return 0;
    return port > 0 && port < 65536 ? port : 0;
}

void StopChild(int pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopGrace;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

// Starts `python3 args...` and reads the "PORT <n>" line it prints; the port, or 0 (and no
// child left) when it does not come.
int SpawnWithPort(std::vector<std::string> args, int& pid) {
    pid = -1;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return 0;
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    pid_t child = -1;
    int spawned = posix_spawnp(&child, "python3", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return 0;
    }
    pid = child;
    const int port = ReadPortLine(fds[0]);
    ::close(fds[0]);
    if (port == 0) {
        StopChild(pid);
        pid = -1;
    }
    return port;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

LoopbackServer::LoopbackServer(const std::string& root, const std::string& rulesJson,
                               const std::string& host, const std::vector<std::string>& substitutions, bool tls)
    : m_host(host), m_tls(tls) {
    KeepLoopbackOffProxies();
    std::string dir = std::filesystem::temp_directory_path().string() + "/sitrova-server-XXXXXX";
    if (!mkdtemp(dir.data())) return;
    m_dir = dir;
    m_logPath = m_dir + "/requests.log";
    m_rulesPath = m_dir + "/rules.json";
    if (!rulesJson.empty() && !SetRules(rulesJson)) return;

    std::vector<std::string> args = {"python3",  SITROVA_TEST_SERVER, "--root", root, "--host", host,
                                     "--port",   "0",                 "--rules", m_rulesPath,
                                     "--log",    m_logPath};
    for (const std::string& item : substitutions) {
        args.push_back("--subst");
        args.push_back(item);
    }
    if (tls) args.push_back("--tls");
    m_port = SpawnWithPort(std::move(args), m_pid);
}

LoopbackServer::~LoopbackServer() {
    StopChild(m_pid);
    std::error_code ec;
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ec);
}

std::string LoopbackServer::BaseUrl() const {
    return (m_tls ? "https://" : "http://") + m_host + ":" + std::to_string(m_port);
}

std::string LoopbackServer::RequestLog() const {
    std::ifstream in(m_logPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string LoopbackServer::BodiesSent() const {
    std::ifstream in(m_logPath + ".bodies", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<double> LoopbackServer::RequestTimes() const {
    std::ifstream in(m_logPath + ".times", std::ios::binary);
    std::vector<double> times;
    std::string line;
    while (std::getline(in, line)) times.push_back(std::strtod(line.c_str(), nullptr));
    return times;
}

long long LoopbackServer::BytesSent() const {
    std::ifstream in(m_logPath + ".bytes", std::ios::binary);
    long long total = 0;
    std::string line;
    while (std::getline(in, line)) total += std::strtoll(line.c_str(), nullptr, 10);
    return total;
}

bool LoopbackServer::SetRules(const std::string& rulesJson) {
    if (m_rulesPath.empty()) return false;
    // Written beside and renamed, so the server never reads half a file.
    const std::string fresh = m_rulesPath + ".new";
    std::error_code ec;
    if (!WriteWhole(fresh, rulesJson)) return false;
    std::filesystem::rename(fresh, m_rulesPath, ec);
    return !ec;
}

LoopbackProxy::LoopbackProxy(const std::string& login) {
    std::string dir = std::filesystem::temp_directory_path().string() + "/sitrova-proxy-XXXXXX";
    if (!mkdtemp(dir.data())) return;
    m_dir = dir;
    m_logPath = m_dir + "/carried.log";
    std::string script = SITROVA_TEST_SERVER;
    script = script.substr(0, script.rfind('/') + 1) + "test_proxy.py";
    std::vector<std::string> args = {"python3", script, "--log", m_logPath};
    if (!login.empty()) {
        args.push_back("--auth");
        args.push_back(login);
    }
    m_port = SpawnWithPort(std::move(args), m_pid);
}

LoopbackProxy::~LoopbackProxy() {
    StopChild(m_pid);
    std::error_code ec;
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ec);
}

std::string LoopbackProxy::Url() const { return "http://127.0.0.1:" + std::to_string(m_port); }

std::vector<std::string> LoopbackProxy::Carried() const {
    std::vector<std::string> lines;
    const std::string text = ReadWhole(m_logPath);
    size_t from = 0;
    for (size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    return lines;
}

}  // namespace testsupport
