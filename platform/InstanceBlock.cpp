#include "platform/InstanceBlock.h"

#include <cstdio>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr size_t kBlockSize = 8;

// Shared-memory names may not contain "/" and are limited in length. Names are full paths,
// so the name is kept as its last part (for people looking at /dev/shm) and a hash of the
// whole: "/a/b_c" and "/a_b/c", or two long paths alike in their first 240 bytes, stay apart.
std::string ShmName(const std::string& name) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
    std::string tail = name.substr(name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1);
    if (tail.size() > 200) tail.resize(200);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return "/sitrova." + tail + "." + hex;
}

std::atomic<uint32_t>* Field(void* view, int index) {
    return reinterpret_cast<std::atomic<uint32_t>*>(static_cast<char*>(view) + 4 * index);
}

bool Alive(uint32_t pid) {
    return pid != 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

void* MapExisting(const std::string& shmName, int& fd) {
    fd = ::shm_open(shmName.c_str(), O_RDWR, 0600);
    if (fd < 0) return nullptr;
    void* view = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : view;
}

}  // namespace

InstanceBlock::~InstanceBlock() { Release(); }

int InstanceBlock::CreateAndRegister(const std::string& name) {
    Release();
    const std::string shmName = ShmName(name);
    const uint32_t self = static_cast<uint32_t>(::getpid());
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::shm_open(shmName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
            if (::ftruncate(fd, kBlockSize) != 0) {
                ::close(fd);
                ::shm_unlink(shmName.c_str());
                return NoBlock;
            }
            void* view = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            ::close(fd);
            if (view == MAP_FAILED) {
                ::shm_unlink(shmName.c_str());
                return NoBlock;
            }
            Field(view, 0)->store(self);
            Field(view, 1)->store(0);
            m_view = view;
            m_shmName = shmName;
            m_seenRequests = 0;
            return Registered;
        }
        if (errno != EEXIST) return NoBlock;
        // The name is taken: hand over to a live holder, or clear a stale block.
        int existingFd = -1;
        void* view = MapExisting(shmName, existingFd);
        if (existingFd >= 0) ::close(existingFd);
        if (view) {
            uint32_t owner = Field(view, 0)->load();
            if (owner != 0 && owner != self && Alive(owner)) {
                Field(view, 1)->fetch_add(1);
                ::munmap(view, kBlockSize);
                return OwnedElsewhere;
            }
            ::munmap(view, kBlockSize);
        }
        ::shm_unlink(shmName.c_str());
    }
    return NoBlock;
}

bool InstanceBlock::TakeFrontRequest() {
    if (!m_view) return false;
    uint32_t now = Field(m_view, 1)->load();
    if (now == m_seenRequests) return false;
    m_seenRequests = now;
    return true;
}

void InstanceBlock::Release() {
    if (!m_view) return;
    ::munmap(m_view, kBlockSize);
    ::shm_unlink(m_shmName.c_str());
    m_view = nullptr;
    m_shmName.clear();
}

uint32_t InstanceBlock::LookUp(const std::string& name) {
    int fd = -1;
    void* view = MapExisting(ShmName(name), fd);
    if (fd >= 0) ::close(fd);
    if (!view) return 0;
    uint32_t owner = Field(view, 0)->load();
    ::munmap(view, kBlockSize);
    return Alive(owner) ? owner : 0;
}

bool InstanceBlock::RequestFront(const std::string& name) {
    int fd = -1;
    void* view = MapExisting(ShmName(name), fd);
    if (fd >= 0) ::close(fd);
    if (!view) return false;
    bool alive = Alive(Field(view, 0)->load());
    if (alive) Field(view, 1)->fetch_add(1);
    ::munmap(view, kBlockSize);
    return alive;
}

}  // namespace platform
