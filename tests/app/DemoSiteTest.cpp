// The bundled demo site saved end to end by the Sitrova program, then walked like a browser
// would walk the copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "platform/Process.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

namespace fs = std::filesystem;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

const std::string kSite = std::string(SITROVA_TEST_DATA) + "/demo-site";

std::string Decode(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Relative links of the saved pages and style sheets that lead to no file inside the copy:
// "page → link".
std::set<std::string> BrokenLinks(const fs::path& root) {
    static const std::regex link(R"re((?:href|src|background)\s*=\s*(?:"([^"]*)"|'([^']*)')|url\(\s*["']?([^"')]+))re",
                                 std::regex::icase);
    std::set<std::string> broken;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".html" && ext != ".css") continue;
        const std::string text = Sandbox::ReadFile(entry.path().string());
        for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
            std::string target = (*it)[1].matched ? (*it)[1].str() : (*it)[2].matched ? (*it)[2].str() : (*it)[3].str();
            if (target.empty() || target[0] == '#' || target.find("://") != std::string::npos ||
                target.rfind("mailto:", 0) == 0)
                continue;
            target = target.substr(0, target.find('#'));
            const fs::path local = (entry.path().parent_path() / Decode(target)).lexically_normal();
            const bool inside = local.string().rfind(root.lexically_normal().string(), 0) == 0;
            if (!inside || !fs::exists(local))
                broken.insert(fs::relative(entry.path(), root).string() + " → " + target);
        }
    }
    return broken;
}

}  // namespace

TEST(DemoSite, SavedCopyBrowsesOffline) {
    Sandbox box;
    LoopbackServer other(kSite + "/other", "", "127.0.0.2");
    ASSERT_TRUE(other.Running());
    LoopbackServer main(kSite + "/main", Sandbox::ReadFile(kSite + "/rules.json"), "127.0.0.1",
                        {"PORT2=" + std::to_string(other.Port())});
    ASSERT_TRUE(main.Running());

    const std::string out = box / "out/";
    fs::create_directories(out);
    const std::string url = main.BaseUrl() + "/site/top/index.html";
    const std::string arg = "SomeComplete,\"" + url + "\",\"" + out + "demo.html\",\"" +
                            std::to_string(0x1 | 0x100 | 0x200 | 0x80000) + "\",\"1\",\"4\"";
    int code = -1;
    ASSERT_EQ(platform::StartProcess("timeout", {"120", std::string(SITROVA_BIN_DIR) + "/Sitrova", arg}, true, &code),
              platform::ProcessStarted);
    EXPECT_EQ(code, 0);

    const fs::path data = fs::path(out) / "demo.files";
    const fs::path top = data / "top";
    // The start page lies one mirrored level below the data folder; the page above it, too.
    EXPECT_TRUE(fs::exists(top / "index.html"));
    EXPECT_TRUE(fs::exists(data / "shared.html"));
    // Folder links point at the folder's index page; absolute links to the site became relative.
    const std::string start = Sandbox::ReadFile((top / "index.html").string());
    EXPECT_NE(start.find("href=\"docs/index.html\""), std::string::npos);
    EXPECT_NE(start.find("href=\"absolute.html\""), std::string::npos);
    // The page's own text stays: the blanks around "=" are not taken out.
    EXPECT_NE(start.find("href = \"news.html\""), std::string::npos);
    // The query page under its local name, the picture from the other host beside the page.
    // "&amp;" in the link is the "&" of the query.
    EXPECT_TRUE(fs::exists(top / "list__php____q_page=1__a_sort=new.html"));
    EXPECT_NE(start.find("href=\"list__php____q_page=1__a_sort=new.html\""), std::string::npos);
    EXPECT_TRUE(fs::exists(top / "index.files" / "remote.png"));
    EXPECT_NE(start.find("src=\"index.files/remote.png\""), std::string::npos);
    // Style sheets, their pictures and imports; the script; the popup page.
    for (const char* f : {"css/main.css", "css/extra.css", "img/bg.gif", "img/title.png", "img/bullet.gif",
                          "js/app.js", "popup.html", "img/logo.png", "img/photo.jpg", "docs/guide.html"})
        EXPECT_TRUE(fs::exists(top / f)) << f;
    // The long page came whole over a connection that broke twice.
    EXPECT_EQ(Sandbox::ReadFile((top / "big.html").string()), Sandbox::ReadFile(kSite + "/main/site/top/big.html"));
    // A page that is gone left its placeholder; HTML under a picture name was not kept.
    EXPECT_EQ(Sandbox::ReadFile((top / "missing.html").string()).rfind("<html><head><title>Failed Download</title>", 0), 0u);
    EXPECT_FALSE(fs::exists(top / "img/fake.jpg"));

    // Every link resolves to a saved file or is absolute: what was refused or failed points online.
    EXPECT_EQ(BrokenLinks(data), std::set<std::string>{});
    for (const std::string online : {"/site/top/img/fake.jpg\"", "/etc/passwd\""})
        EXPECT_NE(start.find("\"" + main.BaseUrl() + online), std::string::npos) << online;

    // Nothing was written outside the save folder.
    std::set<std::string> outside;
    for (const auto& entry : fs::recursive_directory_iterator(box.Path()))
        if (entry.path().string().rfind(out, 0) != 0 && entry.path().string() + "/" != out)
            outside.insert(entry.path().string());
    EXPECT_TRUE(outside.empty()) << *outside.begin();
    std::set<std::string> topLevel;
    for (const auto& entry : fs::directory_iterator(out)) topLevel.insert(entry.path().filename().string());
    EXPECT_EQ(topLevel, (std::set<std::string>{"demo.html", "demo.files", "demo.qdx", "demo-Description.log"}));
}
