// A sandbox that the desktop's base directories point into, so the shell integration writes
// nowhere else. The variables are restored afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/Sandbox.h"

namespace shelltest {

// An executable shell script.
inline void WriteScript(const std::string& path, const std::string& body) {
    testsupport::Sandbox::WriteFile(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

class XdgSandbox : public ::testing::Test {
public:
    void SetUp() override {
        Set("XDG_DATA_HOME", m_box / "data");
        Set("XDG_CONFIG_HOME", m_box / "config");
        Set("XDG_DATA_DIRS", m_box / "sysdata");
        Set("XDG_CONFIG_DIRS", m_box / "sysconfig");
        Unset("XDG_CURRENT_DESKTOP");
    }
    void TearDown() override {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second)
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                ::unsetenv(it->first.c_str());
        }
    }

    void Set(const std::string& name, const std::string& value) {
        Remember(name);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    void Unset(const std::string& name) {
        Remember(name);
        ::unsetenv(name.c_str());
    }

    std::string Data(const std::string& rel) const { return m_box / ("data/" + rel); }
    std::string Config(const std::string& rel) const { return m_box / ("config/" + rel); }
    std::string SysData(const std::string& rel) const { return m_box / ("sysdata/" + rel); }

    testsupport::Sandbox m_box;

private:
    void Remember(const std::string& name) {
        const char* value = std::getenv(name.c_str());
        m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace shelltest
