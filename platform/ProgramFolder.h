// Where the running program and the temporary folder are.
#pragma once

#include <string>

namespace platform {

// Folder of the running program file, without a trailing "/". Companion files live there.
std::string ProgramFolder();

// The folder for temporary files, without trailing "/": $TEMP, else for an installed program
// (see UserPlaces.h) $XDG_RUNTIME_DIR/sitrova, else $TMPDIR, else "/tmp".
std::string TempFolder();

}  // namespace platform
