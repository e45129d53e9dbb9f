#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace platform {

namespace {

void* OpenHandle(const std::string& path) {
    if (path.empty()) return nullptr;
    // A name without a folder would be searched on the library path; ours are always files.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    return ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

DynamicLibrary::DynamicLibrary(const std::string& path) : m_handle(OpenHandle(path)) {}

int DynamicLibrary::Open(const std::string& path) {
    Close();
    m_handle = OpenHandle(path);
    return m_handle ? 1 : 0;
}

void* DynamicLibrary::Symbol(const char* name) const { return m_handle ? ::dlsym(m_handle, name) : nullptr; }

void DynamicLibrary::Close() {
    if (m_handle) ::dlclose(m_handle);
    m_handle = nullptr;
}

std::string DynamicLibrary::LastError() {
    const char* text = ::dlerror();
    return text ? std::string(text) : std::string();
}

void* ProcessSymbol(const char* name) { return ::dlsym(RTLD_DEFAULT, name); }

}  // namespace platform
