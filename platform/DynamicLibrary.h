// Optional libraries bound at run time by file name: opened for one use and closed again,
// so that a missing library only switches a feature off.
#pragma once

#include <string>

namespace platform {

class DynamicLibrary {
public:
    // Opens `path` (a full path, or a bare name searched the system's way). Loaded() tells.
    explicit DynamicLibrary(const std::string& path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool Loaded() const { return m_handle != nullptr; }
    // The address of an exported symbol, or nullptr.
    void* Symbol(const char* name) const;
    template <typename Fn>
    Fn Function(const char* name) const {
        return reinterpret_cast<Fn>(Symbol(name));
    }

private:
    void* m_handle = nullptr;
};

// A symbol already present in the running process (its program or a library it loaded).
void* ProcessSymbol(const char* name);

}  // namespace platform
