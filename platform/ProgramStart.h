// What a program of the suite does before any window: --help and --version, and a start
// without a display that asks for nothing that can run unattended. Such a start would open
// a window nobody sees and never end, so it prints the usage and leaves instead.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Whether windows can be shown: a display is set, or a window platform was chosen.
bool CanShowWindows();

struct StartVerdict {
    bool leave = false;  // the program ends at once with exitCode
    int exitCode = 0;
    std::string out;     // for stdout (UTF-8)
    std::string err;     // for stderr (UTF-8)
};

struct ProgramInfo {
    std::string name;     // "AlbumFetcher"
    std::string version;  // "1.00"
    std::string usage;    // the lines of the usage, without the exit-code table
};

// `args` without the program name; `unattended`: the arguments ask for work that needs no
// one at the window.
StartVerdict CheckProgramStart(const std::vector<std::string>& args, const ProgramInfo& program, bool unattended,
                               bool canShowWindows);

// Writes the verdict's texts (converted for the terminal) to stdout and stderr.
void PrintVerdict(const StartVerdict& verdict);

}  // namespace platform
