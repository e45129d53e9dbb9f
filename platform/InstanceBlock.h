// One process per record file: a small named shared-memory block, named after the file's
// name, holds the id of the process that works on it. A second process finds the block,
// asks the first to come to the front and leaves.
//
// Layout of the 8 bytes: [0..3] the owner's process id (it stands in for a window handle),
// [4..7] a counter that other processes raise to ask the owner to come to the front.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class InstanceBlock {
public:
    enum Status : int { Registered = 1, OwnedElsewhere = 2, NoBlock = 0 };

    InstanceBlock() = default;
    ~InstanceBlock();
    InstanceBlock(const InstanceBlock&) = delete;
    InstanceBlock& operator=(const InstanceBlock&) = delete;

    // Creates the block under `name` and writes our id into it. When a live process already
    // holds it, that process is asked to come to the front and OwnedElsewhere is returned.
    // A block left behind by a process that has died is taken over.
    [[nodiscard]] int CreateAndRegister(const std::string& name);

    // True once per request from another process to bring our window to the front.
    bool TakeFrontRequest();

    // Releases the block (the name becomes free again).
    void Release();

    // The id of the live process holding `name`, or 0.
    static uint32_t LookUp(const std::string& name);
    // Asks the holder of `name` to come to the front. False when nobody holds it.
    static bool RequestFront(const std::string& name);

private:
    std::string m_shmName;
    void* m_view = nullptr;
    uint32_t m_seenRequests = 0;
};

}  // namespace platform
