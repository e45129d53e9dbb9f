#include <gtest/gtest.h>

#include <dirent.h>
#include <memory>
#include <thread>

#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "records/SavedSiteLog.h"
#include "tests/support/HiddenMark.h"
#include "tests/support/Sandbox.h"

using namespace records;
using testsupport::Sandbox;

namespace {

const std::string kData = std::string(SITROVA_TEST_DATA) + "/records/";
const std::string kSignature = "Sitrova Ver3.30\x81\x60\r\n";
const std::string kDummy = "--- Dummy -------------------------------\r\n";

// A job saving http://Example.com/dir/index.html into `folder` with the default options.
void SetUpJob(engine::SaveJob& job, const std::string& folder, uint32_t mode = 0x11C301, int32_t limit = 1,
              const std::string& url = "http://Example.com/dir/index.html") {
    job.SetStartUrl(url);
    job.SetSaveTarget(folder + "index.html");
    job.SetModeBits(mode);
    job.SetLankLimit(limit);
}

std::string Header(const std::string& folder, uint32_t mode, int limit, int count,
                   const std::string& base = "http://Example.com/dir/", const std::string& leaf = "index.html") {
    return kSignature + folder + "\r\nindex.html\r\n" + base + "\r\n" + leaf + "\r\n" + std::to_string(mode) + "\r\n" +
           std::to_string(limit) + "\r\n" + std::to_string(count) + "\r\n" + kDummy;
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
        ::closedir(dir);
    }
    return names;
}

}  // namespace

TEST(SavedSiteLog, WrittenLogMatchesTheGoldenFile) {
    Sandbox box;
    engine::SaveJob job;
    SetUpJob(job, box.Path(), 0x11C301 | engine::mode::ModeUpdateCheck);  // 0x400 is not stored
    SavedSiteLog log(box / kSavedSiteLogName);
    EXPECT_EQ(log.RecordPage(box / "dir/index.html", "http://Example.com/dir/index.html", 0, 1234), 1);
    EXPECT_EQ(log.RecordPage(box / "dir/表示.html", "http://Example.com/dir/%E8%A1%A8.html", 1, 0), 1);
    EXPECT_EQ(log.RecordPage(box / "dir/sub/a.htm", "http://Example.com/dir/sub/a.htm", -1, 5000000000LL), 1);
    EXPECT_EQ(log.EntryCount(), 3u);
    ASSERT_EQ(log.Write(job), 1);

    std::string golden = Sandbox::ReadFile(kData + "SitrovSaveInfo.golden");
    ASSERT_FALSE(golden.empty());
    platform::ReplaceAll(golden, "@FOLDER@", box.Path());
    EXPECT_EQ(Sandbox::ReadFile(log.Path()), golden);
    EXPECT_EQ(FolderNames(box.Path()), std::vector<std::string>{kSavedSiteLogName});  // no Temp, no spool
    EXPECT_EQ(platform::IsHidden(log.Path()), testsupport::FolderKeepsHiddenMark(box.Path()));  // written hidden

    // Written once: later entries and calls change nothing.
    EXPECT_EQ(log.RecordPage(box / "late.html", "http://Example.com/late.html", 0, 1), 1);
    EXPECT_EQ(log.Write(job), 1);
    EXPECT_EQ(Sandbox::ReadFile(log.Path()), golden);
}

TEST(SavedSiteLog, ZeroEntriesPutTheCountRightBeforeTheDummyLine) {
    Sandbox box;
    engine::SaveJob job;
    SetUpJob(job, box.Path(), 0x301, 0);
    SavedSiteLog log(box / kSavedSiteLogName);
    ASSERT_EQ(log.Write(job), 1);
    EXPECT_EQ(Sandbox::ReadFile(log.Path()), Header(box.Path(), 0x301, 0, 0));
}

TEST(SavedSiteLog, EntriesThatWouldBreakTheFormatAreRefused) {
    Sandbox box;
    SavedSiteLog log(box / kSavedSiteLogName);
    struct Case {
        const char* name;
        std::string path, url;
    } cases[] = {
        {"line break in path", box / "a\nb.html", "http://h/a"},
        {"carriage return in URL", box / "a.html", "http://h/a\rb"},
        {"character outside Shift-JIS", box / "☃.html", "http://h/a"},
        {"yen sign", box / "¥.html", "http://h/a"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(log.RecordPage(c.path, c.url, 0, 1, &error), 0) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
    EXPECT_EQ(log.EntryCount(), 0u);
}

TEST(SavedSiteLog, ManyThreadsAndASpooledListGiveEveryEntryInOrder) {
    Sandbox box;
    engine::SaveJob job;
    SetUpJob(job, box.Path());
    SavedSiteLog log(box / kSavedSiteLogName);
    // Four threads × 6000 entries of ~110 bytes: well past the 1 MB kept in memory.
    constexpr int kThreads = 4, kEach = 6000;
    const std::string padding(60, 'p');
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i)
                (void)log.RecordPage(box.Path() + "t" + std::to_string(t) + "/" + padding + std::to_string(i),
                                     "http://h/" + std::to_string(t) + "/" + std::to_string(i), t, i);
        });
    for (auto& th : threads) th.join();
    ASSERT_EQ(log.Write(job), 1);
    EXPECT_EQ(FolderNames(box.Path()).size(), 1u);

    std::vector<SavedSiteLogEntry> entries;
    ASSERT_EQ(ReadSavedSiteLogEntries(log.Path(), box.Path(), entries), 1);
    ASSERT_EQ(entries.size(), static_cast<size_t>(kThreads * kEach));
    std::vector<int> next(kThreads, 0);
    for (const SavedSiteLogEntry& e : entries) {
        // Each thread's entries keep their order.
        ASSERT_EQ(e.size, next[static_cast<size_t>(e.level)]++);
        EXPECT_EQ(e.localPath, box.Path() + "t" + std::to_string(e.level) + "/" + padding + std::to_string(e.size));
    }
}

TEST(SavedSiteLog, HeaderReaderErrorCodesAndTexts) {
    const std::string messages[] = {
        "",
        "Error:1\r\n指定されたファイルはサポートされていない形式です。",
        "Error:2\r\n指定されたファイルは実体が存在しません。",
        "Error:3\r\n指定されたファイルは、他のプロセスが使用している可能性があるため、アクセスを中止しました。",
    };
    const std::string good = Header("/old/", 0x301, 2, 0);
    struct Case {
        const char* name;
        std::string bytes;
        bool missing;  // no file at all
        bool busy;     // a ".tmp" beside it
        int error;
    } cases[] = {
        {"good", good, false, false, LogRead},
        {"no file", "", true, false, LogMissing},
        {"empty file", "", false, false, LogMissing},
        {"in use", good, false, true, LogInUse},
        {"signature differs", "Sitrova Ver3.31\x81\x60" + good.substr(kSignature.size() - 2), false, false, LogUnsupported},
        {"signature in another code", "Sitrova Ver3.30～" + good.substr(kSignature.size() - 2), false, false, LogUnsupported},
        {"seven lines", good.substr(0, good.find("0\r\n---")), false, false, LogUnsupported},
        {"eighth line without LF", good.substr(0, good.find("\r\n---")), false, false, LogUnsupported},
        {"huge first line", std::string(1 << 20, 'S'), false, false, LogUnsupported},
        {"invalid Shift-JIS URL", Header("/old/", 0x301, 2, 0, "http://h/\x81\x20/"), false, false, LogUnsupported},
        {"NUL bytes", std::string(64, '\0'), false, false, LogUnsupported},
    };
    for (const Case& c : cases) {
        Sandbox box;
        const std::string path = box / kSavedSiteLogName;
        if (!c.missing) Sandbox::WriteFile(path, c.bytes);
        if (c.busy) Sandbox::WriteFile(path + ".tmp", "x");
        SavedSiteLogReader reader;
        EXPECT_EQ(ReadSavedSiteLogHeader(path, reader), c.error) << c.name;
        EXPECT_EQ(reader.error, c.error) << c.name;
        EXPECT_EQ(reader.message, messages[c.error]) << c.name;
        // An empty log left behind is removed.
        if (!c.missing && c.bytes.empty()) {
            EXPECT_FALSE(platform::FileExists(path));
        }
    }
}

TEST(SavedSiteLog, HeaderFieldsAndTheStartPageOfADataFolder) {
    Sandbox box;
    const std::string data = box / "site.files/";
    ASSERT_TRUE(platform::CreateFolder(data));
    // A lying count saturates instead of wrapping.
    std::string text = Header("/elsewhere/site.files/", 0x11C301, 3, 0);
    platform::ReplaceAll(text, "\r\n0\r\n---", "\r\n99999999999\r\n---");
    Sandbox::WriteFile(data + kSavedSiteLogName, text);

    SavedSiteLogReader reader;
    ASSERT_EQ(ReadSavedSiteLogHeader(data + kSavedSiteLogName, reader), LogRead);
    EXPECT_EQ(reader.modeWord, 0x11C301u);
    EXPECT_EQ(reader.urlBase, "http://Example.com/dir/");
    EXPECT_EQ(reader.urlLeaf, "index.html");
    EXPECT_EQ(reader.lankLimit, 3);
    EXPECT_EQ(reader.entryCount, UINT32_MAX);
    EXPECT_EQ(reader.storedFolder, "/elsewhere/site.files/");
    EXPECT_EQ(reader.storedFolderLength, 22u);
    EXPECT_FALSE(reader.lastWriteText.empty());
    EXPECT_EQ(reader.saveFolder, box.Path());
    EXPECT_EQ(reader.startPageName, "site.htm");
    Sandbox::WriteFile(box / "site.html", "<html>");
    ASSERT_EQ(ReadSavedSiteLogHeader(data + kSavedSiteLogName, reader), LogRead);
    EXPECT_EQ(reader.startPageName, "site.html");

    // Without the data-folder bit the log's own folder and line 3 are the target.
    Sandbox::WriteFile(box / kSavedSiteLogName, Header("/x/", 0x201, 0, 0));
    ASSERT_EQ(ReadSavedSiteLogHeader(box / kSavedSiteLogName, reader), LogRead);
    EXPECT_EQ(reader.saveFolder, box.Path());
    EXPECT_EQ(reader.startPageName, "index.html");
}

TEST(SavedSiteLog, EntriesOfAMovedSiteAreRebased) {
    Sandbox box;
    std::string text = Header("/old/place/", 0x301, 0, 5) +
                       "/old/place/a.html\r\nhttp://h/a\r\n0\r\n10\r\n"
                       "/old/place/sub/b.html\r\nhttp://h/b\r\n1\r\n0\r\n"
                       "/other/c.html\r\nhttp://h/c\r\n1\r\n5\r\n"        // outside the folder: left out
                       "/old/place/../../etc/x\r\nhttp://h/x\r\n1\r\n5\r\n"  // climbs out: left out
                       "/old/place/d.html\r\nhttp://h/d\r\n2\r\n7";        // no final line break
    Sandbox::WriteFile(box / "log", text);
    std::vector<SavedSiteLogEntry> entries;
    EXPECT_EQ(ReadSavedSiteLogEntries(box / "log", "/new/", entries), 0);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].localPath, "/new/a.html");
    EXPECT_EQ(entries[0].size, 10);
    EXPECT_EQ(entries[1].localPath, "/new/sub/b.html");
    EXPECT_EQ(entries[1].level, 1);
    EXPECT_EQ(entries[2].localPath, "/new/d.html");
    EXPECT_EQ(entries[2].url, "http://h/d");

    // A count that promises more than the file holds keeps what is there.
    Sandbox::WriteFile(box / "short", Header("/o/", 0x301, 0, 9) + "/o/a\r\nu\r\n0\r\n1\r\n/o/b\r\nu\r\n");
    entries.clear();
    EXPECT_EQ(ReadSavedSiteLogEntries(box / "short", "/n/", entries), 0);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].localPath, "/n/a");
    // A smaller count reads no further, and the entries it leaves out make the log damaged.
    Sandbox::WriteFile(box / "fewer", Header("/o/", 0x301, 0, 1) + "/o/a\r\nu\r\n0\r\n1\r\n/o/b\r\nu\r\n0\r\n1\r\n");
    entries.clear();
    EXPECT_EQ(ReadSavedSiteLogEntries(box / "fewer", "/n", entries), 0);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].localPath, "/n/a");
}

TEST(SavedSiteLog, EntriesOfALogWrittenOnWindowsAreRebased) {
    Sandbox box;
    const std::string data = box / "サイト.files/";
    ASSERT_TRUE(platform::CreateFolder(data));
    ASSERT_TRUE(platform::CopyFile(kData + "WindowsSaveInfo.log", data + kSavedSiteLogName));
    SavedSiteLogReader reader;
    ASSERT_EQ(ReadSavedSiteLogHeader(data + kSavedSiteLogName, reader), LogRead);
    EXPECT_EQ(reader.storedFolder, "C:\\Users\\x\\サイト.files\\");
    EXPECT_EQ(reader.saveFolder, box.Path());
    EXPECT_EQ(reader.startPageName, "サイト.htm");
    EXPECT_EQ(reader.urlLeaf, "");

    std::vector<SavedSiteLogEntry> entries;
    ASSERT_EQ(ReadSavedSiteLogEntries(data + kSavedSiteLogName, data, entries), 1);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].localPath, data + "index.html");
    EXPECT_EQ(entries[1].localPath, data + "dir/表示.html");  // 表 ends in the byte of "\"
    EXPECT_EQ(entries[2].localPath, data + "dir/sub/b.htm"); // drive and folder in another case
    EXPECT_EQ(entries[2].size, 7);
}

namespace {

struct HandOver {
    const char* name;
    uint32_t mode;
    std::string url;
    int32_t limit;
    bool updateCheck;
};

}  // namespace

TEST(SavedSiteLog, HandOverComparesMaskedModeUrlAndLimit) {
    const HandOver cases[] = {
        {"same save", 0x11C301, "http://Example.com/dir/index.html", 1, true},
        {"URL in other case", 0x11C301, "HTTP://EXAMPLE.COM/DIR/INDEX.HTML", 1, true},
        {"bit outside the mask", 0x11C301 ^ 0x80000, "http://Example.com/dir/index.html", 1, true},
        {"update-check bit", 0x11C301 | 0x400, "http://Example.com/dir/index.html", 1, true},
        {"external paths bit", 0x11C301 | 0x10, "http://Example.com/dir/index.html", 1, false},
        {"index completion bit", 0x11C301 ^ 0x4000, "http://Example.com/dir/index.html", 1, false},
        {"trace selection bit", 0x11C301 | 0x2000, "http://Example.com/dir/index.html", 1, false},
        {"other leaf", 0x11C301, "http://Example.com/dir/other.html", 1, false},
        {"other folder", 0x11C301, "http://Example.com/dir2/index.html", 1, false},
        {"https instead of http", 0x11C301, "https://Example.com/dir/index.html", 1, false},
        {"other limit", 0x11C301, "http://Example.com/dir/index.html", 2, false},
    };
    for (const HandOver& c : cases) {
        Sandbox box;
        const std::string logPath = box / kSavedSiteLogName;
        Sandbox::WriteFile(logPath, Header(box.Path(), 0x11C301, 1, 0));
        engine::SaveJob job;
        SetUpJob(job, box.Path(), c.mode, c.limit, c.url);
        std::unique_ptr<SavedSiteLog> log(OpenSavedSiteLogForSave(job));
        ASSERT_TRUE(log) << c.name;
        EXPECT_EQ(log->Path(), logPath);
        EXPECT_EQ(job.UpdateCheck(), c.updateCheck) << c.name;
        EXPECT_FALSE(platform::FileExists(logPath)) << c.name;  // renamed or deleted
        EXPECT_EQ(platform::FileExists(logPath + ".tmp"), c.updateCheck) << c.name;
    }
}

TEST(SavedSiteLog, CloseAfterAnUpdateCheckReplacesTheEarlierLog) {
    Sandbox box;
    const std::string logPath = box / kSavedSiteLogName;
    Sandbox::WriteFile(logPath, Header(box.Path(), 0x11C301, 1, 0));
    engine::SaveJob job;
    SetUpJob(job, box.Path());
    std::unique_ptr<SavedSiteLog> log(OpenSavedSiteLogForSave(job));
    ASSERT_TRUE(job.UpdateCheck());
    SavedSiteLogReader reader;
    EXPECT_EQ(ReadSavedSiteLogHeader(logPath, reader), LogInUse);  // a view opened meanwhile
    EXPECT_EQ(ReadSavedSiteLogHeader(logPath + ".tmp", reader), LogRead);  // the check reads the old one

    (void)log->RecordPage(box / "index.html", "http://Example.com/dir/index.html", 0, 5);
    ASSERT_EQ(CloseSavedSiteLog(job, *log), 1);
    log.reset();
    EXPECT_FALSE(platform::FileExists(logPath + ".tmp"));
    ASSERT_EQ(ReadSavedSiteLogHeader(logPath, reader), LogRead);
    EXPECT_EQ(reader.entryCount, 1u);
}

TEST(SavedSiteLog, CloseThatCannotWriteKeepsTheEarlierLog) {
    Sandbox box;
    const std::string logPath = box / kSavedSiteLogName;
    const std::string earlier = Header(box.Path(), 0x11C301, 1, 0);
    Sandbox::WriteFile(logPath, earlier);
    engine::SaveJob job;
    SetUpJob(job, box.Path());
    std::unique_ptr<SavedSiteLog> log(OpenSavedSiteLogForSave(job));
    ASSERT_TRUE(job.UpdateCheck());
    ASSERT_TRUE(platform::CreateFolder(logPath + "Temp"));  // the new log cannot be written
    std::string error;
    EXPECT_EQ(CloseSavedSiteLog(job, *log, &error), 0);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Sandbox::ReadFile(logPath), earlier);
    EXPECT_FALSE(platform::FileExists(logPath + ".tmp"));
}

TEST(SavedSiteLog, LeftoverTmpOfAnEndedRunIsTakenBack) {
    // Only the ".tmp" is left: it is the site's log and the save becomes an update check.
    {
        Sandbox box;
        const std::string logPath = box / kSavedSiteLogName;
        Sandbox::WriteFile(logPath + ".tmp", Header(box.Path(), 0x11C301, 1, 0));
        SavedSiteLogReader reader;
        EXPECT_EQ(ReadSavedSiteLogHeader(logPath, reader), LogInUse);
        engine::SaveJob job;
        SetUpJob(job, box.Path());
        std::unique_ptr<SavedSiteLog> log(OpenSavedSiteLogForSave(job));
        EXPECT_TRUE(job.UpdateCheck());
        EXPECT_TRUE(platform::FileExists(logPath + ".tmp"));
        EXPECT_FALSE(platform::FileExists(logPath));
    }
    // A newer log exists beside it: the ".tmp" goes and the log is compared as usual.
    {
        Sandbox box;
        const std::string logPath = box / kSavedSiteLogName;
        Sandbox::WriteFile(logPath + ".tmp", Header(box.Path(), 0x11C301, 1, 0));
        Sandbox::WriteFile(logPath, Header(box.Path(), 0x11C301, 2, 0));
        engine::SaveJob job;
        SetUpJob(job, box.Path(), 0x11C301, 2);
        std::unique_ptr<SavedSiteLog> log(OpenSavedSiteLogForSave(job));
        EXPECT_TRUE(job.UpdateCheck());
        SavedSiteLogReader reader;
        EXPECT_EQ(ReadSavedSiteLogHeader(logPath + ".tmp", reader), LogRead);
        EXPECT_EQ(reader.lankLimit, 2);
    }
}

TEST(SavedSiteLog, TmpHeldByARunningCheckIsLeftAlone) {
    Sandbox box;
    const std::string logPath = box / kSavedSiteLogName;
    Sandbox::WriteFile(logPath, Header(box.Path(), 0x11C301, 1, 0));
    engine::SaveJob first;
    SetUpJob(first, box.Path());
    std::unique_ptr<SavedSiteLog> running(OpenSavedSiteLogForSave(first));
    ASSERT_TRUE(first.UpdateCheck());

    // A second save into the same target while the check runs: reader error 3, a new save.
    engine::SaveJob second;
    SetUpJob(second, box.Path());
    std::unique_ptr<SavedSiteLog> other(OpenSavedSiteLogForSave(second));
    EXPECT_FALSE(second.UpdateCheck());
    EXPECT_EQ(Sandbox::ReadFile(logPath + ".tmp"), Header(box.Path(), 0x11C301, 1, 0));
}
