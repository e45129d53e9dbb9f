#include "platform/ProgramFolder.h"

#include <cstdlib>
#include <unistd.h>

#include "platform/FileUtil.h"
#include "platform/UserPlaces.h"

namespace platform {

std::string ProgramFolder() {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string path(buf, static_cast<size_t>(n));
    size_t p = path.rfind('/');
    return p == std::string::npos || p == 0 ? std::string("/") : path.substr(0, p);
}

namespace {

std::string FolderFromVariable(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v) return "";
    std::string s(v);
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

// An installed program's temporary files stay with their user: the session's own runtime
// folder, where no other user can see them or take their names.
std::string RuntimeTempFolder() {
    if (!KeepsFilesPerUser(ProgramFolder())) return "";
    const std::string runtime = UserFolders::FromEnvironment().runtimeDir;
    if (runtime.empty() || !IsDirectory(runtime)) return "";
    const std::string folder = runtime + "/sitrova";
    return IsDirectory(folder) || CreateFolderChain(folder) ? folder : "";
}

}  // namespace

std::string TempFolder() {
    std::string folder = FolderFromVariable("TEMP");
    if (folder.empty()) folder = RuntimeTempFolder();
    if (folder.empty()) folder = FolderFromVariable("TMPDIR");
    return folder.empty() ? "/tmp" : folder;
}

}  // namespace platform
