// Loading a shared library by its path for the length of one use, and finding its exports.
#pragma once

#include <string>

namespace platform {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    explicit DynamicLibrary(const std::string& path) { (void)Open(path); }
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

private:
    void* m_handle = nullptr;
};

}  // namespace platform
