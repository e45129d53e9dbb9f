#include "platform/PrivateTempFolder.h"

#include <stdlib.h>

#include <filesystem>

#include "platform/ProgramFolder.h"

namespace platform {

PrivateTempFolder::PrivateTempFolder(std::string_view prefix) {
    std::string pattern = TempFolder() + "/" + std::string(prefix) + "XXXXXX";
    // mkdtemp makes the folder with mode 0700.
    if (::mkdtemp(pattern.data())) m_path = pattern + "/";
}

PrivateTempFolder::~PrivateTempFolder() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

}  // namespace platform
