// The catalogue file: registrations, damaged files, concurrent writers, stale entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "suite/Catalogue.h"
#include "suite/ListLoader.h"
#include "suite/Registration.h"
#include "tests/support/Sandbox.h"

using namespace suite;
using testsupport::Sandbox;

namespace {

std::string Reread(const std::string& path) {
    Catalogue again(path);
    EXPECT_NE(again.Load(), LoadDamaged);
    std::string text;
    for (const QdxEntry& e : again.QdxEntries()) text += "Q " + e.localPath + " " + e.openTimes + "\n";
    for (const FileEntry& e : again.FileEntries()) text += "F " + e.remote + " " + e.local + "\n";
    return text;
}

}  // namespace

TEST(Catalogue, RegistrationsCountRecordsAndKeepTheFirstLocalPath) {
    Sandbox box;
    const std::string path = box / kCatalogueFileName;
    const std::string quoted = box / "it's a site.qdx";
    const struct {
        Registration r;
        int result;
    } steps[] = {
        {{"QDX", quoted, ""}, RegisterAdded},
        {{"qdx", quoted, ""}, RegisterCounted},
        {{"QDX", box / "保存～サイト.qdx", ""}, RegisterAdded},
        {{"FILE", "http://h/a.jpg", box / "a.jpg"}, RegisterAdded},
        {{"FILE", "http://h/a.jpg", box / "b.jpg"}, RegisterKnown},
        {{"SITE", "http://h/", box / "index.html"}, RegisterKnown},
        {{"QDX", box / "caf\xc3\xa9.qdx", ""}, RegisterDropped},  // no Shift-JIS code for e-acute
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.r.kind + " " + step.r.first);
        EXPECT_EQ(RegisterInFile(path, step.r), 1);
        Catalogue check(path);
        // Applying the same step again to a throw-away copy shows what it did.
        EXPECT_EQ(ApplyRegistration(check, step.r) == RegisterDropped, step.result == RegisterDropped);
    }
    EXPECT_EQ(Reread(path), "Q " + quoted + " 2\nQ " + (box / "保存～サイト.qdx") + " 1\nF http://h/a.jpg " + (box / "a.jpg") + "\n");
    EXPECT_NE(Sandbox::ReadFile(path).find("\x95\xdb\x91\xb6\x81\x60"), std::string::npos);  // Shift-JIS on disk
    EXPECT_NE(Sandbox::ReadFile(path).find("it&apos;s a site.qdx"), std::string::npos);
}

TEST(Catalogue, DamagedFileIsSetAsideAndNeverOverwritten) {
    for (const std::string& bad : {std::string("<qdxsuite><last_open_qdx>"), std::string("<other />"),
                                  std::string("\x81\xff garbage"), std::string()}) {
        SCOPED_TRACE(bad);
        Sandbox box;
        const std::string path = box / kCatalogueFileName;
        Sandbox::WriteFile(path, bad);
        Catalogue catalogue(path);
        std::string message;
        EXPECT_EQ(catalogue.Load(&message), LoadDamaged);
        EXPECT_NE(message.find(".damaged"), std::string::npos);
        EXPECT_TRUE(catalogue.QdxEntries().empty());
        EXPECT_EQ(Sandbox::ReadFile(path + ".damaged"), bad);
        EXPECT_EQ(catalogue.RegisterQdx(box / "a.qdx"), RegisterAdded);
        EXPECT_EQ(catalogue.Commit(), 1);
        EXPECT_EQ(Sandbox::ReadFile(path + ".damaged"), bad);
        EXPECT_EQ(Reread(path), "Q " + (box / "a.qdx") + " 1\n");
    }
}

TEST(Catalogue, AWriteWithoutTheLockIsRefusedAndItsChangesKept) {
    Sandbox box;
    const std::string path = box / kCatalogueFileName;
    Sandbox::WriteFile(path + ".lock/in-the-way", "");  // the lock file cannot be opened
    Catalogue catalogue(path);
    EXPECT_EQ(catalogue.RegisterQdx(box / "a.qdx"), RegisterAdded);
    std::string error;
    EXPECT_EQ(catalogue.Commit(&error), 0);
    EXPECT_NE(error.find("ロックできません"), std::string::npos) << error;
    EXPECT_FALSE(Sandbox::Exists(path));
    EXPECT_TRUE(catalogue.Changed());
    std::filesystem::remove_all(path + ".lock");
    EXPECT_EQ(catalogue.Commit(&error), 1);
    EXPECT_EQ(Reread(path), "Q " + (box / "a.qdx") + " 1\n");
}

TEST(Catalogue, WritersAtTheSameMomentKeepEachOthersEntries) {
    Sandbox box;
    const std::string path = box / kCatalogueFileName;
    constexpr int kEach = 15;
    auto writer = [&](const std::string& prefix) {
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(RegisterInFile(path, {"QDX", box / (prefix + std::to_string(i) + ".qdx"), ""}), 1);
    };
    // A holder that loaded before the others wrote still merges its own change in.
    Catalogue early(path);
    (void)early.Load();
    {
        std::jthread a(writer, "a"), b(writer, "b");
    }
    EXPECT_EQ(early.RegisterFile("http://h/x", box / "x"), RegisterAdded);
    EXPECT_EQ(early.Commit(), 1);
    Catalogue check(path);
    EXPECT_EQ(check.QdxEntries().size(), 2u * kEach);
    EXPECT_EQ(check.FileEntries().size(), 1u);
}

TEST(Catalogue, EntriesOfVanishedFilesAreDroppedAtLoad) {
    Sandbox box;
    const std::string path = box / kCatalogueFileName;
    Sandbox::WriteFile(box / "kept.qdx", "769\r\n");
    Sandbox::WriteFile(box / "kept.jpg", "x");
    ASSERT_EQ(RegisterInFile(path, {"QDX", box / "kept.qdx", ""}), 1);
    ASSERT_EQ(RegisterInFile(path, {"QDX", box / "gone.qdx", ""}), 1);
    ASSERT_EQ(RegisterInFile(path, {"QDX", box.Path(), ""}), 1);  // a folder is no record
    ASSERT_EQ(RegisterInFile(path, {"FILE", "http://h/kept.jpg", box / "kept.jpg"}), 1);
    ASSERT_EQ(RegisterInFile(path, {"FILE", "http://h/gone.jpg", box / "gone.jpg"}), 1);
    Catalogue catalogue(path);
    const std::vector<QdxRow> qdx = LoadQdxRows(catalogue);
    const std::vector<FileRow> files = LoadFileRows(catalogue);
    ASSERT_EQ(qdx.size(), 1u);
    EXPECT_EQ(qdx[0].fileName, "kept.qdx");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].fileName, "kept.jpg");
    EXPECT_TRUE(catalogue.Changed());
    EXPECT_EQ(catalogue.Commit(), 1);
    EXPECT_EQ(Reread(path), "Q " + (box / "kept.qdx") + " 1\nF http://h/kept.jpg " + (box / "kept.jpg") + "\n");
}
