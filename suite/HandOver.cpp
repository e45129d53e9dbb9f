#include "suite/HandOver.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/InstanceBlock.h"

namespace suite {

namespace {

// The map: three lengths and three strings, then (8-aligned, at the end) a state word and
// the sender's process id.
enum State : uint32_t { StateWriting = 0, StateReady = 1, StateTaken = 2, StateDone = 3, StateWithdrawn = 4 };
constexpr size_t kHeader = 12;
constexpr size_t kControl = 8;
constexpr size_t kMaxMapBytes = 1u << 20;

std::string ShmName(const std::string& name) {
    std::string out = "/sitrova.";
    for (char c : name) out += (c == '/') ? '_' : c;
    return out;
}

std::atomic<uint32_t>* StateOf(void* view, size_t size) {
    return reinterpret_cast<std::atomic<uint32_t>*>(static_cast<char*>(view) + size - kControl);
}
std::atomic<uint32_t>* SenderOf(void* view, size_t size) {
    return reinterpret_cast<std::atomic<uint32_t>*>(static_cast<char*>(view) + size - 4);
}

bool Alive(uint32_t pid) { return pid != 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

void* MapFd(int fd, size_t& size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(kHeader + kControl) ||
        st.st_size > static_cast<off_t>(kMaxMapBytes))
        return nullptr;
    size = static_cast<size_t>(st.st_size);
    void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : view;
}

// A map left by a sender that has died is removed so the name becomes free.
void ClearIfStale(const std::string& shmName) {
    int fd = ::shm_open(shmName.c_str(), O_RDWR, 0600);
    if (fd < 0) return;
    size_t size = 0;
    void* view = MapFd(fd, size);
    ::close(fd);
    // A map too small to hold its control words is being set up right now, or is debris.
    if (!view) return;
    if (!Alive(SenderOf(view, size)->load())) ::shm_unlink(shmName.c_str());
    ::munmap(view, size);
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

int SendHandOver(const Registration& registration, uint32_t timeoutMs, const std::string& instanceName,
                 const std::string& mapName) {
    if (platform::InstanceBlock::LookUp(instanceName) == 0) return HandOverNobody;
    const std::string strings[3] = {registration.kind, registration.first, registration.second};
    size_t body = kHeader;
    for (const std::string& s : strings) body += s.size() + 1;
    const size_t size = ((body + 7) & ~size_t(7)) + kControl;
    if (size > kMaxMapBytes) return HandOverFailed;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const std::string shmName = ShmName(mapName);
    int fd = -1;
    while ((fd = ::shm_open(shmName.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600)) < 0) {
        if (errno != EEXIST || std::chrono::steady_clock::now() > deadline) return HandOverFailed;
        ClearIfStale(shmName);
        Sleep(20);
    }
    void* view = nullptr;
    if (::ftruncate(fd, static_cast<off_t>(size)) == 0)
        view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (!view || view == MAP_FAILED) {
        ::shm_unlink(shmName.c_str());
        return HandOverFailed;
    }
    char* bytes = static_cast<char*>(view);
    size_t at = kHeader;
    for (int i = 0; i < 3; ++i) {
        const uint32_t length = static_cast<uint32_t>(strings[i].size() + 1);
        std::memcpy(bytes + 4 * i, &length, 4);
        std::memcpy(bytes + at, strings[i].c_str(), length);
        at += length;
    }
    SenderOf(view, size)->store(static_cast<uint32_t>(::getpid()));
    StateOf(view, size)->store(StateReady, std::memory_order_release);

    int result = HandOverFailed;
    auto state = StateOf(view, size);
    for (;;) {
        const uint32_t now = state->load(std::memory_order_acquire);
        if (now == StateDone) {
            result = HandOverDone;
            break;
        }
        const bool late = std::chrono::steady_clock::now() > deadline;
        const bool receiverGone = platform::InstanceBlock::LookUp(instanceName) == 0;
        if (now == StateReady && (late || receiverGone)) {
            uint32_t expected = StateReady;
            if (state->compare_exchange_strong(expected, StateWithdrawn)) break;
            continue;
        }
        // Taken but not yet finished: the receiver applies it; wait for it unless it died.
        if (now == StateTaken && receiverGone) {
            result = HandOverDone;
            break;
        }
        Sleep(10);
    }
    ::munmap(view, size);
    ::shm_unlink(shmName.c_str());
    return result;
}

HandOverReceiver::HandOverReceiver(std::string mapName) : m_mapName(std::move(mapName)) {}

HandOverReceiver::~HandOverReceiver() { FinishHandOver(); }

bool HandOverReceiver::Take(Registration& out) {
    FinishHandOver();
    int fd = ::shm_open(ShmName(m_mapName).c_str(), O_RDWR, 0600);
    if (fd < 0) return false;
    size_t size = 0;
    void* view = MapFd(fd, size);
    ::close(fd);
    if (!view) return false;
    uint32_t expected = StateReady;
    if (!StateOf(view, size)->compare_exchange_strong(expected, StateTaken)) {
        ::munmap(view, size);
        return false;
    }
    m_view = view;
    m_size = size;
    // Lengths are checked against the map before any string is read.
    const char* bytes = static_cast<const char*>(view);
    std::string strings[3];
    size_t at = kHeader;
    for (int i = 0; i < 3; ++i) {
        uint32_t length = 0;
        std::memcpy(&length, bytes + 4 * i, 4);
        if (length == 0 || length > size - kControl - at || bytes[at + length - 1] != '\0') {
            FinishHandOver();
            return false;
        }
        strings[i].assign(bytes + at, length - 1);
        at += length;
    }
    out = {strings[0], strings[1], strings[2]};
    return true;
}

void HandOverReceiver::FinishHandOver() {
    if (!m_view) return;
    StateOf(m_view, m_size)->store(StateDone, std::memory_order_release);
    ::munmap(m_view, m_size);
    m_view = nullptr;
    m_size = 0;
}

}  // namespace suite
