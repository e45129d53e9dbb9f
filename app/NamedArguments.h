// Sitrova's named save options on its command line: "--name=value" arguments before the job
// argument ("Sitrova --cookie-file=/home/me/cookies.txt SomeComplete,...").
#pragma once

#include <string>
#include <vector>

#include "engine/NamedOptions.h"

namespace engine {
class SaveJob;
}

namespace app {

// An argument of the form "--name=value" (the job arguments never begin with "--").
bool IsNamedArgument(const std::string& argument);

// Applies the leading named arguments of `args` to `options`. 0 when one names no option or
// gives a value it cannot take; `error` then says which (the options may be partly changed).
[[nodiscard]] int ApplyNamedArguments(const std::vector<std::string>& args, engine::NamedOptions& options,
                                      std::string* error = nullptr);

// The named options of a save started with `args`: those of the settings file, each replaced
// by the argument that names it.
engine::NamedOptions NamedOptionsForStart(const std::string& iniPath, const std::vector<std::string>& args);
// The same, given to `job`; a value of the settings file that its option cannot take is named
// in the job's log, so that the save does not go on without it unannounced.
void SetNamedOptionsForStart(engine::SaveJob& job, const std::vector<std::string>& args);

// Lines of the usage text, one per named option.
std::string NamedOptionsUsage();

}  // namespace app
