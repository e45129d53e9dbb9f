// The start of QdxSuite apart from main(): a registration from the arguments (handed to the
// running instance, or written into the catalogue file), else the single window.
#pragma once

#include <string>
#include <vector>

namespace suiteqt {

// Arguments without the program name. Returns the exit code.
int RunSuite(int argc, char** argv, const std::string& programFolder);

// The registration part alone (no window, no Qt), for two or more arguments: returns the
// exit code (platform/ExitCodes.h); a refusal or failure is reported on stderr.
int RegisterFromArguments(const std::vector<std::string>& args, const std::string& programFolder);

}  // namespace suiteqt
