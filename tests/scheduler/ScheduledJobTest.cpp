#include "scheduler/ScheduledJob.h"

#include <gtest/gtest.h>

#include "scheduler/HelperLibrary.h"
#include "tests/support/Sandbox.h"

using namespace scheduler;
using testsupport::Sandbox;

namespace {

TEST(ScheduledJob, OptionsGiveFlagWordIconAndCommand) {
    struct Case {
        const char* trace;
        void (*set)(ScheduledJob&);
        const char* url;
        int blog;
        uint32_t flags;
        const char* icon;
    };
    const Case cases[] = {
        {"agent with conversion", [](ScheduledJob& j) { j.useAgent = j.forceConvert = true; }, "http://h/a.html", 0, 965,
         "QdXSchdIcon_Play_QdFAg"},
        {"all off, out-domain on",
         [](ScheduledJob& j) { j.dataFolder = j.updateLog = false, j.outDomainEnabled = true; }, "http://h/a.html", 0, 81,
         "QdXSchdIcon_Play_Nml"},
        {"folder URL, blog, alias, conversion", [](ScheduledJob& j) { j.aliasFix = j.forceConvert = true; },
         "https://ameblo.jp/x/", 1, 0x1 | 0x4 | 0x8 | 0x100 | 0x200 | 0x4000 | 0x20000 | 0x40, "QdXSchdIcon_Play_QdFCvAl"},
        {"record file only, maker", [](ScheduledJob& j) { j.dataFolder = false, j.makerMode = true; }, "http://h/", 0,
         0x1 | 0x2 | 0x200 | 0x4000 | 0x40, "QdXSchdIcon_Play_Qdx"},
        {"folder only, agent alone", [](ScheduledJob& j) { j.updateLog = false, j.useAgent = true; }, "http://h/a", 0,
         0x1 | 0x80 | 0x100 | 0x40, "QdXSchdIcon_Play_Fld"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        ScheduledJob job = NewScheduledJob("");
        c.set(job);
        job.url = c.url;
        job.savePath = "/home/me/save";
        job.upperLimitText = "2";
        AcceptJob(job, c.blog);
        EXPECT_TRUE(job.accepted);
        EXPECT_EQ(IconName(JobIconIndex(job)), c.icon);
        const std::string target = job.url.back() == '/' ? job.url + "index.html#DefIndexNoName" : job.url;
        EXPECT_EQ(job.jobCommand, "SomeComplete,\"" + target + "\",\"/home/me/save.html\",\"" + std::to_string(c.flags) +
                                      "\",\"2\",\"3\"");
    }
}

TEST(ScheduledJob, NamedOptionsTravelAsArgumentsBeforeTheJob) {
    ScheduledJob job = NewScheduledJob("");
    job.url = "http://h/a.html";
    job.savePath = "/home/me/save";
    AcceptJob(job, 0);
    const std::string plain = job.jobCommand;
    EXPECT_EQ(CommandArguments(plain), std::vector<std::string>{plain});  // a command as it always was
    job.named.cookieFile = "/home/me/my cookies.txt";
    AcceptJob(job, 0);
    EXPECT_EQ(CommandArguments(job.jobCommand),
              (std::vector<std::string>{"--cookie-file=/home/me/my cookies.txt", plain}));
}

TEST(ScheduledJob, AJobPassesEveryOptionItsSaveWouldOtherwiseTakeDifferently) {
    engine::NamedOptions settings;  // what Sitrov.ini held when the job was made
    settings.ignoreRobots = true;
    settings.waitMs = 300;
    engine::NamedOptions named = settings;
    named.ignoreRobots = false;  // back to the default, against the settings file
    named.sitemaps = true;
    EXPECT_EQ(NamedArgumentsFor(named, settings),
              (std::vector<std::string>{"--ignore-robots=0", "--wait-ms=300", "--sitemaps=1"}));
    EXPECT_TRUE(NamedArgumentsFor(engine::NamedOptions{}, engine::NamedOptions{}).empty());
}

TEST(ScheduledJob, DefaultsNamesAndTexts) {
    EXPECT_FALSE(NewScheduledJob("").makerMode);
    EXPECT_TRUE(NewScheduledJob("RaveVor").makerMode);
    EXPECT_FALSE(NewScheduledJob("ravevor2").makerMode);
    const ScheduledJob job = NewScheduledJob("x");
    EXPECT_TRUE(job.dataFolder && job.updateLog && !job.forceConvert && !job.outDomainEnabled);
    EXPECT_EQ(CpuLevelText(job.cpuLevel), "CPU占有率：最適");
    EXPECT_EQ(CpuLevelText(1), "CPU占有率：最小");
    EXPECT_EQ(IconName(0), "QdXSchdIcon_Play_Fin");
    EXPECT_EQ(IconName(9), "QdXSchdIcon_Play_QdxAg");
    EXPECT_EQ(IconName(25), "QdXSchdIcon_Play_QdFCvAl");

    const struct {
        const char* path;
        const char* saved;
    } names[] = {{"/d/a.htm", "/d/a.htm"}, {"/d/a.html", "/d/a.html"}, {"/d/a", "/d/a.html"}, {"/d/a.HTM", "/d/a.HTM.html"}};
    for (const auto& n : names) {
        ScheduledJob j = NewScheduledJob("");
        j.url = "http://h/";
        j.savePath = n.path;
        AcceptJob(j, 0);
        EXPECT_EQ(j.savePath, n.saved);
    }
}

TEST(ScheduledJob, UrlAndSavePathRules) {
    Sandbox box;
    Sandbox::WriteFile(box / "aux/x", "");
    const std::string bin = SITROVA_BIN_DIR;
    const struct {
        std::string path;
        int valid;
    } paths[] = {
        {box / "site.html", 1},         {box / "none/site.html", 0}, {"site.html", 0},
        {box / "a:b.html", 0},          {box / "a?.html", 0},        {box / "*.html", 0},
        {box / "con.html", 0},          {box / "aux/a.html", 0},     {box / "a\"b.html", 0},
        {box.Path(), 0},
    };
    for (const auto& p : paths)
        EXPECT_EQ(CheckSavePath(p.path, PathHasReservedName(bin, p.path)), p.valid) << p.path;
    // Without the helper library the device-name check is skipped.
    EXPECT_EQ(PathHasReservedName(box.Path(), box / "con.html"), 0);
    EXPECT_EQ(UrlIsBlog(bin, "http://blog.livedoor.jp/x/"), 1);
    EXPECT_EQ(UrlIsBlog(box.Path(), "http://blog.livedoor.jp/x/"), 0);

    for (const char* url : {"http://h/", "https://h/a.html"}) EXPECT_EQ(IsAcceptedUrl(url), 1) << url;
    for (const char* url : {"HTTP://h/", "ftp://h/", "h/a.html", "http://h/\"x", ""}) EXPECT_EQ(IsAcceptedUrl(url), 0) << url;

    ScheduledJob job;
    EXPECT_TRUE(PrefillFromClipboard(job, "http://h/dir/page.html\nmore", "/cwd"));
    EXPECT_EQ(job.url, "http://h/dir/page.html");
    EXPECT_EQ(job.savePath, "/cwd/page.html");
    ScheduledJob other;
    EXPECT_FALSE(PrefillFromClipboard(other, "HTTP://h/x.html", "/cwd"));
    EXPECT_EQ(other.url, "");
    EXPECT_EQ(other.savePath, "/cwd/*.html");
    EXPECT_EQ(ProposedFileName("/d/n.html", "http://h/u.html"), "n.html");
    EXPECT_EQ(ProposedFileName("", "http://h/u.html"), "u.html");
    EXPECT_EQ(ProposedFileName("", ""), "*.html");
}

}  // namespace
