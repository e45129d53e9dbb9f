#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace platform {

int DynamicLibrary::Open(const std::string& path) {
    Close();
    // A name without a folder would be searched on the library path; ours are always files.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    m_handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    return m_handle ? 1 : 0;
}

void* DynamicLibrary::Symbol(const char* name) const { return m_handle ? ::dlsym(m_handle, name) : nullptr; }

void DynamicLibrary::Close() {
    if (m_handle) ::dlclose(m_handle);
    m_handle = nullptr;
}

}  // namespace platform
