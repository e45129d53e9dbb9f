// Optional libraries bound at run time by file name: opened for one use and closed again,
// so that a missing library only switches a feature off.
#pragma once

#include <string>

namespace platform {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    // Opens `path` at once; Loaded() tells whether it worked.
    explicit DynamicLibrary(const std::string& path);
    ~DynamicLibrary() { Close(); }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // 1 when the library is loaded; 0 when it is no library or cannot be loaded.
    [[nodiscard]] int Open(const std::string& path);
    bool Loaded() const { return m_handle != nullptr; }
    // The address of an export, or null.
    void* Symbol(const char* name) const;
    template <typename F>
    F Function(const char* name) const {
        return reinterpret_cast<F>(Symbol(name));
    }
    void Close();
    // The library stays in the process until it ends; closing it is no longer this object's
    // business (a toolkit with threads and exit handlers of its own cannot be unloaded safely).
    void KeepLoaded() { m_handle = nullptr; }
    // Why the last Open failed, as the system's loader said it ("" when it did not say).
    static std::string LastError();

private:
    void* m_handle = nullptr;
};

// A symbol already present in the running process (its program or a library it loaded).
void* ProcessSymbol(const char* name);

}  // namespace platform
