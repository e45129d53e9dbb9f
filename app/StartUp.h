// Start-up and exit of the Sitrova program, apart from its windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class InstanceBlock;
}

namespace engine {
class SaveJob;
}

namespace app {

// The argument text as the program received it: the arguments after the leading named
// options ("--name=value"), joined with blanks.
std::string ArgumentLineFromArgv(int argc, char** argv);

// What start-up decided. leave: the program ends without a window (modeFlags stays 0).
struct StartDecision {
    bool leave = false;
    std::string errorMessage;  // shown in an error box titled "Sitrova" before leaving
    int exitCode = 0;          // the program's exit code when it leaves
    uint32_t windowKind = 0;
};

// Fills the job from the argument text. A ".qdx" argument is read through its record; an
// unreadable record, or one that another Sitrova process already shows, means leaving.
StartDecision DecideStart(const std::string& argumentLine, engine::SaveJob& job);

// The program's exit code for the job once its window has closed or its unattended run has
// ended (platform/ExitCodes.h). Work the user drove at a window ends with 0.
int JobExitCode(const engine::SaveJob& job);
// The line for stderr that says why the job ended with `exitCode`, for the codes whose reason
// nothing has printed yet ("" otherwise).
std::string ExitReason(const engine::SaveJob& job, int exitCode);

// Names the instance block of a record file after its full canonical path.
std::string InstanceNameOf(const std::string& qdxPath);

// The actions after the window has closed: hide the settings file, reopen the record or
// the result, and hand the job to the catalogue program. Returns the commands started,
// for the log and for tests (each as the program followed by its arguments).
std::vector<std::vector<std::string>> ExitActions(engine::SaveJob& job, bool startPrograms = true);

// The arguments with which the catalogue program registers the job (empty: none).
std::vector<std::string> CatalogueArguments(const engine::SaveJob& job);
// A finished complete save that left a .qdx record also registers the record ("QDX").
std::vector<std::string> CatalogueRecordArguments(const engine::SaveJob& job);

}  // namespace app
