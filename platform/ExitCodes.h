// The exit codes of every program of the suite. A script, a cron job or the batch reads the
// code to learn how the work went; the reason is written on stderr. One table for all the
// programs, so that a code means the same whichever of them ends with it.
#pragma once

#include <string>

namespace platform {

enum ExitCode : int {
    ExitDone = 0,         // the job did what it was asked
    ExitPartly = 1,       // the job ran to its end, but some files failed or the run was stopped
    ExitRefused = 2,      // bad arguments or a job that cannot run (nothing to do without a display)
    ExitNetwork = 3,      // the start page, file or album could not be fetched: nothing was saved
    ExitDisk = 4,         // the target cannot be written
    ExitBusy = 5,         // another save holds the target
    ExitMissingPart = 6,  // a program, library or file of the suite is missing or could not be started
};

// Several jobs in one run end with the worst of their codes: the highest.
constexpr int WorseExit(int a, int b) { return a > b ? a : b; }

// The table as the usage texts print it (UTF-8, each line ending in "\n").
std::string ExitCodeTable();

}  // namespace platform
