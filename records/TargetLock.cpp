#include "records/TargetLock.h"

#include <filesystem>
#include <system_error>

#include "platform/FileUtil.h"
#include "records/DescriptionLog.h"
#include "records/SavedSiteLog.h"

namespace records {

namespace {

namespace fs = std::filesystem;

bool EndsWith(const std::string& s, std::string_view tail) {
    return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsStagingName(const std::string& folder, const std::string& name) {
    if (EndsWith(name, ".pre") || EndsWith(name, ".part") || EndsWith(name, "Temp")) return true;
    if (!EndsWith(name, ".tmp") || name == std::string(kSavedSiteLogName) + kSavedSiteLogBusySuffix) return false;
    return platform::IsRegularFile(folder + name.substr(0, name.size() - 4));
}

bool RemoveIfStaging(const fs::path& path, const std::string& stem) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(path, ec))) return false;
    const std::string name = path.filename().string();
    if (!stem.empty() && name.compare(0, stem.size(), stem) != 0) return false;
    const std::string folder = path.parent_path().string() + "/";
    return IsStagingName(folder, name) && platform::RemoveFile(path.string());
}

}  // namespace

std::string TargetLockPath(const std::string& saveFolder, const std::string& saveName) {
    return saveFolder + "." + StripExtension(saveName) + kTargetLockSuffix;
}

int TargetLock::Take(const std::string& saveFolder, const std::string& saveName) {
    const std::string path = TargetLockPath(saveFolder, saveName);
    switch (m_lock.TakeNow(path)) {
    case platform::FileLock::LockTaken:
        platform::SetHidden(path);
        return TargetFree;
    case platform::FileLock::LockLeftOver: return TargetInterrupted;
    case platform::FileLock::LockBusy: return TargetBusy;
    default: return TargetLockFailed;
    }
}

void TargetLock::ReleaseAfterCleanEnd() { m_lock.Release(true); }

std::string TargetBusyMessage(const std::string& target) {
    return "保存先「" + target +
           "」には、別のSitrovaが保存を続けています。\r\n同じ保存先へは同時に保存できません。その保存が終わってから、もう一度実行してください。";
}

int RemoveStagingLeftovers(const std::string& folder) {
    int removed = 0;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (RemoveIfStaging(it->path(), "")) ++removed;
    return removed;
}

int RemoveStagingLeftoversOf(const std::string& folder, const std::string& stem) {
    int removed = 0;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
        if (RemoveIfStaging(it->path(), stem)) ++removed;
    return removed;
}

}  // namespace records
