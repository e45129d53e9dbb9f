#include "platform/ByteSize.h"

#include <cstdio>

namespace platform {

std::string FormatByteSize(uint64_t bytes) {
    char buf[64];
    if (bytes < 1024) {
        std::snprintf(buf, sizeof buf, "%llu バイト", static_cast<unsigned long long>(bytes));
        return buf;
    }
    static const char* const units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    // Three significant digits, truncated rather than rounded, like the shell's own form.
    uint64_t scaled100 = 0;
    int unit = 0;
    unsigned __int128 value = bytes;
    unsigned __int128 divisor = 1024;
    while (unit < 5 && value / divisor >= 1024) {
        divisor *= 1024;
        ++unit;
    }
    scaled100 = static_cast<uint64_t>(value * 100 / divisor);
    uint64_t whole = scaled100 / 100;
    uint64_t frac = scaled100 % 100;
    if (whole >= 100)
        std::snprintf(buf, sizeof buf, "%llu %s", static_cast<unsigned long long>(whole), units[unit]);
    else if (whole >= 10)
        std::snprintf(buf, sizeof buf, "%llu.%llu %s", static_cast<unsigned long long>(whole),
                      static_cast<unsigned long long>(frac / 10), units[unit]);
    else
        std::snprintf(buf, sizeof buf, "%llu.%02llu %s", static_cast<unsigned long long>(whole),
                      static_cast<unsigned long long>(frac), units[unit]);
    return buf;
}

}  // namespace platform
