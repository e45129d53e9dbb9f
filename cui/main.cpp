#include <csignal>
#include <cstdio>

#include "cui/CuiCommands.h"
#include "platform/ConsoleText.h"
#include "platform/ProgramFolder.h"
#include "platform/Process.h"
#include "records/Settings.h"

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    cui::CuiContext context;
    context.programFolder = platform::ProgramFolder();
    records::ApplyUiLanguageSetting(context.programFolder);
    context.print = [](const std::string& line) {
        const std::string text = platform::ToConsoleText(line) + "\n";
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    };
    context.printError = [](const std::string& line) {
        const std::string text = platform::ToConsoleText(line) + "\n";
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    };
    context.start = [](const std::string& program, const std::vector<std::string>& arguments, bool wait,
                       int* exitCode) { return platform::StartProcess(program, arguments, wait, exitCode); };
    return cui::RunCui(cui::ArgumentTokens(argc, argv), context);
}
