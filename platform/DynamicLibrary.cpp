#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace platform {

DynamicLibrary::DynamicLibrary(const std::string& path) {
    if (!path.empty()) m_handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

DynamicLibrary::~DynamicLibrary() {
    if (m_handle) ::dlclose(m_handle);
}

void* DynamicLibrary::Symbol(const char* name) const { return m_handle ? ::dlsym(m_handle, name) : nullptr; }

void* ProcessSymbol(const char* name) { return ::dlsym(RTLD_DEFAULT, name); }

}  // namespace platform
