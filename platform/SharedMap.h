// A block of shared memory that processes of ours find by name, and the process ids that say
// who wrote into one. The layout of a block is its user's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class SharedMap {
public:
    enum Result : int { MapFailed = 0, MapMade = 1, MapNameTaken = 2 };

    SharedMap() = default;
    ~SharedMap();  // unmaps; the name stays until Unlink
    SharedMap(const SharedMap&) = delete;
    SharedMap& operator=(const SharedMap&) = delete;

    // Creates a block of `size` zero bytes under `name` (a name of the system's shared-memory
    // space, "/" first), unless the name is taken.
    [[nodiscard]] int Create(const std::string& name, size_t size);
    // Maps an existing block whose size lies within [minSize, maxSize]. False when there is
    // none, or its size is outside (a block being set up, or debris).
    [[nodiscard]] bool OpenExisting(const std::string& name, size_t minSize, size_t maxSize);
    void Unmap();
    char* View() const { return static_cast<char*>(m_view); }
    size_t Size() const { return m_size; }

    // Removes the name; mapped views stay usable until they are unmapped.
    static void Unlink(const std::string& name);

private:
    void* m_view = nullptr;
    size_t m_size = 0;
};

uint32_t CurrentProcessId();
// Whether a process with this id runs (0 is nobody).
bool ProcessAlive(uint32_t pid);

}  // namespace platform
