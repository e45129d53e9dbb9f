// Whole folders: removing one with everything in it, for the trees the program made itself.
#pragma once

#include <string>

namespace platform {

// Removes `folder` and everything below it; links are removed, never followed. True when
// nothing of it is left.
[[nodiscard]] bool RemoveFolderTree(const std::string& folder);

}  // namespace platform
