// The argument text of Sitrova: keywords with quoted fields, a record-file path, or nothing.
#pragma once

#include <cstdint>
#include <string>

namespace engine {
class SaveJob;
}

namespace app {

// What the parse decided beyond the job's fields.
struct ParsedArguments {
    // A ".qdx" path was named: it still has to be read and checked against other
    // instances before ModeUpdateCheck may be set (see StartUp).
    bool qdxArgument = false;
    std::string qdxPath;
    // "SomeWarc": the web archive the save reads instead of the network.
    std::string archivePath;
};

// Leading blanks are skipped while a further character follows.
std::string SkipLeadingBlanks(const std::string& text);

// Drops leading blanks; a text beginning with a double quote ends at the next one.
std::string Unquote(const std::string& text);

// Fills the job from the argument text (mode bits, start URL, save target, options, limit,
// CPU pause). A missing field reads as empty, a missing number as 0.
ParsedArguments ParseArgumentLine(const std::string& argumentLine, engine::SaveJob& job);

// The argument text as the scheduler builds it for a complete save.
std::string SomeCompleteArgument(const std::string& url, const std::string& savePath, uint32_t flags,
                                 const std::string& lankLimit, int cpuLevel);

// The options of a save from a web archive that names none: a data folder and a .qdx record,
// as the usual complete save.
constexpr uint32_t kSomeWarcModeBits = 0x301;

// The argument text of a save from the web archive `archivePath` (with the usual options).
std::string SomeWarcArgument(const std::string& archivePath, const std::string& url, const std::string& savePath);

}  // namespace app
