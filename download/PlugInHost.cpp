#include "download/PlugInHost.h"

#include <algorithm>
#include <climits>

#include "platform/ByteString.h"
#include "platform/DynamicLibrary.h"
#include "platform/FolderList.h"
#include "platform/UiText.h"
#include "platform/UserPlaces.h"

namespace download {

namespace {

constexpr int kNameBuffer = 260;

bool IsPlugIn(const std::string& path) {
    platform::DynamicLibrary library;
    if (!library.Open(path)) return false;
    const auto test = library.Function<PlugInTestFn>("IsPlugInForDownloadProgress");
    return test && (test() & 0xFF) == 1;
}

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

std::vector<std::string> FindPlugIns(const std::string& folder) {
    std::vector<std::string> found;
    for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
        if (!platform::EndsWithI(entry.name, ".qdi") || !entry.isFile) continue;
        const std::string path = folder + "/" + entry.name;
        if (IsPlugIn(path)) found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> PlugInNames(const std::string& path, const char* exportName) {
    std::vector<std::string> names;
    platform::DynamicLibrary library;
    if (!library.Open(path)) return names;
    const auto walk = library.Function<PlugInNameFn>(exportName);
    if (!walk) return names;
    // A plug-in that never says 0 is cut off well past anything a host could register.
    for (int index = 0; index < 256; ++index) {
        char buffer[kNameBuffer] = {};
        if ((walk(index, buffer, kNameBuffer) & 0xFF) == 0) break;
        buffer[kNameBuffer - 1] = '\0';
        names.emplace_back(buffer);
    }
    return names;
}

int PlugInChecks::Register(const std::string& path, const std::string& function) {
    if (m_items.size() >= kMaxChecks) return 0;
    m_items.push_back({path, function});
    return 1;
}

void PlugInChecks::RegisterFolder(const std::string& folder) {
    for (const std::string& path : FindPlugIns(folder))
        for (const std::string& function : PlugInNames(path, "GetDlPrgFunction")) (void)Register(path, function);
}

int PlugInChecks::Run(const char* data, size_t length, const std::string& url) const {
    const int count = static_cast<int>(std::min<size_t>(length, INT_MAX));
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        platform::DynamicLibrary library;
        if (!library.Open(it->path)) continue;
        const auto check = library.Function<PlugInCheckFn>(it->function.c_str());
        if (!check) continue;
        if (check(reinterpret_cast<const unsigned char*>(data), count, url.c_str()) == 0) return 1;
    }
    return 0;
}

void PlugInChecks::RegisterProgramFolders(const std::string& programFolder) {
    for (const std::string& folder : platform::PlugInFolders(programFolder)) RegisterFolder(folder);
}

std::vector<std::string> PlugInListItems(const std::string& folder, const std::string& shownFolder) {
    std::vector<std::string> items;
    for (const std::string& path : FindPlugIns(folder)) {
        const std::vector<std::string> names = PlugInNames(path, "GetDlPrgFunctionName");
        if (names.empty()) items.emplace_back(platform::Tr("!プラグイン規格エラー"));
        for (const std::string& name : names) items.push_back(name + " ( " + shownFolder + "/" + FileNameOf(path) + ")");
    }
    return items;
}

std::vector<std::string> ProgramPlugInListItems(const std::string& programFolder) {
    std::vector<std::string> items;
    for (const std::string& folder : platform::PlugInFolders(programFolder)) {
        const std::vector<std::string> found = PlugInListItems(folder, folder == programFolder ? "." : folder);
        items.insert(items.end(), found.begin(), found.end());
    }
    return items;
}

}  // namespace download
