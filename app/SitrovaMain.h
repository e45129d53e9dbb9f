// The program entry of Sitrova. Reading the command line and a complete save that nobody
// watches need no window code; the windows live in a library beside the program that is
// loaded only when a window is wanted, so an unattended save carries no toolkit in memory.
#pragma once

namespace app {

// The window library beside the program and the entry it exports:
// int SitrovaWindowsMain(int argc, char** argv), the whole program with windows.
inline constexpr const char* kWindowsLibrary = "libSitrovaWindows.so";
inline constexpr const char* kWindowsEntry = "SitrovaWindowsMain";

// Runs the whole program; returns its exit code (platform/ExitCodes.h): how the job went, 2
// when started without a display and without a job, 6 when windows are wanted and their
// library cannot be loaded.
int SitrovaMain(int argc, char** argv);

}  // namespace app
