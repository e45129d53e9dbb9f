// Hand-over of a registration from a second QdxSuite process to the running one. The running
// instance holds the instance block "Sitrova Suite"; a sender writes the registration into
// the shared memory "QdX Suite - Map" (three 32-bit lengths, each string length + 1, then the
// three NUL-terminated strings: kind, first value, second value) and waits until the running
// instance has applied it. One hand-over at a time: a second sender waits for the map's name.
#pragma once

#include <cstdint>
#include <string>

#include "platform/SharedMap.h"
#include "suite/Registration.h"

namespace suite {

constexpr const char* kInstanceName = "Sitrova Suite";
constexpr const char* kHandOverName = "QdX Suite - Map";

enum HandOverResult : int { HandOverFailed = 0, HandOverDone = 1, HandOverNobody = 2 };

// Sender side: hands `registration` to the process holding `instanceName`. Waits at most
// `timeoutMs` for it to be taken; a registration that was not taken is withdrawn
// (HandOverFailed), so the caller can apply it itself without counting it twice.
[[nodiscard]] int SendHandOver(const Registration& registration, uint32_t timeoutMs = 10000,
                               const std::string& instanceName = kInstanceName,
                               const std::string& mapName = kHandOverName);

// Receiver side (the running instance, polled from its window): takes a waiting
// registration, if any. The caller applies it and then calls FinishHandOver.
class HandOverReceiver {
public:
    explicit HandOverReceiver(std::string mapName = kHandOverName);
    ~HandOverReceiver();
    HandOverReceiver(const HandOverReceiver&) = delete;
    HandOverReceiver& operator=(const HandOverReceiver&) = delete;

    // True when a registration was taken; the sender keeps waiting until FinishHandOver.
    bool Take(Registration& out);
    // Tells the sender that the registration taken last has been applied.
    void FinishHandOver();

private:
    std::string m_mapName;
    platform::SharedMap m_map;  // mapped while a taken registration is being applied
};

}  // namespace suite
