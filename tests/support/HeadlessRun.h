// Runs a built program the way a script or cron job does: no display, no chosen window
// platform, no runtime folder, in a folder of its own, under a time limit so that a hang
// fails the test instead of stopping it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Process.h"
#include "tests/support/Sandbox.h"

namespace testsupport {

struct HeadlessResult {
    int code = -1;  // 124 when the time limit ended it
    std::string out;
    std::string err;
};

inline HeadlessResult RunHeadless(const std::string& program, const std::vector<std::string>& args,
                                  const std::string& folder, int limitSeconds = 15) {
    std::vector<std::string> shell = {
        "-c",
        "cd \"$1\" && shift && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR "
        "timeout \"$0\" \"$@\" > headless-out.txt 2> headless-err.txt",
        std::to_string(limitSeconds), folder, program};
    shell.insert(shell.end(), args.begin(), args.end());
    HeadlessResult result;
    EXPECT_EQ(platform::StartProcess("sh", shell, true, &result.code), platform::ProcessStarted);
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    result.out = Sandbox::ReadFile(base + "headless-out.txt");
    result.err = Sandbox::ReadFile(base + "headless-err.txt");
    return result;
}

}  // namespace testsupport
