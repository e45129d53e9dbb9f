// The site adapters: which URLs they take, the pages that stand in for the web archive's
// error pages, and their check inside a save's fetches.
#include <gtest/gtest.h>

#include "engine/ArchivePages.h"
#include "engine/FailureReason.h"
#include "engine/BlogPages.h"
#include "engine/Fetcher.h"
#include "engine/ModeFlags.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "engine/SiteAdapters.h"
#include "platform/FailureCause.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using namespace engine;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

const std::string kArchived = "http://web.archive.org/web/20050101000000/http://www.example.com/a.html";

std::string Golden(const std::string& name) {
    return Sandbox::ReadFile(std::string(SITROVA_TEST_DATA) + "/adapters/" + name);
}

}  // namespace

TEST(SiteAdapterUrls, ArchiveAndBlogUrlsAreRecognised) {
    const struct {
        const char* url;
        int archive, blogSave, blogLibrary, serviceA;
    } cases[] = {
        {"http://web.archive.org/web/2005/http://www.x.com/", 1, 0, 0, 0},
        {"HTTP://WEB.ARCHIVE.ORG/WEB/2005/www.x.com/", 1, 0, 0, 0},
        {"https://web.archive.org/web/2005/www.x.com/", 1, 0, 0, 0},
        {"http://www.x.com/?u=http://web.archive.org/web/2005/", 0, 0, 0, 0},  // prefix later in the text
        {"http://web.archive.org/collections/web/", 0, 0, 0, 0},
        {"http://ameblo.jp/someone/entry-1.html", 0, 1, 1, 1},
        {"http://AMEBLO.JP/someone/", 0, 1, 1, 1},
        {"http://blog.livedoor.jp/someone/archives/1.html", 0, 1, 1, 0},
        {"http://someone.fc2.com/diary.html", 0, 0, 0, 0},        // hosting service without "blog"
        {"http://someone.blog.fc2.com/", 0, 1, 0, 0},             // "blog" in the host
        {"http://someone.fc2.com/BLOG/index.html", 0, 1, 0, 0},   // "blog" in the path
        {"http://www.example.com/blog/", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(IsWebArchiveUrl(c.url), c.archive);
        EXPECT_EQ(IsBlogSaveUrl(c.url), c.blogSave);
        EXPECT_EQ(IsBlogUrl(c.url), c.blogLibrary);
        EXPECT_EQ(IsBlogServiceA(c.url), c.serviceA);
    }
}

TEST(ArchivePages, ErrorPagesAreReplacedAndOtherFilesKept) {
    Sandbox box;
    const std::string file = box / "a.html";
    const std::string noWww = "http://web.archive.org/web/2005/http://example.com/a.html";
    const std::string pathIndexNoWww = ArchiveReplacementPage(ArchiveError::PathIndex, noWww);
    const struct {
        const char* what;
        std::string url, content, expected;
    } cases[] = {
        {"path index error", kArchived, "<p>path index error.</p>", Golden("PathIndexError.html")},
        {"failed connection", kArchived, "<b>Failed Connection.</b>", Golden("FailedConnection.html")},
        {"both markers", kArchived, "Failed Connection. Path Index Error.", Golden("PathIndexError.html")},
        {"url without www", noWww, "Path Index Error.", pathIndexNoWww},
        {"ordinary page", kArchived, "<html>fine</html>", "<html>fine</html>"},
        {"empty file", kArchived, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox::WriteFile(file, c.content);
        EXPECT_EQ(CheckArchivePage(c.url, file), 1);
        EXPECT_EQ(Sandbox::ReadFile(file), c.expected);
    }
    // Without "/www." the centred line and the quoted original end in "http:/" alone.
    EXPECT_NE(pathIndexNoWww.find("<center>http:/</center><br>\r\n"), std::string::npos);
    EXPECT_NE(pathIndexNoWww.find("for all pages on http:/\r\n</span>"), std::string::npos);
    // Markup in the address cannot open an element of its own in the stand-in page.
    const std::string hostile = ArchiveReplacementPage(ArchiveError::PathIndex, kArchived + "?<script>");
    EXPECT_EQ(hostile.find("<script>"), std::string::npos);
    EXPECT_NE(hostile.find("a.html?%3Cscript%3E</center>"), std::string::npos);
    EXPECT_EQ(CheckArchivePage(kArchived, box / "missing.html"), 0);
    EXPECT_EQ(CheckArchivePage(kArchived, box.Path()), 0);  // a folder is no file
}

TEST(SiteAdapterChecks, AStandInThatCannotBeWrittenIsAFailureNotAKeptFile) {
    Sandbox box;
    const std::string file = box / "a.html";
    Sandbox::WriteFile(box / "a.htmlTemp/in-the-way", "");  // the rewrite cannot make its temporary file
    const struct {
        const char* what;
        uint32_t bits;
        std::string url, content;
    } cases[] = {
        {"archive error page", mode::WebArchiveSite, kArchived, "Path Index Error."},
        {"blog page without its article", mode::BlogSite, "http://ameblo.jp/who/entry-1.html",
         "<div class=\"error\">none</div>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox::WriteFile(file, c.content);
        SaveJob job;
        job.SetModeBits(c.bits);
        EXPECT_EQ(CheckFetchedFile(job, c.url, file), platform::RewriteNotWritten);
        EXPECT_EQ(Sandbox::ReadFile(file), c.content);
    }
}

TEST(SiteAdapterFetch, ArchiveSaveStoresTheStandInPageForAnArchiveErrorPage) {
    platform::HttpGlobalInit();
    Sandbox site, target;
    Sandbox::WriteFile(site / "index.html",
                       "<html><body><a href=\"www.example.com/gone.html\">gone</a> "
                       "<a href=\"www.example.com/ok.html\">ok</a></body></html>");
    Sandbox::WriteFile(site / "www.example.com/gone.html", "<html><body>Path Index Error.</body></html>");
    Sandbox::WriteFile(site / "www.example.com/ok.html", "<html><body>kept as it is</body></html>");
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());

    // Loopback cannot stand in for the archive's address, so the job is marked directly.
    SaveJob job;
    job.SetModeBits(mode::ModeSomeComplete | mode::WebArchiveSite);
    job.SetStartUrl(server.BaseUrl() + "/index.html");
    job.SetSaveTarget(target / "index.html");
    SilentHost host;
    EXPECT_EQ(SaveWorker(host, job), 1);

    const std::string gone = Sandbox::ReadFile(target / "www.example.com/gone.html");
    EXPECT_NE(gone.find("<title>Path Index Error.</title>\r\n"), std::string::npos);
    EXPECT_NE(gone.find("<center>http://www.example.com/gone.html</center>"), std::string::npos) << gone;
    EXPECT_NE(Sandbox::ReadFile(target / "www.example.com/ok.html").find("kept as it is"), std::string::npos);
    EXPECT_FALSE(Sandbox::Exists(target / "www.example.com/gone.html.part"));

    // A fetch ahead of the walk passes the same check before its file is taken.
    platform::HttpSession http;
    const std::string ahead = target / "ahead.html";
    const std::string goneUrl = server.BaseUrl() + "/www.example.com/gone.html";
    ASSERT_EQ(FetchUrlToFileVia(http, job, goneUrl, ahead, ahead + ".pre"), 1);
    EXPECT_EQ(Sandbox::ReadFile(ahead + ".pre"), ArchiveReplacementPage(ArchiveError::PathIndex, goneUrl));

    // A stand-in the disk refuses fails the fetch with the disk's reason, not the site's.
    const std::string blocked = target / "blocked.html";
    Sandbox::WriteFile(blocked + ".preTemp/in-the-way", "");
    FetchOrigin origin;
    EXPECT_EQ(FetchUrlToFileVia(http, job, goneUrl, blocked, blocked + ".pre", nullptr, &origin), 0);
    EXPECT_EQ(origin.failure, FailureText(platform::FailureCause::Disk));
    EXPECT_FALSE(Sandbox::Exists(blocked + ".pre"));
}

TEST(SiteAdapterChecks, EachMarkedAdapterTreatsTheFetchedFileBlogFirst) {
    Sandbox box;
    const std::string file = box / "entry.html";
    const std::string blogA = "http://ameblo.jp/someone/entry-1.html";
    const std::string archivedBlogA = "http://web.archive.org/web/2005/http://ameblo.jp/someone/entry-1.html";
    const std::string missing = "<div class=\"error\">no article</div>";
    const struct {
        const char* what;
        uint32_t bits;
        std::string url, content, expected;
    } cases[] = {
        {"blog save", mode::BlogSite, blogA, missing, NotFoundPage()},
        {"archive save only", mode::WebArchiveSite, blogA, missing, missing},
        {"both: the blog's page is not taken for an archive error", mode::BlogSite | mode::WebArchiveSite,
         archivedBlogA, missing + " Path Index Error.", NotFoundPage()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SaveJob job;
        job.SetModeBits(c.bits);
        Sandbox::WriteFile(file, c.content);
        EXPECT_TRUE(HasSiteChecks(job));
        EXPECT_EQ(CheckFetchedFile(job, c.url, file), 1);
        EXPECT_EQ(Sandbox::ReadFile(file), c.expected);
    }
    SaveJob blog;
    blog.SetModeBits(mode::BlogSite);
    EXPECT_EQ(CheckFetchedFile(blog, blogA, box / "gone.html"), 0);  // unreadable: refused
    EXPECT_FALSE(HasSiteChecks(SaveJob()));
}

TEST(SiteAdapterFetch, BlogSaveFollowsLinksOnlyDownToItsCutOff) {
    platform::HttpGlobalInit();
    Sandbox site, target;
    Sandbox::WriteFile(site / "index.html", "<html><body><a href=\"a.html\">a</a></body></html>");
    Sandbox::WriteFile(site / "a.html", "<html><body><a href=\"b.html\">b</a></body></html>");
    Sandbox::WriteFile(site / "b.html", "<html><body><a href=\"c.html\">c</a></body></html>");
    Sandbox::WriteFile(site / "c.html", "<html><body>deep</body></html>");
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    const struct {
        uint32_t bits;
        uint16_t cutOff;
        bool b, c;
    } cases[] = {
        {mode::BlogSite, 2, true, false},
        {0, 2, true, true},  // the cut-off is for blog saves only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " / " + std::to_string(c.cutOff));
        Sandbox out;
        SaveJob job;
        job.SetModeBits(mode::ModeSomeComplete | c.bits);
        job.SetBlogCutOff(c.cutOff);
        job.SetStartUrl(server.BaseUrl() + "/index.html");
        job.SetSaveTarget(out / "index.html");
        SilentHost host;
        (void)SaveWorker(host, job);
        EXPECT_TRUE(Sandbox::Exists(out / "a.html"));
        EXPECT_EQ(Sandbox::Exists(out / "b.html"), c.b);
        EXPECT_EQ(Sandbox::Exists(out / "c.html"), c.c);
    }
}
