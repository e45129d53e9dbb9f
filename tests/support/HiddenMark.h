// Whether the file system under a folder keeps the hidden mark (an extended attribute in the
// user namespace); tests of the mark skip only where it cannot be kept.
#pragma once

#include <sys/xattr.h>
#include <unistd.h>

#include <string>

#include "tests/support/Sandbox.h"

namespace testsupport {

inline bool FolderKeepsHiddenMark(const std::string& folder) {
    const std::string probe = folder + "/.mark-probe";
    Sandbox::WriteFile(probe, "");
    const bool kept = ::setxattr(probe.c_str(), "user.sitrova-probe", "1", 1, 0) == 0;
    ::unlink(probe.c_str());
    return kept;
}

}  // namespace testsupport
