#include "platform/FolderTree.h"

#include <filesystem>

namespace platform {

bool RemoveFolderTree(const std::string& folder) {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return !ec && !std::filesystem::exists(std::filesystem::symlink_status(folder, ec));
}

}  // namespace platform
