#include "platform/DebugOut.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void DebugOutput(std::string_view text) {
    static const bool enabled = std::getenv("SITROVA_DEBUG") != nullptr;
    if (!enabled) return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace platform
