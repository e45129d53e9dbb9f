// The host of download-check plug-ins: "*.qdi" libraries beside the program (and, for an
// installed program, in the user's plug-in folder) whose checks may refuse the first chunk of
// a download. A plug-in is loaded only for each single use.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace download {

// Exports of a plug-in; every check has the check-function shape.
extern "C" {
using PlugInTestFn = int (*)();
using PlugInNameFn = int (*)(int index, char* buffer, int length);
using PlugInCheckFn = int (*)(const unsigned char* data, int count, const char* url);
}

// Full paths of the plug-ins in `folder` (sorted by file name): files matching "*.qdi" that
// load and whose IsPlugInForDownloadProgress answers 1 in its low byte.
std::vector<std::string> FindPlugIns(const std::string& folder);

// The names a plug-in lists through `exportName` (GetDlPrgFunction or GetDlPrgFunctionName),
// from index 0 until an index answers 0. Empty when the library or the export is missing.
std::vector<std::string> PlugInNames(const std::string& path, const char* exportName);

struct CheckRegistration {
    std::string path;
    std::string function;
};

// The checks of one downloader, in registration order.
class PlugInChecks {
public:
    static constexpr size_t kMaxChecks = 16;

    // 1 registered; 0 when the limit is reached.
    [[nodiscard]] int Register(const std::string& path, const std::string& function);
    // Registers every check of every plug-in in `folder`; those past the limit are dropped.
    void RegisterFolder(const std::string& folder);
    // Registers the plug-ins of every folder a program in `programFolder` searches
    // (platform::PlugInFolders), the program's own first.
    void RegisterProgramFolders(const std::string& programFolder);
    // Runs the checks from the last registered to the first on the chunk: 1 when one
    // refused it (the rest are skipped), else 0. Missing libraries or exports are skipped.
    [[nodiscard]] int Run(const char* data, size_t length, const std::string& url) const;
    const std::vector<CheckRegistration>& Items() const { return m_items; }

private:
    std::vector<CheckRegistration> m_items;
};

// The items of the plug-in list of the serial-save settings: "display name ( ./file)" for
// each check, or "!プラグイン規格エラー" for a plug-in that names none. `shownFolder` stands
// for the folder in the items.
std::vector<std::string> PlugInListItems(const std::string& folder, const std::string& shownFolder = ".");
// The items of every folder a program in `programFolder` searches: its own as ".", the
// user's plug-in folder by its full path.
std::vector<std::string> ProgramPlugInListItems(const std::string& programFolder);

}  // namespace download
