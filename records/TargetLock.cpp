#include "records/TargetLock.h"

#include "platform/FileUtil.h"
#include "platform/FolderList.h"
#include "platform/UiText.h"
#include "records/DescriptionLog.h"
#include "records/SavedSiteLog.h"

namespace records {

namespace {

bool EndsWith(const std::string& s, std::string_view tail) {
    return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsStagingName(const std::string& folder, const std::string& name) {
    if (EndsWith(name, ".pre") || EndsWith(name, ".part") || EndsWith(name, "Temp")) return true;
    if (!EndsWith(name, ".tmp") || name == std::string(kSavedSiteLogName) + kSavedSiteLogBusySuffix) return false;
    return platform::IsRegularFile(folder + name.substr(0, name.size() - 4));
}

// `folder` ends with "/". Links are never removed: what they lead to is not ours.
bool RemoveIfStaging(const std::string& folder, const platform::FolderEntry& entry, const std::string& stem) {
    if (entry.isLink || !entry.isFile) return false;
    if (!stem.empty() && entry.name.compare(0, stem.size(), stem) != 0) return false;
    return IsStagingName(folder, entry.name) && platform::RemoveFile(folder + entry.name);
}

std::string WithSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

// The whole tree, without following links into folders elsewhere.
int RemoveInTree(const std::string& folder) {
    int removed = 0;
    for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
        if (entry.isFolder && !entry.isLink) removed += RemoveInTree(folder + entry.name + "/");
        else if (RemoveIfStaging(folder, entry, "")) ++removed;
    }
    return removed;
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

std::string TargetBusyMessage(const std::string& target, platform::UiLanguage language) {
    return platform::TrArgs("保存先「%1」には、別のSitrovaが保存を続けています。\r\n"
                            "同じ保存先へは同時に保存できません。その保存が終わってから、もう一度実行してください。",
                            {target}, language);
}

int RemoveStagingLeftovers(const std::string& folder) { return RemoveInTree(WithSlash(folder)); }

int RemoveStagingLeftoversOf(const std::string& folder, const std::string& stem) {
    const std::string base = WithSlash(folder);
    int removed = 0;
    for (const platform::FolderEntry& entry : platform::ListFolder(base))
        if (RemoveIfStaging(base, entry, stem)) ++removed;
    return removed;
}

}  // namespace records
