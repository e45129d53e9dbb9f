// Shared helpers of the fuzz targets: a private scratch folder on a RAM disk when there is
// one (the record writers flush every file), made once per process.
#pragma once

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fuzzsupport {

inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/sitrova-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        if (!made) std::abort();
        return std::string(made) + "/";
    }();
    return folder;
}

}  // namespace fuzzsupport
