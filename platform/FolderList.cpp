#include "platform/FolderList.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return entries;
    const int dirFd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        FolderEntry entry;
        entry.name = e->d_name;
        if (entry.name == "." || entry.name == "..") continue;
        struct stat st {};
        if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
            entry.isLink = true;
            if (::fstatat(dirFd, e->d_name, &st, 0) != 0) st = {};  // a link to nothing
        }
        entry.isFile = S_ISREG(st.st_mode);
        entry.isFolder = S_ISDIR(st.st_mode);
        entry.writeTimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return entries;
}

}  // namespace platform
