// The client settings of fetches outside a save, for programs that do not run one: the
// [WebOptions] defaults of the settings file.
#pragma once

#include <string>

namespace records {

// Makes the [WebOptions] of `iniPath` the settings of every HTTP session made without
// settings of its own. Called once at start, before any fetch begins.
void UseWebDefaults(const std::string& iniPath);

}  // namespace records
