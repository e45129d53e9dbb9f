// Copies that need not survive a power loss: an earlier version kept beside a copy that is
// itself written without waiting for the disk.
#pragma once

#include <string>

namespace platform {

// Copies `from` to `to` through to + "Temp" (a failure part-way leaves no half file at `to`),
// in pieces, without flushing to the disk first. False when it could not.
[[nodiscard]] bool CopyFileQuick(const std::string& from, const std::string& to);

}  // namespace platform
