// A fresh folder per test, removed afterwards; file-system tests work only inside it.
#pragma once

#include <string>

namespace testsupport {

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::string& Path() const { return m_path; }  // ends in "/"
    std::string operator/(const std::string& rel) const { return m_path + rel; }

    // Small helpers for test set-up and checks.
    static void WriteFile(const std::string& path, const std::string& bytes);
    static std::string ReadFile(const std::string& path);
    static bool Exists(const std::string& path);

private:
    std::string m_path;
};

}  // namespace testsupport
