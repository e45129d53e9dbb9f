// The entries of a folder, for the sweeps and searches that walk one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct FolderEntry {
    std::string name;         // without the folder
    bool isLink = false;      // a symbolic link (the two below then describe its target)
    bool isFile = false;      // a regular file
    bool isFolder = false;
    int64_t writeTimeNs = 0;  // last modification, nanoseconds since the epoch
};

// The entries of `folder` except "." and "..", in no particular order; empty when it cannot
// be read.
std::vector<FolderEntry> ListFolder(const std::string& folder);

}  // namespace platform
