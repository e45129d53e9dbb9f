// Trace lines for developers ("NewSite Download - CompCopyDlFormatManager()" and the like).
// They go to stderr when the environment variable SITROVA_DEBUG is set, else nowhere.
#pragma once

#include <string_view>

namespace platform {

void DebugOutput(std::string_view text);

}  // namespace platform
