// The not-found plug-in, loaded from its built file, and the host that finds and runs checks.
#include <gtest/gtest.h>

#include <cstring>

#include "download/PlugInHost.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileUtil.h"
#include "tests/support/Sandbox.h"

using namespace download;
using testsupport::Sandbox;

namespace {

const std::string kPlugIn = std::string(SITROVA_BIN_DIR) + "/Sitg_PlgIn_NotFound.qdi";
const std::string kJpeg = "\xFF\xD8\xFF\xE0rest";
const std::string kHtml = "<html><head><title>missing</title></head></html>";

}  // namespace

TEST(NotFoundPlugIn, ChecksPictureAndZipHeadersAgainstTheUrl) {
    platform::DynamicLibrary library(kPlugIn);
    ASSERT_TRUE(library.Loaded());
    const auto picture = library.Function<PlugInCheckFn>("IsExpectPicture");
    const auto zip = library.Function<PlugInCheckFn>("IsExpectZip");
    ASSERT_TRUE(picture && zip);
    struct Case {
        PlugInCheckFn check;
        std::string data;
        const char* url;
        int expected;
    } cases[] = {
        {picture, kJpeg, "http://h/A.JPG", 1},
        {picture, kHtml, "http://h/A.JPG", 0},
        {picture, kHtml, "http://h/a.jpg?size=2", 1},
        {picture, "GIF89a", "http://h/a.png", 1},
        {picture, std::string("\x89PNG\r\n\x1A\n", 8), "http://h/a.jpeg", 1},
        {picture, "", "http://h/a.gif", 0},
        {picture, kHtml, "http://h/a.html", 1},
        {zip, std::string("PK\x03\x04", 4), "http://h/a.zip", 1},
        {zip, kHtml, "http://h/a.zip", 0},
        {zip, kHtml, "http://h/A.ZIP", 0},
        {zip, kHtml, "http://h/dir/", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.url) + " " + c.data.substr(0, 6));
        EXPECT_EQ(c.check(reinterpret_cast<const unsigned char*>(c.data.data()), static_cast<int>(c.data.size()), c.url),
                  c.expected);
    }

    const auto names = library.Function<PlugInNameFn>("GetDlPrgFunction");
    char buffer[8] = "keep";
    EXPECT_EQ(names(2, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "keep");
    EXPECT_EQ(names(0, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "IsExpec");  // cut to the buffer
}

TEST(PlugInHost, FindsRegistersAndRunsChecksLastToFirst) {
    Sandbox folder;
    EXPECT_TRUE(PlugInListItems(folder.Path().substr(0, folder.Path().size() - 1)).empty());
    ASSERT_TRUE(platform::CopyFile(kPlugIn, folder / "Sitg_PlgIn_NotFound.qdi"));
    Sandbox::WriteFile(folder / "broken.qdi", "no library");
    const std::string dir = folder.Path().substr(0, folder.Path().size() - 1);

    ASSERT_EQ(FindPlugIns(dir), std::vector<std::string>{dir + "/Sitg_PlgIn_NotFound.qdi"});
    EXPECT_EQ(PlugInListItems(dir), (std::vector<std::string>{"画像ファイルヘッダチェック ( ./Sitg_PlgIn_NotFound.qdi)",
                                                              "Zipファイルヘッダチェック ( ./Sitg_PlgIn_NotFound.qdi)"}));

    PlugInChecks checks;
    checks.RegisterFolder(dir);
    ASSERT_EQ(checks.Items().size(), 2u);
    EXPECT_EQ(checks.Run(kHtml.data(), kHtml.size(), "http://h/a.jpg"), 1);
    EXPECT_EQ(checks.Run(kJpeg.data(), kJpeg.size(), "http://h/a.jpg"), 0);
    EXPECT_EQ(checks.Run(kHtml.data(), kHtml.size(), "http://h/a.zip"), 1);

    // Sixteen registrations at most; a missing export is skipped when checks run.
    PlugInChecks full;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(full.Register(dir + "/Sitg_PlgIn_NotFound.qdi", "NoSuchExport"), 1);
    EXPECT_EQ(full.Register(dir + "/Sitg_PlgIn_NotFound.qdi", "IsExpectPicture"), 0);
    EXPECT_EQ(full.Run(kHtml.data(), kHtml.size(), "http://h/a.jpg"), 0);
}
