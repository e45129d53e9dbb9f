// The options of SitrovaCui and what each one does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/ParamFile.h"
#include "xml/XmlDocument.h"

namespace cui {

// Where the tool's text goes and how it starts Sitrova; the program wires these to the
// console and to real processes.
struct CuiContext {
    std::string programFolder;  // without trailing "/"
    // One line of output (UTF-8, without its line end).
    std::function<void(const std::string& line)> print;
    // One line of error output (UTF-8): why a job ended without doing what it was asked; left
    // empty, such lines go to stderr.
    std::function<void(const std::string& line)> printError;
    // Starts `program` with `arguments`; waits for its end when `wait` and stores its exit
    // code (-1 when it did not exit by itself). 1 when started.
    std::function<int(const std::string& program, const std::vector<std::string>& arguments, bool wait, int* exitCode)>
        start;
};

// The arguments as tokens: the quotes of quoted runs are dropped, blanks inside stay (the
// shell has already split the command line).
std::vector<std::string> ArgumentTokens(int argc, char** argv);
std::string Token(const std::string& argument);

// Runs the options in order. Returns the process exit code (platform/ExitCodes.h), the worst
// of its jobs: a job that cannot run, or whose Sitrova did not do all it was asked, keeps a
// batch's file queued and tells a script.
int RunCui(const std::vector<std::string>& tokens, const CuiContext& context);

// The 27 lines printed for "/?", in the user's language.
std::vector<std::string> UsageLines();

// The Sitrova argument that a parameter file describes; false with the message lines to print
// when the file cannot be used.
bool SomeArgument(const xml::Document& doc, const std::string& path, std::string& argument,
                  std::vector<std::string>& message);

using app::kWebOptionsPath;
// The "--name=value" arguments for the named options the file gives; false with the message
// lines to print when one holds a value its option cannot take. An element no option is
// named after is passed over with a line in `ignored` (when given), since a newer version may
// have written it.
bool NamedArguments(const xml::Document& doc, const std::string& path, std::vector<std::string>& arguments,
                    std::vector<std::string>& message, std::vector<std::string>* ignored = nullptr);

}  // namespace cui
