// Sitrova's command line as seen before any window: the options a Linux user tries first
// (--help, --version), a start without a display and without a job, and unattended jobs
// whose fields cannot make a save.
#pragma once

#include <string>
#include <vector>

namespace app {

inline constexpr const char* kProductVersion = "6.42";

// Whether windows can be shown: a display is set, or a Qt platform was chosen.
bool CanShowWindows();

struct CommandLineVerdict {
    bool leave = false;  // the program ends at once with exitCode
    int exitCode = 0;
    std::string out;     // for stdout (UTF-8)
    std::string err;     // for stderr (UTF-8)
};

// `args` are the program's arguments; `canShowWindows` is false when there is no display
// and no Qt platform was chosen.
CommandLineVerdict CheckCommandLine(const std::vector<std::string>& args, bool canShowWindows,
                                    const std::string& version);

// Why an unattended job ("SomeComplete", "SomeSeries") cannot run, or "" when it can.
std::string UnattendedJobProblem(const std::string& argumentLine);

std::string UsageText();

}  // namespace app
