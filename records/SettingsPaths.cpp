// The settings that hold paths: the save-path history and the browser of saved pages.
#include "records/Settings.h"

#include <algorithm>

#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/ProfileFile.h"

namespace records {

namespace {

constexpr const char* kHistorySection = "SpeedSelectPath";
constexpr const char* kHistoryKey = "LatelyDir";
constexpr const char* kNoHistory = "NoHistory";
constexpr const char* kBrowseSection = "QdxDirectBrowse";
constexpr const char* kFileAccessFlag = "--allow-file-access-from-files";
// The list offers the save-path field and the first five remembered paths.
constexpr size_t kHistoryListItems = 5;
// Paths here are longer than the 260 bytes of the old file system.
constexpr size_t kPathCapacity = 4096;

// Names of the Chrome family on this system; "chrome.exe" is matched anywhere in the path.
constexpr const char* kChromeNames[] = {"chrome", "google-chrome", "google-chrome-stable", "chromium",
                                        "chromium-browser"};

}  // namespace

bool HistoryFolderExists(const std::string& path) {
    if (path.find('/') == std::string::npos) return false;
    std::string folder(platform::UpToLast(path, '/', false));
    if (folder.empty()) folder = "/";
    return platform::IsDirectory(folder);
}

std::vector<std::string> ReadSaveHistory(const std::string& iniPath) {
    const platform::ProfileText text = platform::ReadableProfile(iniPath);
    std::vector<std::string> history;
    for (unsigned n = 1;; ++n) {
        const std::string key = kHistoryKey + std::to_string(n);
        const std::string value = text.ReadText(kHistorySection, key, kNoHistory, kPathCapacity);
        if (value == kNoHistory) break;
        if (HistoryFolderExists(value)) history.push_back(value);
    }
    return history;
}

std::vector<std::string> SaveHistoryEntries(const std::string& fieldText, const std::vector<std::string>& listItems) {
    std::vector<std::string> entries;
    std::string compare = fieldText;
    if (fieldText.find('/') != std::string::npos) {
        if (HistoryFolderExists(fieldText))
            entries.push_back(fieldText);
        else
            compare.clear();
    }
    const size_t count = std::min(listItems.size(), kHistoryListItems);
    for (size_t i = 0; i < count; ++i)
        if (listItems[i] != compare) entries.push_back(listItems[i]);
    return entries;
}

int SaveSaveHistory(const std::string& iniPath, const std::string& fieldText, const std::vector<std::string>& listItems,
                    std::string* error) {
    platform::ProfileEntries entries;
    for (const std::string& path : SaveHistoryEntries(fieldText, listItems))
        entries.emplace_back(kHistoryKey + std::to_string(entries.size() + 1), path);
    return platform::WriteProfileSection(iniPath, kHistorySection, entries, error);
}

int ClearSaveHistory(const std::string& iniPath, std::string* error) {
    return platform::WriteProfileSection(iniPath, kHistorySection, {}, error);
}

std::string ReadBrowserPath(const std::string& iniPath, const char* defaultText) {
    return platform::ReadProfileText(iniPath, kBrowseSection, "BrowserPath", defaultText, kPathCapacity);
}

bool NeedsFileAccessFlag(const std::string& browserPath) {
    if (platform::ContainsI(browserPath, "chrome.exe")) return true;
    const std::string name = platform::NameOf(browserPath);
    return std::any_of(std::begin(kChromeNames), std::end(kChromeNames),
                       [&](const char* chrome) { return platform::EqualsI(name, chrome); });
}

BrowserCommand BrowserCommandFor(const std::string& browserPath, const std::string& target) {
    BrowserCommand command;
    // An empty value names no program, and "Auto" is the settings dialog's word for the
    // desktop's own choice: both mean the default handler, as "None" does.
    if (browserPath.empty() || browserPath == kBrowserNone || browserPath == kBrowserAuto) {
        command.shellOpen = true;
        command.args = {target};
        return command;
    }
    command.program = browserPath;
    if (NeedsFileAccessFlag(browserPath)) command.args.push_back(kFileAccessFlag);
    command.args.push_back(target);
    return command;
}

int OpenWithBrowser(const std::string& iniPath, const std::string& target) {
    const BrowserCommand command = BrowserCommandFor(ReadBrowserPath(iniPath), target);
    if (command.shellOpen) return platform::ShellOpen(target);
    return platform::StartProcess(command.program, command.args, false);
}

}  // namespace records
