// The QdxSuite program started the way Sitrova and the album downloader start it, and a
// complete save by Sitrova with QdxSuite beside it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/UserPlaces.h"
#include "platform/Version.h"
#include "suite/Catalogue.h"
#include "tests/support/HeadlessRun.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using testsupport::Sandbox;

namespace {

// Copies a built program into the sandbox so that its companion files land there.
std::string Install(const Sandbox& box, const char* program) {
    const std::string target = box / program;
    EXPECT_TRUE(platform::CopyFile(std::string(SITROVA_BIN_DIR) + "/" + program, target));
    (void)::chmod(target.c_str(), 0755);
    // Sitrova opens its windows from the library beside it.
    if (std::string(program) == "Sitrova") {
        EXPECT_TRUE(platform::CopyFile(std::string(SITROVA_BIN_DIR) + "/libSitrovaWindows.so",
                                       box / "libSitrovaWindows.so"));
    }
    return target;
}

int RunProgram(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "timeout", "60", program});
    int code = -1;
    EXPECT_EQ(platform::StartProcess("env", args, true, &code), platform::ProcessStarted);
    return code;
}

}  // namespace

// An installed suite (its folder marked by the package) keeps each user's catalogue in the
// user's data folder and writes nothing beside itself.
TEST(SuiteProgram, AnInstalledSuiteKeepsTheCatalogueInTheUsersDataFolder) {
    Sandbox box;
    ASSERT_EQ(::mkdir((box / "program").c_str(), 0755), 0);
    const std::string suite = box / "program/QdxSuite";
    ASSERT_TRUE(platform::CopyFile(Install(box, "QdxSuite"), suite));
    (void)::chmod(suite.c_str(), 0755);
    Sandbox::WriteFile(box / "program/" + platform::kPerUserMarkerName, "");
    Sandbox::WriteFile(box / "site.qdx", "1\r\n");
    int code = -1;
    ASSERT_EQ(platform::StartProcess("env", {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "XDG_DATA_HOME=" + box / "data",
                                             "XDG_CONFIG_HOME=" + box / "config", "timeout", "60", suite, "QDX",
                                             box / "site.qdx"},
                                     true, &code),
              platform::ProcessStarted);
    EXPECT_EQ(code, 0);
    suite::Catalogue catalogue(box / "data/sitrova/" + suite::kCatalogueFileName);
    ASSERT_EQ(catalogue.Load(), suite::LoadRead);
    EXPECT_EQ(catalogue.QdxEntries().size(), 1u);
    EXPECT_FALSE(Sandbox::Exists(box / "program/" + suite::kCatalogueFileName));
}

TEST(SuiteProgram, RegistrationsFromArgumentsEndByThemselves) {
    Sandbox box;
    const std::string suite = Install(box, "QdxSuite");
    const std::string record = box / "site.qdx";
    Sandbox::WriteFile(record, "1\r\n");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(RunProgram(suite, {"QDX", record}), 0);
        EXPECT_EQ(RunProgram(suite, {"FILE", "http://h/p.jpg", box / ("p" + std::to_string(i) + ".jpg")}), 0);
    }
    suite::Catalogue catalogue(box / suite::kCatalogueFileName);
    ASSERT_EQ(catalogue.Load(), suite::LoadRead);
    const auto qdx = catalogue.QdxEntries();
    ASSERT_EQ(qdx.size(), 1u);
    EXPECT_EQ(qdx[0].openTimes, "2");
    const auto files = catalogue.FileEntries();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].local, box / "p0.jpg");
}

TEST(SuiteProgram, CompleteSaveRegistersItsRecord) {
    Sandbox box;
    Sandbox::WriteFile(box / "site/index.html", "<html><body><a href=\"b.html\">b</a></body></html>");
    Sandbox::WriteFile(box / "site/b.html", "<html><body>b</body></html>");
    testsupport::LoopbackServer server(box / "site");
    ASSERT_TRUE(server.Running());
    const std::string sitrova = Install(box, "Sitrova");
    (void)Install(box, "QdxSuite");
    ASSERT_TRUE(platform::CreateFolder(box / "out"));
    const std::string arg = "SomeComplete,\"" + server.BaseUrl() + "/index.html\",\"" + (box / "out/docs.html") +
                            "\",\"769\",\"0\",\"4\"";
    EXPECT_EQ(RunProgram(sitrova, {arg}), 0);
    const std::string catalogue = box / suite::kCatalogueFileName;
    // QdxSuite runs detached from Sitrova's exit; give it a moment.
    for (int i = 0; i < 200 && !platform::IsRegularFile(catalogue); ++i) ::usleep(50000);
    ::usleep(200000);
    suite::Catalogue check(catalogue);
    ASSERT_EQ(check.Load(), suite::LoadRead);
    const auto entries = check.QdxEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].localPath, box / "out/docs.qdx");
}

TEST(SuiteProgram, WithoutADisplayOnlyRegistrationsRunAndBadOnesAreRefused) {
    Sandbox box;
    const std::string suite = Install(box, "QdxSuite");
    for (const std::vector<std::string>& nothingUnattended : {std::vector<std::string>{}, {"QDX"}}) {
        const auto run = testsupport::RunHeadless(suite, nothingUnattended, box.Path());
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find("使い方: QdxSuite"), std::string::npos) << run.err;
    }
    auto run = testsupport::RunHeadless(suite, {"--help"}, box.Path());
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("終了コード"), std::string::npos);
    EXPECT_EQ(testsupport::RunHeadless(suite, {"--version"}, box.Path()).out, std::string("QdxSuite ") + platform::kSuiteVersion + "\n");

    for (const std::vector<std::string>& refused : {std::vector<std::string>{"QDX", "gone.qdx"}, {"NOTE", "x"}}) {
        run = testsupport::RunHeadless(suite, refused, box.Path());
        EXPECT_EQ(run.code, 2) << refused[1];
        EXPECT_NE(run.err.find("QdxSuite: "), std::string::npos) << run.err;
    }
    EXPECT_FALSE(platform::IsRegularFile(box / suite::kCatalogueFileName));

    // A relative path is taken from the caller's folder and kept in full.
    Sandbox::WriteFile(box / "sub/site.qdx", "1\r\n");
    run = testsupport::RunHeadless(suite, {"QDX", "site.qdx"}, box / "sub");
    EXPECT_EQ(run.code, 0) << run.err;
    suite::Catalogue catalogue(box / suite::kCatalogueFileName);
    ASSERT_EQ(catalogue.Load(), suite::LoadRead);
    ASSERT_EQ(catalogue.QdxEntries().size(), 1u);
    EXPECT_EQ(catalogue.QdxEntries()[0].localPath, box / "sub/site.qdx");
}
