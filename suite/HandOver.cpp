#include "suite/HandOver.h"

#include <atomic>
#include <chrono>
#include <cstring>

#include "platform/Clock.h"
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

std::atomic<uint32_t>* StateOf(const platform::SharedMap& map) {
    return reinterpret_cast<std::atomic<uint32_t>*>(map.View() + map.Size() - kControl);
}
std::atomic<uint32_t>* SenderOf(const platform::SharedMap& map) {
    return reinterpret_cast<std::atomic<uint32_t>*>(map.View() + map.Size() - 4);
}

// A map left by a sender that has died is removed so the name becomes free. A map too small
// to hold its control words is being set up right now, or is debris.
void ClearIfStale(const std::string& shmName) {
    platform::SharedMap map;
    if (!map.OpenExisting(shmName, kHeader + kControl, kMaxMapBytes)) return;
    if (!platform::ProcessAlive(SenderOf(map)->load())) platform::SharedMap::Unlink(shmName);
}

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
    platform::SharedMap map;
    for (int made; (made = map.Create(shmName, size)) != platform::SharedMap::MapMade;) {
        if (made != platform::SharedMap::MapNameTaken || std::chrono::steady_clock::now() > deadline)
            return HandOverFailed;
        ClearIfStale(shmName);
        platform::SleepMs(20);
    }
    char* bytes = map.View();
    size_t at = kHeader;
    for (int i = 0; i < 3; ++i) {
        const uint32_t length = static_cast<uint32_t>(strings[i].size() + 1);
        std::memcpy(bytes + 4 * i, &length, 4);
        std::memcpy(bytes + at, strings[i].c_str(), length);
        at += length;
    }
    SenderOf(map)->store(platform::CurrentProcessId());
    StateOf(map)->store(StateReady, std::memory_order_release);

    int result = HandOverFailed;
    auto state = StateOf(map);
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
        platform::SleepMs(10);
    }
    map.Unmap();
    platform::SharedMap::Unlink(shmName);
    return result;
}

HandOverReceiver::HandOverReceiver(std::string mapName) : m_mapName(std::move(mapName)) {}

HandOverReceiver::~HandOverReceiver() { FinishHandOver(); }

bool HandOverReceiver::Take(Registration& out) {
    FinishHandOver();
    if (!m_map.OpenExisting(ShmName(m_mapName), kHeader + kControl, kMaxMapBytes)) return false;
    uint32_t expected = StateReady;
    if (!StateOf(m_map)->compare_exchange_strong(expected, StateTaken)) {
        m_map.Unmap();
        return false;
    }
    // Lengths are checked against the map before any string is read.
    const char* bytes = m_map.View();
    const size_t size = m_map.Size();
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
    if (!m_map.View()) return;
    StateOf(m_map)->store(StateDone, std::memory_order_release);
    m_map.Unmap();
}

}  // namespace suite
