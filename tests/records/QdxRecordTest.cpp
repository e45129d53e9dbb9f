// The reader of .qdx records: statuses, messages and the removal of stale records.
#include <gtest/gtest.h>

#include "records/QdxRecord.h"
#include "tests/records/LogText.h"
#include "tests/support/Sandbox.h"

using testsupport::Sandbox;

namespace {

constexpr const char* kUnsupported = "Qdx-Error:1\r\n指定されたファイルはサポートされていない形式です。";
constexpr const char* kCannotOpen = "Qdx-Error:2\r\n指定されたファイルが開けません。";

std::string HeaderOnlyLog(const std::string& folder) {
    recordstest::LogHeader h;
    h.storedFolder = folder;
    h.saveName = "index.html";
    h.urlBase = "http://example.com/";
    h.urlLeaf = "index.html";
    return recordstest::LogText(h, {});
}

}  // namespace

TEST(QdxRecord, TheLogLiesBesideTheRecordOrInItsDataFolder) {
    EXPECT_EQ(records::QdxLogPath("/s/site.qdx", 769), "/s/site.files/SitrovSaveInfo.log");
    EXPECT_EQ(records::QdxLogPath("/s/site.qdx", 0x201), "/s/SitrovSaveInfo.log");
    EXPECT_EQ(records::QdxLogPath("/s.d/site", 0x100), "/s.d/site.files/SitrovSaveInfo.log");
}

TEST(QdxRecord, RecordsThatAreNoRecordsGiveStatusAndMessageNeverACrash) {
    Sandbox s;
    struct Case {
        const char* name;
        std::string bytes;
        int status;
        const char* message;
    } cases[] = {
        {"zero.qdx", "0\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n", 1, kUnsupported},
        {"text.qdx", "hello\r\n", 1, kUnsupported},
        {"empty.qdx", "", 1, kUnsupported},
        {"negative.qdx", "-769\r\n", 1, kUnsupported},
        {"huge.qdx", "99999999999999999999999\r\n", 1, kUnsupported},
        {"binary.qdx", std::string("\0\xff\xfe\n769", 7), 1, kUnsupported},
        {"long.qdx", std::string(100000, 'x'), 1, kUnsupported},
    };
    for (const Case& c : cases) {
        Sandbox::WriteFile(s / c.name, c.bytes);
        records::QdxRecordReader reader;
        EXPECT_EQ(records::OpenQdxRecord(s / c.name, reader), c.status) << c.name;
        EXPECT_EQ(reader.status, c.status) << c.name;
        EXPECT_EQ(reader.message, c.message) << c.name;
        EXPECT_TRUE(Sandbox::Exists(s / c.name)) << c.name;  // only a record without log is removed
    }
    records::QdxRecordReader reader;
    EXPECT_EQ(records::OpenQdxRecord(s / "missing.qdx", reader), records::QdxCannotOpen);
    EXPECT_EQ(reader.message, kCannotOpen);
    EXPECT_EQ(records::OpenQdxRecord(s.Path(), reader), records::QdxCannotOpen);  // a folder
}

TEST(QdxRecord, ARecordWhoseLogIsGoneIsDeleted) {
    Sandbox s;
    Sandbox::WriteFile(s / "site.qdx", "769\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n");
    records::QdxRecordReader reader;
    EXPECT_EQ(records::OpenQdxRecord(s / "site.qdx", reader), records::QdxLogError);
    EXPECT_EQ(reader.log.error, records::LogMissing);
    EXPECT_EQ(reader.message, reader.log.message);
    EXPECT_EQ(reader.message.rfind("Error:2\r\n", 0), 0u);
    EXPECT_FALSE(Sandbox::Exists(s / "site.qdx"));
}

TEST(QdxRecord, ALogInUseIsReportedAndTheRecordStays) {
    Sandbox s;
    Sandbox::WriteFile(s / "site.qdx", "769\r\n");
    Sandbox::WriteFile(s / "site.files/SitrovSaveInfo.log", HeaderOnlyLog(s / "site.files/"));
    Sandbox::WriteFile(s / "site.files/SitrovSaveInfo.log.tmp", "");
    records::QdxRecordReader reader;
    EXPECT_EQ(records::OpenQdxRecord(s / "site.qdx", reader), records::QdxLogError);
    EXPECT_EQ(reader.log.error, records::LogInUse);
    EXPECT_EQ(reader.message.rfind("Error:3\r\n", 0), 0u);
    EXPECT_TRUE(Sandbox::Exists(s / "site.qdx"));
}

TEST(QdxRecord, AReadableRecordCarriesItsLogHeader) {
    Sandbox s;
    Sandbox::WriteFile(s / "page.qdx", "513\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n");
    Sandbox::WriteFile(s / "SitrovSaveInfo.log", HeaderOnlyLog(s.Path()));
    records::QdxRecordReader reader;
    EXPECT_EQ(records::OpenQdxRecord(s / "page.qdx", reader), records::QdxReadable);
    EXPECT_EQ(reader.modeWord, 513u);
    EXPECT_EQ(reader.logPath, s / "SitrovSaveInfo.log");
    EXPECT_EQ(reader.log.error, records::LogRead);
    EXPECT_EQ(reader.log.urlBase, "http://example.com/");
    EXPECT_EQ(reader.log.entryCount, 0u);
}
