// What the process inherits from the user's session: environment variables, the home
// folder, and the user's rights on files.
#pragma once

#include <string>

namespace platform {

// The value of an environment variable; "" when it is not set.
std::string EnvironmentValue(const char* name);

// $HOME, else the home folder of the user's account entry, else "/"; without trailing "/".
std::string HomeFolder();

// True when the user may run the file / write to the file or folder.
bool IsExecutableByUser(const std::string& path);
bool IsWritableByUser(const std::string& path);

}  // namespace platform
