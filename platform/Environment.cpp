#include "platform/Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder() {
    std::string home = EnvironmentValue("HOME");
    if (!home.empty()) return WithoutTrailingSlash(home);
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return WithoutTrailingSlash(found->pw_dir);
    return "/";
}

bool IsExecutableByUser(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }

bool IsWritableByUser(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

}  // namespace platform
