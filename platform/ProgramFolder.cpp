#include "platform/ProgramFolder.h"

#include <cstdlib>
#include <unistd.h>

namespace platform {

std::string ProgramFolder() {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string path(buf, static_cast<size_t>(n));
    size_t p = path.rfind('/');
    return p == std::string::npos || p == 0 ? std::string("/") : path.substr(0, p);
}

std::string TempFolder() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const char* v = std::getenv(name);
        if (v && *v) {
            std::string s(v);
            while (s.size() > 1 && s.back() == '/') s.pop_back();
            return s;
        }
    }
    return "/tmp";
}

}  // namespace platform
