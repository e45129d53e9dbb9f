// The program with its windows: what Sitrova runs once its command line has asked for a
// window (or for a job whose window code nothing else replaces). Kept in a library so that
// the program loads the window toolkit only then, and so tests can run it in-process.
#pragma once

namespace appqt {

// Runs the program with windows; returns its exit code (app::JobExitCode). The command line
// has been checked before.
int SitrovaWindowsMain(int argc, char** argv);

}  // namespace appqt
