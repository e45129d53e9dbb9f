// The bundled demo site saved end to end by the Sitrova program, then walked like a browser
// would walk the copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "filters/CutAdv.h"
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
// "page → link". Every srcset candidate counts as a link.
std::set<std::string> BrokenLinks(const fs::path& root) {
    static const std::regex link(
        R"re((?:href|src|background|poster)\s*=\s*(?:"([^"]*)"|'([^']*)')|url\(\s*["']?([^"')]+)|srcset\s*=\s*"[^"]*?([^", ]+) \d+x")re",
        std::regex::icase);
    static const std::regex scheme("^[A-Za-z][A-Za-z0-9+.-]*:");
    std::set<std::string> broken;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".html" && ext != ".css") continue;
        const std::string text = Sandbox::ReadFile(entry.path().string());
        for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
            std::string target;
            for (int g = 1; g <= 4 && target.empty(); ++g) target = (*it)[g].str();
            if (target.empty() || target[0] == '#' || std::regex_search(target, scheme)) continue;
            target = target.substr(0, target.find('#'));
            const fs::path local = (entry.path().parent_path() / Decode(target)).lexically_normal();
            const bool inside = local.string().rfind(root.lexically_normal().string(), 0) == 0;
            if (!inside || !fs::exists(local))
                broken.insert(fs::relative(entry.path(), root).string() + " → " + target);
        }
    }
    return broken;
}

// Runs the Sitrova program with one argument and waits for it; its exit code, or -1.
int RunSitrova(const std::string& argument) {
    int code = -1;
    if (platform::StartProcess("timeout", {"120", std::string(SITROVA_BIN_DIR) + "/Sitrova", argument}, true, &code) !=
        platform::ProcessStarted)
        return -1;
    return code;
}

// Saves the demo site into `out` as demo.html (data folder, record file, query pages).
int SaveDemoSite(const LoopbackServer& main, const std::string& out) {
    fs::create_directories(out);
    const std::string url = main.BaseUrl() + "/site/top/index.html";
    return RunSitrova("SomeComplete,\"" + url + "\",\"" + out + "demo.html\",\"" +
                      std::to_string(0x1 | 0x100 | 0x200 | 0x80000) + "\",\"1\",\"4\"");
}

std::map<std::string, std::string> FilesBelow(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = Sandbox::ReadFile(entry.path().string());
    return files;
}

}  // namespace

// The demo site as scripts/demo.sh serves it: the main server, and a second host it links to.
class DemoSite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(other.Running());
        ASSERT_TRUE(main.Running());
    }
    Sandbox box;
    LoopbackServer other{kSite + "/other", "", "127.0.0.2"};
    LoopbackServer main{kSite + "/main", Sandbox::ReadFile(kSite + "/rules.json"), "127.0.0.1",
                        {"PORT2=" + std::to_string(other.Port())}};
};

TEST_F(DemoSite, SavedCopyBrowsesOffline) {
    const std::string out = box / "out/";
    EXPECT_EQ(SaveDemoSite(main, out), 1);  // saved, but missing.html is gone

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
    for (const std::string online : {"/site/top/img/fake.jpg\"", "/etc/passwd\"", "/site/top/media/none.webm\""})
        EXPECT_NE(start.find("\"" + main.BaseUrl() + online), std::string::npos) << online;

    // Page text is kept but for the links.
    EXPECT_NE(start.find("<p>1 + 1 = 2, and a script's <code>var s = \"a = b\"</code>"), std::string::npos);
    // Shift-JIS link names (second byte 0x5C) are stored under UTF-8 names and linked escaped.
    EXPECT_TRUE(fs::exists(top / "表示.html"));
    EXPECT_TRUE(fs::exists(top / "ソ" / "index.html"));
    const std::string sjis = Sandbox::ReadFile((top / "sjis.html").string());
    EXPECT_NE(sjis.find("href=\"%E8%A1%A8%E7%A4%BA.html\""), std::string::npos);
    // Escaped names are stored decoded; the links as written still open them.
    EXPECT_TRUE(fs::exists(top / "operator=.html"));
    EXPECT_TRUE(fs::exists(top / "operator().html"));
    EXPECT_NE(start.find("href=\"operator%3D.html\""), std::string::npos);
    // Links from the server root in a deep page; the one above the saved levels points online.
    const std::string deep = Sandbox::ReadFile((top / "docs/deep/a/page.html").string());
    for (const char* local : {"href=\"../../../about.html\"", "href=\"../../../../shared.html\"",
                              "src=\"../../../img/logo.png\"", "href=\"../../../css/main.css\""})
        EXPECT_NE(deep.find(local), std::string::npos) << local;
    EXPECT_NE(deep.find("href=\"" + main.BaseUrl() + "/outside.html\""), std::string::npos);
    // A redirected folder is stored where it was linked; its links lead where the server sent it.
    const std::string moved = Sandbox::ReadFile((top / "old/index.html").string());
    EXPECT_NE(moved.find("href=\"../docs/guide.html\""), std::string::npos) << moved;
    // A base address is honoured, and the copy resolves against itself.
    const std::string based = Sandbox::ReadFile((top / "based/page.html").string());
    EXPECT_NE(based.find("href=\"../docs/guide.html\""), std::string::npos);
    EXPECT_NE(based.find("<base data-href="), std::string::npos);
    // A query with an entity has a local name without "?"; the host-relative link is local.
    EXPECT_TRUE(fs::exists(top / "about__q_from=top__a_lang=en.html"));
    EXPECT_NE(start.find("href=\"about__q_from=top__a_lang=en.html\""), std::string::npos);
    EXPECT_NE(start.find("href=\"popup.html\""), std::string::npos);
    // srcset candidates, data-src, poster and refresh targets are saved.
    for (const char* f :
         {"img/photo.webp", "img/logo-2x.png", "img/logo@3x.png", "img/bullet.gif", "img/title.png", "refresh.html"})
        EXPECT_TRUE(fs::exists(top / f)) << f;
    // Anchors, other schemes and other hosts' start pages are no files; a dead host is online.
    EXPECT_FALSE(fs::exists(top / "virtinst.os"));
    EXPECT_FALSE(fs::exists(top / "index.files" / ("127.0.0.2:" + std::to_string(other.Port()))));
    EXPECT_NE(start.find("src=\"http://127.0.0.1:1/dead.png\""), std::string::npos);
    EXPECT_NE(start.find("href=\"#virtinst.os\""), std::string::npos);
    // Past the 511th link the page is still followed: a page that is gone there leaves its
    // placeholder, and its missing picture points online.
    const std::string many = Sandbox::ReadFile((top / "many.html").string());
    EXPECT_NE(many.find("href=\"about.html\""), std::string::npos);
    EXPECT_NE(many.find("href=\"never-scanned.html\""), std::string::npos);
    EXPECT_NE(many.find("src=\"" + main.BaseUrl() + "/site/top/img/never-scanned.png\""), std::string::npos);

    // The corner published with clean URLs: pages under names a browser opens, a page beside
    // the folder of its name, a style sheet named ".css", a plain file under its own name, a
    // folder linked without its slash, and the "robin/" folder and two-letter page followed.
    const fs::path clean = top / "clean";
    for (const char* f : {"index.html", "apt.html", "sect.apt-get.html", "blog.html", "blog/first-post.html",
                          "blog/index.html", "theme.css", "pics/dot.gif", "notes", "sub.html", "sub/page.html",
                          "robin/index.html", "go.html", "go__q_lang=en.html"})
        EXPECT_TRUE(fs::is_regular_file(clean / f)) << f;
    for (const char* f : {"apt", "go", "theme", "theme.html", "notes.html", "gone.html", "gone"})
        EXPECT_FALSE(fs::exists(clean / f)) << f;
    const std::string cleanStart = Sandbox::ReadFile((clean / "index.html").string());
    for (const char* local : {"href=\"theme.css\"", "href=\"apt.html\"", "href=\"sect.apt-get.html#install\"",
                              "href=\"blog.html\"", "href=\"blog/first-post.html\"", "href=\"sub.html\"",
                              "href=\"robin/index.html\"", "href=\"go.html\"", "href=\"notes\""})
        EXPECT_NE(cleanStart.find(local), std::string::npos) << local;
    EXPECT_NE(cleanStart.find("href=\"" + main.BaseUrl() + "/site/top/clean/gone\""), std::string::npos);
    // The folder's page, reached by a redirect, links where the server sent it.
    EXPECT_NE(Sandbox::ReadFile((clean / "sub.html").string()).find("href=\"sub/page.html\""), std::string::npos);
    EXPECT_NE(Sandbox::ReadFile((clean / "blog/first-post.html").string()).find("href=\"../blog.html\""),
              std::string::npos);
    EXPECT_NE(Sandbox::ReadFile((clean / "robin/index.html").string()).find("href=\"../go.html\""),
              std::string::npos);

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

// The demo site carries no advertisements: the removal run only puts its marker on top of each
// page and leaves every other file (style sheets, scripts, pictures, records) as it was.
TEST_F(DemoSite, AdRemovalLeavesThePagesAsTheyWereButForTheMarker) {
    const std::string out = box / "out/";
    ASSERT_EQ(SaveDemoSite(main, out), 1);  // saved, but missing.html is gone
    const std::map<std::string, std::string> before = FilesBelow(out);

    EXPECT_EQ(RunSitrova("advertisement,\"" + out + "demo.qdx\""), 0);
    const std::map<std::string, std::string> after = FilesBelow(out);
    ASSERT_EQ(after.size(), before.size());
    const std::string marker = filters::CurrentMarker();
    size_t marked = 0;
    for (const auto& [name, bytes] : before) {
        SCOPED_TRACE(name);
        ASSERT_EQ(after.count(name), 1u);
        const std::string& now = after.at(name);
        if (now == bytes) continue;
        EXPECT_TRUE(name.ends_with(".html")) << "not a page, yet changed";
        EXPECT_EQ(now, marker + bytes);
        ++marked;
    }
    EXPECT_EQ(after.at("demo.files/top/index.html"), marker + before.at("demo.files/top/index.html"));
    EXPECT_GT(marked, 10u);
}
