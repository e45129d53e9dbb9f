// SitrovaCui run as a program, and the parameter files it reads, for the tests of the
// console tool.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Process.h"
#include "tests/support/Sandbox.h"

namespace cuitest {

using testsupport::Sandbox;

// Runs `program` in `folder` under a time limit and returns what it printed on stdout (and
// on stderr into `errors`, when given).
inline std::string RunTool(const std::string& program, const std::vector<std::string>& args,
                           const std::string& folder, int* code = nullptr, std::string* errors = nullptr) {
    const std::string out = folder + "stdout.txt";
    std::vector<std::string> shell = {"-c", "cd \"$1\" && shift && exec timeout 60 \"$@\" > \"$0\" 2> \"$0.err\"",
                                      out, folder, program};
    shell.insert(shell.end(), args.begin(), args.end());
    int exitCode = -1;
    EXPECT_EQ(platform::StartProcess("sh", shell, true, &exitCode), platform::ProcessStarted);
    if (code) *code = exitCode;
    if (errors) *errors = Sandbox::ReadFile(out + ".err");
    return Sandbox::ReadFile(out);
}

inline std::string Sjis(const std::string& utf8) {
    std::string out;
    EXPECT_EQ(platform::Utf8ToCp932(utf8, out), platform::CodepageOk);
    return out;
}

inline std::string ParamFile(const std::string& url, const std::string& save, const std::string& workmode,
                             const std::string& environment) {
    return Sjis("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<qdxsome:document>\r\n<title>\r\nテスト\r\n</title>\r\n"
                "<url>\r\n" + url + "\r\n</url>\r\n<save>\r\n" + save + "\r\n</save>\r\n" + workmode + environment +
                "<version>\r\n1.00\r\n</version>\r\n</qdxsome:document>\r\n");
}

inline const std::string kEnvironment = "<environment><lanklimit>3</lanklimit><sleepcpulevel>2</sleepcpulevel></environment>\r\n";

}  // namespace cuitest
