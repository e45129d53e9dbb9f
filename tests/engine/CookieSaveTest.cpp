// The cookies of a complete save: those its site sets, and those of a cookie file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/PlaceholderPages.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/SavedLog.h"

using namespace engine;
using namespace engine::mode;
using testsupport::LoopbackServer;
using testsupport::Sandbox;
using testsupport::Page;
using testsupport::LogHasPart;

namespace {

class CookieSaveTest : public ::testing::Test {
protected:
    void SetUp() override { platform::HttpGlobalInit(); }

    int Save(LoopbackServer& server, const std::string& leaf, const std::string& cookieFile = "") {
        job = std::make_unique<SaveJob>();
        job->SetModeBits(ModeSomeComplete);
        job->SetStartUrl(server.BaseUrl() + "/" + leaf);
        // Each save gets a folder of its own.
        saves.push_back(std::make_unique<Sandbox>());
        job->SetSaveTarget(*saves.back() / leaf);
        NamedOptions named;
        named.cookieFile = cookieFile;
        job->SetNamed(named);
        return SaveWorker(host, *job);
    }

    // A file of one cookie for the loopback host, with the given mode.
    std::string CookieFile(const std::string& name, const std::string& text, mode_t mode) {
        const std::string path = files / name;
        Sandbox::WriteFile(path, text);
        ::chmod(path.c_str(), mode);
        return path;
    }

    const Sandbox& Copy() const { return *saves.back(); }

    Sandbox site, files;
    std::vector<std::unique_ptr<Sandbox>> saves;
    SilentHost host;
    std::unique_ptr<SaveJob> job;
};

const std::string kMemberLine = "# Netscape HTTP Cookie File\n127.0.0.1\tFALSE\t/\tFALSE\t0\tmember\tyes-7f3a\n";

}  // namespace

TEST_F(CookieSaveTest, ASiteThatNeedsItsSessionCookieSavesWholeAndTheCookieStaysWithItsSave) {
    std::string links;
    for (int i = 0; i < 8; ++i) {
        const std::string n = std::to_string(i);
        links += "<a href=\"in/p" + n + ".html\">" + n + "</a>";
        Sandbox::WriteFile(site / ("in/p" + n + ".html"), Page("page " + n + "<img src=\"i" + n + ".png\">"));
        Sandbox::WriteFile(site / ("in/i" + n + ".png"), "\x89PNG\r\n\x1a\n" + std::string(100, char('a' + i)));
    }
    Sandbox::WriteFile(site / "index.html", Page(links));
    LoopbackServer server(site.Path(),
                          R"({"/index.html": {"set_cookie": "sid=s1"}, "need_cookie": {"/in/": "sid=s1"}})");
    ASSERT_TRUE(server.Running());
    EXPECT_EQ(Save(server, "index.html"), 1);
    for (int i = 0; i < 8; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ(IsSavedCopy(Copy() / ("in/p" + n + ".html")), 1) << n;
        EXPECT_EQ(Sandbox::ReadFile(Copy() / ("in/i" + n + ".png")),
                  "\x89PNG\r\n\x1a\n" + std::string(100, char('a' + i)));
    }
    // The next save starts without the cookie of the last one.
    EXPECT_EQ(Save(server, "in/p0.html"), 0);
}

TEST_F(CookieSaveTest, AMembersFolderSavesWholeWithTheCookieFileAndFailsWithoutIt) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"members/a.html\">a</a>"));
    Sandbox::WriteFile(site / "members/a.html", Page("members only<img src=\"b.png\">"));
    Sandbox::WriteFile(site / "members/b.png", "\x89PNG\r\n\x1a\nmember picture");
    LoopbackServer server(site.Path(), R"({"need_cookie": {"/members/": "member=yes-7f3a"}})");
    ASSERT_TRUE(server.Running());

    EXPECT_EQ(Save(server, "index.html", CookieFile("cookies.txt", kMemberLine, 0600)), 1);
    EXPECT_EQ(Sandbox::ReadFile(Copy() / "members/b.png"), "\x89PNG\r\n\x1a\nmember picture");
    EXPECT_FALSE(LogHasPart(*job, "クッキー"));  // a private, well-formed file says nothing
    for (const std::string& line : job->DetailedLog()) EXPECT_EQ(line.find("yes-7f3a"), std::string::npos) << line;

    EXPECT_EQ(Save(server, "index.html"), 0);
    EXPECT_EQ(IsSavedCopy(Copy() / "members/a.html"), 0);  // the placeholder of a failed page
    EXPECT_FALSE(Sandbox::Exists(Copy() / "members/b.png"));
}

TEST_F(CookieSaveTest, CookieFileProblemsAreLoggedAndTheSaveGoesOn) {
    Sandbox::WriteFile(site / "index.html", Page("<a href=\"members/a.html\">a</a>"));
    Sandbox::WriteFile(site / "members/a.html", Page("members only"));
    LoopbackServer server(site.Path(), R"({"need_cookie": {"/members/": "member=yes-7f3a"}})");
    ASSERT_TRUE(server.Running());

    // Readable by others: a warning, and the cookies are used all the same.
    EXPECT_EQ(Save(server, "index.html", CookieFile("open.txt", kMemberLine, 0644)), 1);
    EXPECT_TRUE(LogHasPart(*job, "◆注意：クッキーファイルがほかのユーザーにも読める状態です"));

    // Lines that are no cookie lines are counted and left out; the good line still counts.
    const std::string damaged = std::string("\x01\x02\0binary\tjunk\n", 15) + "a\tb\tc\n" + kMemberLine +
                                "127.0.0.1\tFALSE\t/\tFALSE\tsoon\tx\ty\n";
    EXPECT_EQ(Save(server, "index.html", CookieFile("damaged.txt", damaged, 0600)), 1);
    EXPECT_TRUE(LogHasPart(*job, "クッキーファイルの3行は cookies.txt 形式の行ではないため、読み飛ばしました"));

    // A file that is not there, or no file: a line, and a save without it.
    for (const std::string& path : {files / "none.txt", files.Path()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Save(server, "index.html", path), 0);
        EXPECT_TRUE(LogHasPart(*job, "クッキーファイルを読めません"));
        EXPECT_TRUE(LogHasPart(*job, "サイト保存を終了しました。"));
    }
}
