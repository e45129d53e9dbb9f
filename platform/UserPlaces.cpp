#include "platform/UserPlaces.h"

#include "platform/Environment.h"
#include "platform/FileUtil.h"

namespace platform {

namespace {

constexpr const char* kOwnFolder = "/sitrova";

// XDG: a value that is not an absolute path is ignored.
std::string AbsoluteOr(std::string value, const std::string& fallback) {
    if (value.empty() || value.front() != '/') return fallback;
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    return value;
}

}  // namespace

UserFolders UserFolders::FromEnvironment() {
    const std::string home = HomeFolder();
    const std::string base = home == "/" ? "" : home;
    UserFolders user;
    user.configHome = AbsoluteOr(EnvironmentValue("XDG_CONFIG_HOME"), base + "/.config");
    user.dataHome = AbsoluteOr(EnvironmentValue("XDG_DATA_HOME"), base + "/.local/share");
    user.runtimeDir = AbsoluteOr(EnvironmentValue("XDG_RUNTIME_DIR"), "");
    return user;
}

bool KeepsFilesPerUser(const std::string& programFolder) {
    if (programFolder.empty()) return false;
    // A folder that is not there keeps the old rule: the writes into it say what is wrong.
    return IsRegularFile(programFolder + "/" + kPerUserMarkerName) ||
           (IsDirectory(programFolder) && !IsWritableByUser(programFolder));
}

std::string PlaceFolder(Place place, const std::string& programFolder, bool perUser, const UserFolders& user) {
    if (!perUser) return programFolder;
    return (place == Place::Settings ? user.configHome : user.dataHome) + kOwnFolder;
}

std::string PlaceFor(Place place, const std::string& programFolder) {
    const bool perUser = KeepsFilesPerUser(programFolder);
    const std::string folder = PlaceFolder(place, programFolder, perUser, UserFolders::FromEnvironment());
    if (perUser && !IsDirectory(folder)) (void)CreateFolderChain(folder);
    return folder;
}

std::vector<std::string> PlugInFolders(const std::string& programFolder) {
    std::vector<std::string> folders{programFolder};
    if (KeepsFilesPerUser(programFolder))
        folders.push_back(PlaceFolder(Place::Data, programFolder, true, UserFolders::FromEnvironment()) + "/plugins");
    return folders;
}

}  // namespace platform
