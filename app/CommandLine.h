// Sitrova's command line as seen before any window: the options a Linux user tries first
// (--help, --version), a start without a display and without a job, and unattended jobs
// whose fields cannot make a save.
#pragma once

#include <string>
#include <vector>

#include "platform/ProgramStart.h"
#include "platform/Version.h"

namespace app {

inline constexpr const char* kProductVersion = platform::kSuiteVersion;

// `args` are the program's arguments; `canShowWindows` is false when there is no display
// and no Qt platform was chosen.
platform::StartVerdict CheckCommandLine(const std::vector<std::string>& args, bool canShowWindows,
                                        const std::string& version);

// Why an unattended job ("SomeComplete", "SomeSeries") cannot run, or "" when it can.
std::string UnattendedJobProblem(const std::string& argumentLine);

std::string UsageText();

}  // namespace app
