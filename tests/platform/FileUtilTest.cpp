#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FailureCause.h"
#include "platform/FileUtil.h"
#include "tests/support/HiddenMark.h"
#include "tests/support/Sandbox.h"

using namespace platform;
using testsupport::Sandbox;

TEST(FileUtil, ReplacingWriteLeavesNoTempAndKeepsHiddenMark) {
    Sandbox box;
    const std::string path = box / "record.log";
    ASSERT_TRUE(WriteFileReplacing(path, "first"));
    EXPECT_FALSE(IsHidden(path));
    SetHidden(path);
    ASSERT_TRUE(WriteFileReplacing(path, "second"));
    EXPECT_EQ(Sandbox::ReadFile(path), "second");
    EXPECT_FALSE(FileExists(path + "Temp"));
    if (!testsupport::FolderKeepsHiddenMark(box.Path())) GTEST_SKIP() << "this file system keeps no extended attributes";
    EXPECT_TRUE(IsHidden(path));  // the replacement carries the old file's mark
    ASSERT_TRUE(WriteFileReplacing(box / "plain.log", "x"));
    EXPECT_FALSE(IsHidden(box / "plain.log"));
}

TEST(FileUtil, FailedReplacingWriteKeepsTheOldFile) {
    Sandbox box;
    const std::string path = box / "keep.txt";
    ASSERT_TRUE(WriteFileReplacing(path, "old"));
    // A folder in the way of the temporary name makes the write fail before the swap.
    ASSERT_TRUE(CreateFolder(path + "Temp"));
    EXPECT_FALSE(WriteFileReplacing(path, "new"));
    EXPECT_EQ(Sandbox::ReadFile(path), "old");
}

TEST(FileUtil, RewriteInPlaceWritesOnlyAChangeAndReportsAFailedWrite) {
    Sandbox box;
    const std::string path = box / "page.html";
    ASSERT_TRUE(WriteFileReplacing(path, "old"));
    const auto upper = [](std::string& text) {
        if (text != "old") return false;
        text = "OLD";
        return true;
    };
    ASSERT_TRUE(CreateFolder(path + "Temp"));  // the rewrite cannot make its temporary file
    EXPECT_EQ(RewriteFileInPlace(path, upper), RewriteNotWritten);
    EXPECT_EQ(LastFileFailure(), FailureCause::Disk);
    EXPECT_EQ(Sandbox::ReadFile(path), "old");
    ASSERT_EQ(::rmdir((path + "Temp").c_str()), 0);
    EXPECT_EQ(RewriteFileInPlace(path, upper), RewriteDone);
    EXPECT_EQ(Sandbox::ReadFile(path), "OLD");
    ASSERT_TRUE(CreateFolder(path + "Temp"));
    EXPECT_EQ(RewriteFileInPlace(path, upper), RewriteDone);  // nothing to change, nothing written
    EXPECT_EQ(RewriteFileInPlace(box / "missing.html", upper), RewriteUnreadable);
    EXPECT_EQ(RewriteFileInPlace(box.Path(), upper), RewriteUnreadable);
}

TEST(FileUtil, FolderChainAndNames) {
    Sandbox box;
    const std::string deep = box / "a/b/c";
    EXPECT_TRUE(CreateFolderChain(deep));
    EXPECT_TRUE(IsDirectory(deep));
    EXPECT_TRUE(CreateFolderChain(deep));  // existing is fine
    Sandbox::WriteFile(box / "file", "x");
    EXPECT_FALSE(CreateFolderChain(box / "file/sub"));  // a file is in the way
    EXPECT_EQ(FolderOf("/x/y/z.html"), "/x/y/");
    EXPECT_EQ(NameOf("/x/y/z.html"), "z.html");
    EXPECT_EQ(FolderOf("z.html"), "");
}

TEST(FileUtil, ReadHeadAndSizes) {
    Sandbox box;
    const std::string path = box / "f.bin";
    Sandbox::WriteFile(path, std::string(1000, 'a'));
    std::string head;
    ASSERT_TRUE(ReadFileHead(path, head, 512));
    EXPECT_EQ(head.size(), 512u);
    EXPECT_EQ(FileSize(path), 1000);
    EXPECT_EQ(FileSize(box / "missing"), -1);
    EXPECT_FALSE(ReadWholeFile(box / "missing", head));
    EXPECT_TRUE(RemoveFile(box / "missing"));  // already gone counts as removed
}

TEST(FileUtil, CanonicalPathResolvesDotsAndLinks) {
    Sandbox box;
    ASSERT_TRUE(CreateFolder(box / "real"));
    Sandbox::WriteFile(box / "real/site.qdx", "1");
    ASSERT_EQ(::symlink((box / "real").c_str(), (box / "link").c_str()), 0);
    const std::string canonical = CanonicalPath(box / "real/site.qdx");
    EXPECT_EQ(CanonicalPath(box / "link/../real/./site.qdx"), canonical);
    EXPECT_EQ(CanonicalPath(box / "link/site.qdx"), canonical);
    EXPECT_EQ(CanonicalPath("/no/such/../dir/x.qdx"), "/no/dir/x.qdx");
}

TEST(FileUtil, ReadErrorPartWayIsAFailureNotATruncatedText) {
    // Reading this process's memory from address 0 fails with an I/O error after a good open.
    std::string text = "stale";
    EXPECT_FALSE(ReadWholeFile("/proc/self/mem", text));
    EXPECT_TRUE(text.empty());
}

namespace {

long PeakKiB() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

TEST(FileUtil, CopyIsWholeAndNeverHoldsABigFileInMemory) {
    Sandbox box;
    const std::string from = box / "big.log", to = box / "copy.log";
    // 48 MB of numbered lines, written piece by piece so that this test holds none of it.
    constexpr int kPieces = 768;
    {
        std::string piece;
        const int fd = ::open(from.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        for (int i = 0; i < kPieces; ++i) {
            piece.assign(64 * 1024, static_cast<char>('a' + i % 26));
            piece.replace(0, std::to_string(i).size(), std::to_string(i));
            ASSERT_TRUE(WriteAll(fd, piece));
        }
        ::close(fd);
    }
    ASSERT_TRUE(WriteFileReplacing(to, "an older copy"));
    const long before = PeakKiB();
    ASSERT_TRUE(CopyFile(from, to));
    EXPECT_LT(PeakKiB() - before, 16 * 1024);
    EXPECT_EQ(FileSize(to), FileSize(from));
    EXPECT_FALSE(FileExists(to + "Temp"));
    std::string head;
    ASSERT_TRUE(ReadFileHead(to, head, 3));
    EXPECT_EQ(head, "0aa");
    EXPECT_FALSE(CopyFile(box / "missing.log", to));
    EXPECT_EQ(FileSize(to), FileSize(from));  // a failed copy leaves the old file
}
