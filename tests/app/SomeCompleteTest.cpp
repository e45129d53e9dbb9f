// The Sitrova program itself, started the way the scheduler starts it, without a display.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Process.h"
#include "records/SavedSiteText.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

int RunSitrova(const std::string& argument, int limitSeconds = 60) {
    int code = -1;
    const std::string program = std::string(SITROVA_BIN_DIR) + "/Sitrova";
    // `timeout` keeps a hanging program from hanging the test.
    if (platform::StartProcess("timeout", {std::to_string(limitSeconds), program, argument}, true, &code) !=
        platform::ProcessStarted)
        return -1;
    return code;
}

// Runs Sitrova with its own arguments and no display; returns stdout and stderr.
std::pair<std::string, std::string> RunPlain(const std::vector<std::string>& args, int& code, const Sandbox& box) {
    std::vector<std::string> shell = {"-c", "cd \"$1\" && shift && exec env -u DISPLAY -u WAYLAND_DISPLAY -u "
                                            "QT_QPA_PLATFORM -u XDG_RUNTIME_DIR timeout 30 \"$@\" > out.txt 2> err.txt",
                                      "sh", box.Path(), std::string(SITROVA_BIN_DIR) + "/Sitrova"};
    shell.insert(shell.end(), args.begin(), args.end());
    code = -1;
    EXPECT_EQ(platform::StartProcess("sh", shell, true, &code), platform::ProcessStarted);
    return {Sandbox::ReadFile(box / "out.txt"), Sandbox::ReadFile(box / "err.txt")};
}

}  // namespace

TEST(SomeComplete, UnattendedSaveWritesPageAndDescriptionAndEnds) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "index.html", "<html><head><title>demo</title></head><body>hello</body></html>");
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");  // the program must choose the offscreen platform itself

    const auto before = std::chrono::steady_clock::now();
    const std::string arg = "SomeComplete,\"" + server.BaseUrl() + "/index.html\",\"" + out.Path() +
                            "site.html\",\"1\",\"0\",\"4\"";
    EXPECT_EQ(RunSitrova(arg), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(60));  // ends by itself; room for a sanitizer build

    EXPECT_EQ(Sandbox::ReadFile(out / "site.html"), "<html><head><title>demo</title></head><body>hello</body></html>");
    std::string description;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(out / "site-Description.log"), description), platform::CodepageOk);
    EXPECT_EQ(description.rfind("【コンプリートするURL】\r\n" + server.BaseUrl() + "/index.html\r\n", 0), 0u) << description;
    EXPECT_NE(description.find("-------------------------------------------------------------------\r\n【site.html】\r\n\r\n"
                               "のコンプリート保存を終了しました。\r\n\r\n\r\n"),
              std::string::npos)
        << description;
}

TEST(SomeComplete, ExitCodeTellsWhetherTheSaveGotAllPagesSomeOrNone) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "part.html", "<html><body><a href=\"gone.html\">g</a></body></html>");
    LoopbackServer server(site.Path(), "{\"/index.html\": {\"status\": 500}}");
    auto save = [&](const std::string& url, const std::string& name) {
        return RunSitrova("SomeComplete,\"" + url + "\",\"" + out.Path() + name + "\",\"1\",\"0\",\"4\"");
    };
    EXPECT_EQ(save(server.BaseUrl() + "/part.html", "part.html"), 1);  // saved, one link failed
    EXPECT_EQ(save("http://127.0.0.1:" + std::to_string(testsupport::ClosedPort()) + "/", "down.html"), 3);
    EXPECT_EQ(save(server.BaseUrl() + "/index.html", "site.html"), 3);  // the start page itself failed
    int code = -1;
    const auto [printed, err] = RunPlain({"SomeSeries,\"" + server.BaseUrl() + "/none.jpg\",\"" + out.Path() + "n.jpg\""}, code, out);
    EXPECT_EQ(code, 3);
    EXPECT_NE(err.find("ファイルを取得できませんでした: " + server.BaseUrl() + "/none.jpg"), std::string::npos) << err;
    for (const char* noise : {"propagateSizeHints", "XDG_RUNTIME_DIR"}) EXPECT_EQ(err.find(noise), std::string::npos) << err;
    const std::string page = Sandbox::ReadFile(out / "site.html");
    EXPECT_EQ(page.rfind("<html><head><title>Failed Download</title></head><body>", 0), 0u);
    std::string description;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(out / "site-Description.log"), description), platform::CodepageOk);
    EXPECT_NE(description.find("しかし、ダウンロードに失敗したファイルが存在します。"), std::string::npos);
}

TEST(SomeComplete, ACookieFileGivenBeforeTheJobOpensAMembersFolderAndStaysOutOfTheCopy) {
    Sandbox site, out, home;
    Sandbox::WriteFile(site / "index.html", "<html><body><a href=\"members/a.html\">a</a></body></html>");
    Sandbox::WriteFile(site / "members/a.html", "<html><body>members only</body></html>");
    LoopbackServer server(site.Path(), R"({"need_cookie": {"/members/": "member=yes-7f3a"}})");
    ASSERT_TRUE(server.Running());
    const std::string cookies = home / "cookies.txt";
    Sandbox::WriteFile(cookies, "127.0.0.1\tFALSE\t/\tFALSE\t0\tmember\tyes-7f3a\n");
    ASSERT_EQ(::chmod(cookies.c_str(), 0600), 0);
    int code = -1;
    const auto [printed, err] = RunPlain({"--cookie-file=" + cookies, "SomeComplete,\"" + server.BaseUrl() +
                                          "/index.html\",\"" + out.Path() + "site.html\",\"769\",\"0\",\"4\""},
                                         code, out);
    EXPECT_EQ(code, 0) << err;
    EXPECT_EQ(Sandbox::ReadFile(out / "site.files/members/a.html"), "<html><body>members only</body></html>");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out.Path())) {
        if (!entry.is_regular_file()) continue;
        EXPECT_EQ(Sandbox::ReadFile(entry.path().string()).find("yes-7f3a"), std::string::npos) << entry.path();
    }
}

TEST(SomeComplete, UnreadableRecordFileIsRefused) {
    Sandbox box;
    EXPECT_EQ(RunSitrova(box / "none.qdx", 30), 2);
}

TEST(SomeComplete, CommandLineAsALinuxUserTriesIt) {
    Sandbox box;
    int code = -1;
    auto [out, err] = RunPlain({"--version"}, code, box);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out.rfind("Sitrova ", 0), 0u);
    for (const char* help : {"--help", "-h"}) {
        std::tie(out, err) = RunPlain({help}, code, box);
        EXPECT_EQ(code, 0);
        EXPECT_NE(out.find("SomeComplete,"), std::string::npos);
        EXPECT_NE(out.find("終了コード:\n  0  "), std::string::npos);
    }
    std::tie(out, err) = RunPlain({}, code, box);  // no display, no job: the usage, and no hang
    EXPECT_EQ(code, 2);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("使い方"), std::string::npos);

    const struct {
        std::string argument;
        const char* why;
    } bad[] = {
        {"SomeComplete,\"http://127.0.0.1:9/\"", "5項目"},
        {"SomeComplete,\"ftp://host/\",\"" + box / "s.html\",\"1\",\"0\",\"4\"", "http://"},
        {"SomeComplete,\"file:///etc/\",\"" + box / "s.html\",\"1\",\"0\",\"4\"", "http://"},
        {"SomeComplete,\"http://\",\"" + box / "s.html\",\"1\",\"0\",\"4\"", "http://"},
        {"SomeComplete,\"http://127.0.0.1:9/\",\"s.html\",\"1\",\"0\",\"4\"", "フルパス"},
        {"SomeSeries,\"\",\"" + box / "s.jpg\"", "http://"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.argument);
        std::tie(out, err) = RunPlain({b.argument}, code, box);
        EXPECT_EQ(code, 2);
        EXPECT_NE(err.find(b.why), std::string::npos) << err;
    }
    EXPECT_FALSE(Sandbox::Exists(box / "s.html"));
    EXPECT_FALSE(Sandbox::Exists(box / "s.html-Description.log"));
}

TEST(SomeComplete, AdvertisementRunCleansTheSavedSiteAndEndsByItself) {
    Sandbox site, out;
    const std::string ad = "<!-- start AD -->banner<!-- end AD -->";
    Sandbox::WriteFile(site / "index.html", "<html><body>" + ad + "<a href=\"p.html\">p</a></body></html>");
    Sandbox::WriteFile(site / "p.html", "<html><body>plain</body></html>");
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    ASSERT_EQ(RunSitrova("SomeComplete,\"" + server.BaseUrl() + "/index.html\",\"" + out.Path() +
                         "site.html\",\"769\",\"0\",\"4\""),
              0);
    const std::string start = out / "site.files/index.html";
    ASSERT_NE(Sandbox::ReadFile(start).find("start AD"), std::string::npos);

    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_EQ(RunSitrova("advertisement,\"" + out.Path() + "site.qdx\"", 60), 0);
        const std::string cleaned = Sandbox::ReadFile(start);
        EXPECT_EQ(cleaned.rfind("<!-- Worked by CutAdvFromHtml() in KvLibQ3.dll Ver.20130224-nodll", 0), 0u);
        EXPECT_EQ(cleaned.find("start AD"), std::string::npos);
        EXPECT_NE(cleaned.find("p.html"), std::string::npos);
        EXPECT_NE(Sandbox::ReadFile(out / "site.files/p.html").find("plain"), std::string::npos);
    }
}

TEST(SomeComplete, LinksToAnotherHostAreSavedOnceAndListed) {
    Sandbox site, other, out;
    Sandbox::WriteFile(other / "ext/page.html",
                       "<html><head><title>外の頁 & more</title></head><body><img src=\"pic.png\"></body></html>");
    Sandbox::WriteFile(other / "ext/pic.png", "\x89PNG\r\n\x1a\npicture");
    Sandbox::WriteFile(other / "x/page.html", "<html><body>no title</body></html>");
    LoopbackServer otherHost(other.Path(), "", "127.0.0.2");
    ASSERT_TRUE(otherHost.Running());
    Sandbox::WriteFile(site / "index.html",
                       "<html><body><a href=\"@B@/ext/page.html\">e</a><a href=\"p.html\">p</a>"
                       "<a href=\"@B@/x/page.html\">x</a><a href=\"@B@/gone.html\">g</a></body></html>");
    Sandbox::WriteFile(site / "p.html", "<html><body><a href=\"@B@/ext/page.html\">e</a></body></html>");
    LoopbackServer server(site.Path(), "", "127.0.0.1", {"B=" + otherHost.BaseUrl()});
    ASSERT_TRUE(server.Running());
    unsetenv("DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    ASSERT_EQ(RunSitrova("SomeComplete,\"" + server.BaseUrl() + "/index.html\",\"" + out.Path() +
                         "site.html\",\"785\",\"0\",\"4\""),
              0);  // 785: data folder, record file and every page of other sites

    const std::string folder = out / "site.files/外部パスリンク/";
    EXPECT_NE(Sandbox::ReadFile(folder + "page.html").find("page.files/pic.png"), std::string::npos)
        << Sandbox::ReadFile(folder + "page.html");
    EXPECT_EQ(Sandbox::ReadFile(folder + "page.files/pic.png"), "\x89PNG\r\n\x1a\npicture");
    EXPECT_NE(Sandbox::ReadFile(folder + "page(1).html").find("no title"), std::string::npos);
    // The saved-site view opens the list from where the save wrote it.
    EXPECT_EQ(records::OutDomainListPageOf(out / "site.qdx"), folder + "_外部ドメインへのリンク一覧.html");
    std::string list;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(folder + "_外部ドメインへのリンク一覧.html"), list),
              platform::CodepageOk);
    const std::string b = otherHost.BaseUrl();
    EXPECT_NE(list.find("<qdotlk:li>\r\n<qdotlk:saved title=\"外の頁 &amp; more\"><a href=\"page.html\">page.html</a>"),
              std::string::npos)
        << list;
    EXPECT_NE(list.find("<a href=\"" + b + "/ext/page.html\">" + b + "/ext/page.html</a>\r\n</qdotlk:dest>\r\n"
                        "<qdotlk:source type=\"2\">\r\n<span title=\"../index.html\" />\r\n<span title=\"../p.html\" />"),
              std::string::npos)
        << list;
    EXPECT_NE(list.find("<qdotlk:saved><a href=\"page(1).html\">"), std::string::npos);
    EXPECT_NE(list.find("<qdotlk:saved>Not Fonud."), std::string::npos);
    EXPECT_EQ(list.rfind("</qdotlk:document>\r\n"), list.size() - 20);
}

TEST(SomeComplete, BadStartInputIsRefusedBeforeAnythingIsFetched) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "index.html", "<html><body>hello</body></html>");
    Sandbox::WriteFile(out / "file", "x");
    LoopbackServer server(site.Path());
    const std::string url = server.BaseUrl() + "/index.html";
    // A folder as the save path, a file in the way of the save folder, a name the record
    // files cannot hold (flag 0x200).
    const std::pair<std::string, int> refused[] = {{out / "", 2}, {out / "file/sub/site.html", 4}, {out / "s\xE2\x98\x83.html", 2}};
    for (const auto& [path, code] : refused) {
        EXPECT_EQ(RunSitrova("SomeComplete,\"" + url + "\",\"" + path + "\",\"513\",\"0\",\"4\"", 30), code) << path;
        EXPECT_FALSE(Sandbox::Exists(path + "-Description.log")) << path;
    }
    EXPECT_EQ(server.RequestLog(), "");
}

namespace {

// Every file below `root` by its path relative to it, with its bytes; the logs as text, the
// times they hold (time taken, date and time of the end) left out.
std::map<std::string, std::string> SavedTree(const std::string& root) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string relative = std::filesystem::relative(entry.path(), root).string();
        std::string bytes = entry.is_regular_file() ? Sandbox::ReadFile(entry.path().string()) : "(folder)";
        // The history index records when each file was fetched: only its presence compares.
        if (relative.ends_with("SitrovHistory.sqlite")) bytes = "(history index)";
        if (relative.ends_with(".log")) {
            EXPECT_EQ(platform::Cp932ToUtf8(std::string(bytes), bytes), platform::CodepageOk) << relative;
            const size_t took = bytes.find("所要時間：");
            if (took != std::string::npos) bytes.erase(took, bytes.find("　　／", took) - took);
            if (relative.ends_with("-Description.log")) bytes.erase(bytes.rfind("\r\n\r\n"));
        }
        tree[relative] = bytes;
    }
    return tree;
}

}  // namespace

TEST(SomeComplete, WithoutADisplayTheSaveRunsWithoutWindowsAndLeavesWhatTheWindowLeaves) {
    Sandbox site, other, out, programs;
    Sandbox::WriteFile(other / "ext.html", "<html><body>other host</body></html>");
    LoopbackServer otherHost(other.Path(), "", "127.0.0.2");
    Sandbox::WriteFile(site / "index.html",
                       "<html><head><link rel=\"stylesheet\" href=\"s.css\"></head><body><img src=\"i.png\">"
                       "<a href=\"sub/p.html\">p</a><a href=\"gone.html\">g</a><a href=\"@B@/ext.html\">e</a>"
                       "</body></html>");
    Sandbox::WriteFile(site / "s.css", "body { background: url(bg.png) }");
    Sandbox::WriteFile(site / "bg.png", "\x89PNG\r\n\x1a\nbg");
    Sandbox::WriteFile(site / "i.png", "\x89PNG\r\n\x1a\ni");
    Sandbox::WriteFile(site / "sub/p.html", "<html><body><a href=\"../index.html\">up</a><img src=\"x.png\"></body></html>");
    LoopbackServer server(site.Path(), "", "127.0.0.1", {"B=" + otherHost.BaseUrl()});
    ASSERT_TRUE(server.Running() && otherHost.Running());

    // Two copies of the program: one beside its window library, and one alone, which can only
    // save when the save needs no window code.
    const std::string bin = SITROVA_BIN_DIR;
    std::filesystem::create_directories(programs / "windows");
    std::filesystem::create_directories(programs / "plain");
    std::filesystem::copy_file(bin + "/Sitrova", programs / "windows/Sitrova");
    std::filesystem::copy_file(bin + "/libSitrovaWindows.so", programs / "windows/libSitrovaWindows.so");
    std::filesystem::copy_file(bin + "/Sitrova", programs / "plain/Sitrova");

    // 0x2320: data folder, record file, and the two questions nobody can answer here: which
    // links to other sites are saved, and which links are followed.
    const std::string arg = "SomeComplete,\"" + server.BaseUrl() + "/index.html\",\"" + out.Path() +
                            "site.html\",\"8992\",\"0\",\"4\"";
    const std::vector<std::string> runs[2] = {{"QT_QPA_PLATFORM=offscreen", programs / "windows/Sitrova", arg},
                                              {"-u", "QT_QPA_PLATFORM", programs / "plain/Sitrova", arg}};
    std::map<std::string, std::string> trees[2];
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(runs[i][1]);
        std::vector<std::string> command = {"60", "env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"};
        command.insert(command.end(), runs[i].begin(), runs[i].end());
        int code = -1;
        ASSERT_EQ(platform::StartProcess("timeout", command, true, &code), platform::ProcessStarted);
        EXPECT_EQ(code, 1);  // gone.html and x.png are not there
        trees[i] = SavedTree(out.Path());
        std::filesystem::remove_all(out.Path());
        std::filesystem::create_directories(out.Path());
    }
    // The save really ran: pages, embedded files, the failed page's placeholder, the records.
    for (const char* path : {"site.html", "site.qdx", "site-Description.log", "site.files/SitrovSaveInfo.log",
                             "site.files/SitrovError.log", "site.files/index.html", "site.files/s.css",
                             "site.files/bg.png", "site.files/i.png", "site.files/sub/p.html", "site.files/gone.html"})
        EXPECT_EQ(trees[0].count(path), 1u) << path;
    EXPECT_NE(trees[0]["site.files/SitrovError.log"].find("外部ドメインのリンクは選択せずに"), std::string::npos);
    ASSERT_EQ(trees[0].size(), trees[1].size());
    for (const auto& [path, bytes] : trees[0]) EXPECT_EQ(bytes, trees[1][path]) << path;
}
