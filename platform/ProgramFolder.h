// Where the running program and the temporary folder are.
#pragma once

#include <string>

namespace platform {

// Folder of the running program file, without a trailing "/". Companion files live there.
std::string ProgramFolder();

// The folder for temporary files: $TEMP, else $TMPDIR, else "/tmp"; without trailing "/".
std::string TempFolder();

}  // namespace platform
