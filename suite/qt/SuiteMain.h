// The start of QdxSuite apart from main(): a registration from the arguments (handed to the
// running instance, or written into the catalogue file), else the single window.
#pragma once

#include <string>
#include <vector>

namespace suiteqt {

// Arguments without the program name. Returns the exit code.
int RunSuite(int argc, char** argv, const std::string& programFolder);

// The registration part alone (no window, no Qt): returns 0 when the arguments are no
// registration, else 1 (done or reported on stderr).
int RegisterFromArguments(const std::vector<std::string>& args, const std::string& programFolder);

}  // namespace suiteqt
