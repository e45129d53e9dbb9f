// Copies built from web archives by the Sitrova program: an archive another tool wrote of the
// demo site gives the copy a save from the network gives; what the archive lacks fails as a
// download fails; an archive that cannot be read is refused and says why.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "platform/Process.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

namespace fs = std::filesystem;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

const std::string kSite = std::string(SITROVA_TEST_DATA) + "/demo-site";
const std::string kModeBits = std::to_string(0x1 | 0x100 | 0x200 | 0x80000);

// Runs Sitrova with one argument and no display; its exit code (-1 when it did not run) and
// what it wrote on stderr.
int RunSitrova(const std::string& argument, const Sandbox& box, std::string* err = nullptr) {
    int code = -1;
    const std::vector<std::string> shell = {
        "-c", "exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 120 \"$0\" \"$1\" 2> \"$2\"",
        std::string(SITROVA_BIN_DIR) + "/Sitrova", argument, box / "err.txt"};
    if (platform::StartProcess("sh", shell, true, &code) != platform::ProcessStarted) return -1;
    if (err) *err = Sandbox::ReadFile(box / "err.txt");
    return code;
}

// The files of a copy and their bytes, without the record files and logs, whose times differ
// per run.
std::map<std::string, std::string> CopyFiles(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string rel = fs::relative(entry.path(), root).string();
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name.rfind("Sitrov", 0) == 0 || name.ends_with("-Description.log") ||
            name.ends_with(".qdx"))
            continue;
        files[rel] = Sandbox::ReadFile(entry.path().string());
    }
    return files;
}

// The URLs a server was asked for ("GET /path RANGE" lines of its log).
std::set<std::string> AskedUrls(const LoopbackServer& server) {
    std::set<std::string> urls;
    std::istringstream log(server.RequestLog());
    for (std::string method, path, rest; log >> method >> path && std::getline(log, rest);)
        if (method == "GET") urls.insert(server.BaseUrl() + path);
    return urls;
}

std::string Record(const std::string& uri, const std::string& http) {
    return "WARC/1.1\r\nWARC-Type: response\r\nWARC-Target-URI: " + uri +
           "\r\nWARC-Date: 2024-05-01T10:00:00Z\r\nContent-Type: application/http; msgtype=response\r\n"
           "Content-Length: " + std::to_string(http.size()) + "\r\n\r\n" + http + "\r\n\r\n";
}

std::string Page(const std::string& uri, const std::string& html) {
    return Record(uri, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(html.size()) +
                           "\r\n\r\n" + html);
}

}  // namespace

TEST(WarcCopyTest, ArchiveOfAnotherToolGivesTheCopyOfADirectSave) {
    if (std::system("command -v wget > /dev/null 2>&1") != 0) GTEST_SKIP() << "wget is not installed";
    Sandbox box;
    auto other = std::make_unique<LoopbackServer>(kSite + "/other", "", "127.0.0.2");
    ASSERT_TRUE(other->Running());
    auto main = std::make_unique<LoopbackServer>(kSite + "/main", Sandbox::ReadFile(kSite + "/rules.json"), "127.0.0.1",
                                                 std::vector<std::string>{"PORT2=" + std::to_string(other->Port())});
    ASSERT_TRUE(main->Running());
    const std::string start = main->BaseUrl() + "/site/top/index.html";
    fs::create_directories(box / "direct");
    EXPECT_EQ(RunSitrova("SomeComplete,\"" + start + "\",\"" + box / "direct/demo.html\",\"" + kModeBits + "\",\"1\",\"4\"", box),
              1);  // missing.html is gone

    // wget asks for every URL the save asked for and keeps the exchanges in its own WARC.
    std::string list;
    for (const auto* server : {main.get(), other.get()})
        for (const std::string& url : AskedUrls(*server)) list += url + "\n";
    Sandbox::WriteFile(box / "urls.txt", list);
    const std::string wget = "cd '" + box.Path() + "' && wget --quiet --tries=1 --warc-file=site --no-warc-keep-log "
                             "-O /dev/null -i urls.txt";
    (void)std::system(wget.c_str());  // ends with 8: missing.html answered 404
    ASSERT_TRUE(fs::exists(box / "site.warc.gz"));
    other.reset();
    main.reset();  // from here on, nothing answers on the network

    fs::create_directories(box / "warc");
    EXPECT_EQ(RunSitrova("SomeWarc,\"" + box / "site.warc.gz\",\"" + start + "\",\"" + box / "warc/demo.html\",\"" +
                             kModeBits + "\",\"1\",\"4\"",
                         box),
              1);
    const auto direct = CopyFiles(box / "direct");
    const auto fromWarc = CopyFiles(box / "warc");
    EXPECT_GT(direct.size(), 30u);
    std::set<std::string> differ;
    for (const auto& [name, bytes] : direct) {
        const auto found = fromWarc.find(name);
        if (found == fromWarc.end() || found->second != bytes) differ.insert(name);
    }
    for (const auto& [name, bytes] : fromWarc)
        if (!direct.count(name)) differ.insert(name);
    EXPECT_EQ(differ, std::set<std::string>{});
    EXPECT_TRUE(fs::exists(box / "warc/demo.qdx"));

    // Cut short, the archive still gives what it holds, and the run says what it lost.
    const std::string whole = Sandbox::ReadFile(box / "site.warc.gz");
    Sandbox::WriteFile(box / "cut.warc.gz", whole.substr(0, whole.size() / 2));
    fs::create_directories(box / "cut");
    std::string err;
    const int cut = RunSitrova("SomeWarc,\"" + box / "cut.warc.gz\",\"" + start + "\",\"" + box / "cut/demo.html\"", box, &err);
    EXPECT_TRUE(cut == 1 || cut == 3) << cut;
    EXPECT_NE(err.find("Webアーカイブに読めないレコードがありました"), std::string::npos) << err;
}

TEST(WarcCopyTest, UrlsTheArchiveLacksFailAsDownloadsAndRedirectsAreFollowed) {
    Sandbox box;
    const std::string site = "http://archived.invalid/site/";
    std::string warc = Page(site + "index.html",
                            "<html><body><a href=\"a.html\">a</a> <a href=\"gone.html\">gone</a> "
                            "<a href=\"moved.html\">moved</a></body></html>") +
                       Page(site + "a.html", "<html><body>page a</body></html>") +
                       Record(site + "moved.html", "HTTP/1.1 301 Moved\r\nLocation: /site/b.html\r\nContent-Length: 0\r\n\r\n") +
                       Page(site + "b.html", "<html><body>page b</body></html>");
    // A record whose length runs past the end of the file closes the archive.
    warc += "WARC/1.1\r\nWARC-Type: response\r\nContent-Length: 123456789\r\n\r\nHTTP/1.1 200 OK\r\n";
    Sandbox::WriteFile(box / "site.warc", warc);
    fs::create_directories(box / "out");
    std::string err;
    EXPECT_EQ(RunSitrova("SomeWarc,\"" + box / "site.warc\",\"" + site + "index.html\",\"" + box / "out/site.html\"", box,
                         &err),
              1);
    EXPECT_NE(err.find("（1 件、保存ログに記録しました）: at byte "), std::string::npos) << err;
    const std::string data = box / "out/site.files/";
    EXPECT_EQ(Sandbox::ReadFile(data + "a.html"), "<html><body>page a</body></html>");
    EXPECT_EQ(Sandbox::ReadFile(data + "gone.html").rfind("<html><head><title>Failed Download</title>", 0), 0u);
    EXPECT_NE(Sandbox::ReadFile(data + "moved.html").find("page b"), std::string::npos);
    EXPECT_TRUE(fs::exists(box / "out/site.qdx"));
}

TEST(WarcCopyTest, UnreadableArchivesAreRefusedWithAReason) {
    Sandbox box;
    Sandbox::WriteFile(box / "junk.warc.gz", std::string("\x1f\x8b\x08\x00garbage", 11));
    Sandbox::WriteFile(box / "junk.wacz", "not a zip");
    struct Case {
        std::string archive;
        const char* says;
    } cases[] = {{box / "none.warc.gz", "WARCファイルが見つかりません"},
                 {box / "junk.warc.gz", "Webアーカイブを読めません"},
                 {box / "junk.wacz", "Webアーカイブを読めません"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive);
        std::string err;
        EXPECT_EQ(RunSitrova("SomeWarc,\"" + c.archive + "\",\"http://h/\",\"" + box / "out/site.html\"", box, &err), 2);
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(box / "out/site.html"));
    }
}
