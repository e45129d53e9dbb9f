// Starting other programs of the suite, and opening files the desktop way.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum ProcessResult : int { ProcessStarted = 1, ProcessFailed = 0 };

// Starts `program` with `args` (no shell). With wait, blocks until it ends and stores its
// exit code in *exitCode when given.
[[nodiscard]] int StartProcess(const std::string& program, const std::vector<std::string>& args,
                               bool wait, int* exitCode = nullptr);

// Opens a file, folder or URL with the desktop's default handler (xdg-open), detached.
[[nodiscard]] int ShellOpen(const std::string& target);

}  // namespace platform
