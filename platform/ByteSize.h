// Short byte-size text as the desktop shows file sizes: "532 バイト", "1.45 KB", "14.5 MB".
#pragma once

#include <cstdint>
#include <string>

namespace platform {

std::string FormatByteSize(uint64_t bytes);

}  // namespace platform
