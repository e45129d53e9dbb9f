// The lock on a save's target, held for the whole save. Its file lies beside the chosen page
// (".<name>.SitrovLock"): a second save into the same target finds it held and refuses; the
// kernel lets go of it when the saving process dies, and the file that stays then tells the
// next save that the run before it did not end.
#pragma once

#include <string>

#include "platform/FileLock.h"
#include "platform/UiLanguage.h"

namespace records {

constexpr const char* kTargetLockSuffix = ".SitrovLock";

// saveFolder + "." + the chosen name without extension + ".SitrovLock": one lock for the page,
// its record file and its data folder, which share that name.
std::string TargetLockPath(const std::string& saveFolder, const std::string& saveName);

class TargetLock {
public:
    enum Result : int {
        TargetBusy = 0,         // another running save holds the target
        TargetFree = 1,         // held now
        TargetInterrupted = 2,  // held now; the save before this one did not end
        TargetLockFailed = 3,   // the lock file cannot be created (the folder is not writable)
    };

    [[nodiscard]] int Take(const std::string& saveFolder, const std::string& saveName);
    // The save ended with its records written: the lock goes, and its file with it.
    void ReleaseAfterCleanEnd();
    bool Held() const { return m_lock.Held(); }

private:
    platform::FileLock m_lock;
};

// The message of a refused save: Japanese for the save log, the user's language for the user.
std::string TargetBusyMessage(const std::string& target,
                              platform::UiLanguage language = platform::UiLanguage::Japanese);

// Deletes the staging files that a run killed part-way left in `folder` and its subfolders:
// names ending in ".pre", ".part" or "Temp", and a ".tmp" beside a file of the name without
// it (the saved-site log's own ".tmp" is left to the log's hand-over). Returns how many went.
int RemoveStagingLeftovers(const std::string& folder);
// The same for the files of one save beside the chosen page (names starting with `stem`),
// without descending into folders.
int RemoveStagingLeftoversOf(const std::string& folder, const std::string& stem);

}  // namespace records
