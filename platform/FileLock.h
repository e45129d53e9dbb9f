// Advisory locks on files (flock). A lock belongs to an open descriptor, so the kernel lets go
// of it when the process ends in any way, a kill included: a lock file that exists but that
// nobody holds was left by a run that died.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class FileLock {
public:
    enum Result : int {
        LockFailed = 0,  // the file cannot be created or opened
        LockTaken = 1,   // held now; the file was created for it
        LockLeftOver = 2,  // held now; the file was there already, left by a run that died
        LockBusy = 3,    // a live process holds it
    };

    FileLock() = default;
    ~FileLock();  // lets go, the file stays
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Creates `path` when missing and locks it without waiting.
    [[nodiscard]] int TakeNow(const std::string& path);
    // The same, waiting up to `timeoutMs` for a live holder to let go (LockBusy after that).
    [[nodiscard]] int TakeWaiting(const std::string& path, uint32_t timeoutMs);
    // Locks an existing file without waiting (LockTaken), or LockBusy / LockFailed.
    [[nodiscard]] int TakeExistingNow(const std::string& path);
    // Lets go of the lock; with removeFile the file is deleted first, while still held.
    void Release(bool removeFile);
    bool Held() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};

// Locks an open descriptor for as long as it stays open. False when another holds it.
[[nodiscard]] bool LockOpenFile(int fd);
// The same for a file just created at `path`; false also when a sweep of unheld files
// (RemoveStaleLockedFiles) deleted it before the lock came, so that the name is no longer ours.
[[nodiscard]] bool LockOpenFileAt(int fd, const std::string& path);

// Deletes the files of `folder` whose names start with `prefix` and end with `suffix`, that
// no live process holds locked and that were last written at least `minAgeSeconds` ago (0 for
// files whose creators lock them through LockOpenFileAt). Returns how many went.
int RemoveStaleLockedFiles(const std::string& folder, const std::string& prefix, const std::string& suffix,
                           int64_t minAgeSeconds);

}  // namespace platform
