#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include "platform/FileLock.h"
#include "platform/FileUtil.h"
#include "platform/ReplacingWriter.h"
#include "tests/support/Sandbox.h"

using platform::FileLock;
using testsupport::Sandbox;

namespace {

// What another process gets when it tries the lock at `path` now.
int TakeInChild(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        FileLock lock;
        ::_exit(lock.TakeNow(path));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void MakeOld(const std::string& path) {
    const utimbuf times{::time(nullptr) - 3600, ::time(nullptr) - 3600};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

}  // namespace

TEST(FileLock, HeldLockRefusesOthersAndALockOfADeadProcessIsLeftOver) {
    Sandbox box;
    const std::string path = box / ".site.lock";
    {
        FileLock lock;
        ASSERT_EQ(lock.TakeNow(path), FileLock::LockTaken);
        EXPECT_EQ(TakeInChild(path), FileLock::LockBusy);
        lock.Release(true);  // a clean end leaves no file
    }
    EXPECT_FALSE(platform::FileExists(path));

    // A process killed while holding the lock: the kernel lets go, the file stays behind.
    const pid_t child = ::fork();
    if (child == 0) {
        FileLock lock;
        if (lock.TakeNow(path) != FileLock::LockTaken) ::_exit(1);
        ::pause();
    }
    FileLock probe;  // waits (at most 2 s) until the child holds the lock
    for (int i = 0; i < 2000 && probe.TakeExistingNow(path) != FileLock::LockBusy; ++i) {
        probe.Release(false);
        ::usleep(1000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    FileLock after;
    EXPECT_EQ(after.TakeNow(path), FileLock::LockLeftOver);
    EXPECT_EQ(TakeInChild(box / "no-such-folder/x.lock"), FileLock::LockFailed);
}

TEST(FileLock, OnlyOldFilesThatNobodyHoldsAreSweptAway) {
    Sandbox box;
    Sandbox::WriteFile(box / "SitrovError1.log", "dead run");
    MakeOld(box / "SitrovError1.log");
    Sandbox::WriteFile(box / "SitrovError2.log", "just created");
    Sandbox::WriteFile(box / "SitrovError3.log", "live run");
    MakeOld(box / "SitrovError3.log");
    Sandbox::WriteFile(box / "Other4.log", "not ours");
    MakeOld(box / "Other4.log");
    FileLock live;
    ASSERT_EQ(live.TakeExistingNow(box / "SitrovError3.log"), FileLock::LockTaken);

    EXPECT_EQ(platform::RemoveStaleLockedFiles(box.Path(), "SitrovError", ".log", 10), 1);
    EXPECT_FALSE(platform::FileExists(box / "SitrovError1.log"));
    EXPECT_TRUE(platform::FileExists(box / "SitrovError2.log"));
    EXPECT_TRUE(platform::FileExists(box / "SitrovError3.log"));
    EXPECT_TRUE(platform::FileExists(box / "Other4.log"));
}

TEST(ReplacingWriter, OldFileStaysUntilCommitAndNoTempIsLeft) {
    Sandbox box;
    const std::string path = box / "record.log";
    Sandbox::WriteFile(path, "old");
    {
        platform::ReplacingWriter writer(path);
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write("half"));
        EXPECT_EQ(Sandbox::ReadFile(path), "old");
    }  // abandoned, as by an error part-way
    EXPECT_EQ(Sandbox::ReadFile(path), "old");
    EXPECT_FALSE(platform::FileExists(path + "Temp"));

    platform::ReplacingWriter writer(path);
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("new ") && writer.Write("text"));
    ASSERT_TRUE(writer.Commit(platform::Durability::Durable));
    EXPECT_EQ(Sandbox::ReadFile(path), "new text");
    EXPECT_FALSE(platform::FileExists(path + "Temp"));

    platform::ReplacingWriter nowhere(box / "missing/record.log");
    EXPECT_FALSE(nowhere.Open());
    EXPECT_FALSE(nowhere.Write("x"));
    EXPECT_FALSE(nowhere.Commit(platform::Durability::Fast));
}
