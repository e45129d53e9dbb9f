#include "platform/SharedMap.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

SharedMap::~SharedMap() { Unmap(); }

int SharedMap::Create(const std::string& name, size_t size) {
    Unmap();
    const int fd = ::shm_open(name.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    if (fd < 0) return errno == EEXIST ? MapNameTaken : MapFailed;
    void* view = MAP_FAILED;
    if (::ftruncate(fd, static_cast<off_t>(size)) == 0)
        view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (view == MAP_FAILED) {
        ::shm_unlink(name.c_str());
        return MapFailed;
    }
    m_view = view;
    m_size = size;
    return MapMade;
}

bool SharedMap::OpenExisting(const std::string& name, size_t minSize, size_t maxSize) {
    Unmap();
    const int fd = ::shm_open(name.c_str(), O_RDWR, 0600);
    if (fd < 0) return false;
    struct stat st {};
    void* view = MAP_FAILED;
    size_t size = 0;
    if (::fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(minSize) && st.st_size <= static_cast<off_t>(maxSize)) {
        size = static_cast<size_t>(st.st_size);
        view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    ::close(fd);
    if (view == MAP_FAILED) return false;
    m_view = view;
    m_size = size;
    return true;
}

void SharedMap::Unmap() {
    if (m_view) ::munmap(m_view, m_size);
    m_view = nullptr;
    m_size = 0;
}

void SharedMap::Unlink(const std::string& name) { ::shm_unlink(name.c_str()); }

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

bool ProcessAlive(uint32_t pid) { return pid != 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

}  // namespace platform
