// AlbumFetcher: reading the album's pages, naming the photos, and a whole "auto" run against
// a loopback album shaped like the service's pages.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include "albumfetcher/AlbumPages.h"
#include "platform/Version.h"
#include "albumfetcher/qt/AlbumWindow.h"
#include "tests/support/HeadlessRun.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/QtApp.h"
#include "tests/support/Sandbox.h"

using namespace album;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

TEST(AlbumPages, ListAndViewPagesAreReadByTheirMarkers) {
    const std::string list =
        "<a href=\"http://p.example/al/VWP?.dnm=1&view=l&.done=x\"><b>One</b></a>"
        "<a href=\"http://other/vwp?2\"><b>Not ours</b></a>"
        "<a href=\"http://p.example/al/vwp?.dnm=2\"><img><b>Two &amp; more</b></a>";
    const auto photos = ParseAlbumList(list, ViewPagePrefix("http://p.example/al/lst?.dir=/x"));
    ASSERT_EQ(photos.size(), 2u);
    EXPECT_EQ(photos[0].viewUrl, "http://p.example/al/VWP?.dnm=1&view=l&.done=x");
    EXPECT_EQ(photos[0].title, "One");
    EXPECT_EQ(photos[1].title, "Two &amp; more");
    EXPECT_EQ(HighResolutionUrl(photos[0].viewUrl), "http://p.example/al/VWP?.dnm=1&view=t&.hires=t");
    EXPECT_EQ(HighResolutionUrl("http://p/vwp?a"), "http://p/vwp?a");

    PhotoFound found;
    const std::string view = "<img src=\"http://i/a.JPG\" width=1 alt=\"Mountain lake\"><img src=\"http://i/b.gif\" alt=\"Logo\">";
    ASSERT_EQ(FindPhoto(view, "Mountain la...", found), 1);
    EXPECT_EQ(found.imageUrl, "http://i/a.JPG");
    EXPECT_EQ(found.name, "Mountain lake");
    EXPECT_EQ(FindPhoto(view, "Logo", found), 0);  // no ".jpg" address
    EXPECT_EQ(FindPhoto(view, "Absent", found), 0);

    struct Case {
        const char* folder;
        int check;
    } cases[] = {{"/home/me/photos", FolderOk}, {"photos", FolderNoSeparator}, {"/home/me/a*b", FolderBadCharacter},
                 {"/home/me/con/x", FolderReservedName}};
    for (const Case& c : cases) EXPECT_EQ(CheckFolderText(c.folder), c.check) << c.folder;
    EXPECT_EQ(NormalizedFolder("/a/b//"), "/a/b/");
    EXPECT_EQ(SafeFileStem("a/../b"), "a_.._b");
}

TEST(AlbumWindow, AutoRunSavesTheAlbumAndRegistersTheLastPhoto) {
    testsupport::EnsureQApplication();
    Sandbox site, out, programs;
    const std::string jpeg = "\xFF\xD8" + std::string(5000, 'j');
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg"}) Sandbox::WriteFile(site / (std::string("photos/") + name), jpeg + name);
    LoopbackServer server(site.Path());
    const std::string base = server.BaseUrl();
    const std::string album = base + "/album/lst?.dir=/trip";
    std::string list, rules = "{";
    const char* titles[] = {"Sunset", "Sunset", "Mountain la..."};
    const char* alts[] = {"Sunset", "Sunset", "Mountain lake"};
    for (int i = 1; i <= 3; ++i) {
        const std::string view = "/album/vwp?.dir=/trip&.dnm=" + std::to_string(i);
        list += "<a href=\"" + base + view + "&view=l&.done=back\"><b>" + titles[i - 1] + "</b></a>\n";
        rules += "\"" + view + "&view=t&.hires=t\": {\"body\": \"<img src=\\\"" + base + "/photos/" + std::to_string(i) +
                 ".jpg\\\" alt=\\\"" + alts[i - 1] + "\\\">\"}, ";
    }
    rules = rules.substr(0, rules.size() - 2) + "}";
    // The list page is served from a file (the server looks past the query for files).
    Sandbox::WriteFile(site / "album/lst", list);
    ASSERT_TRUE(server.SetRules(rules));
    Sandbox::WriteFile(out / "Sunset.jpg", "left from an earlier run");
    Sandbox::WriteFile(programs / "QdxSuite", "");

    std::vector<std::vector<std::string>> started;
    std::vector<std::string> asked;
    albumqt::AlbumHooks hooks;
    hooks.message = [&](QWidget*, const std::string&, const std::string& text, platformqt::MessageIcon,
                        platformqt::MessageButtons, int answer) {
        asked.push_back(text);
        return answer;
    };
    hooks.startProgram = [&](const std::string& program, const std::vector<std::string>& args) {
        started.push_back(args);
        started.back().insert(started.back().begin(), program);
        return 1;
    };
    albumqt::AlbumWindow window({album, out.Path(), "auto"}, programs.Path() + ".", hooks);
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!window.Finished() && clock.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(window.Finished()) << server.RequestLog();
    EXPECT_FALSE(window.isVisible());

    EXPECT_EQ(Sandbox::ReadFile(out / "Sunset.jpg"), "left from an earlier run");
    EXPECT_EQ(Sandbox::ReadFile(out / "Sunset(1).jpg"), jpeg + "1.jpg");
    EXPECT_EQ(Sandbox::ReadFile(out / "Sunset(2).jpg"), jpeg + "2.jpg");
    EXPECT_EQ(Sandbox::ReadFile(out / "Mountain lake.jpg"), jpeg + "3.jpg");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "ダウンロードが終了しました。\r\n保存したフォルダを開きますか？");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (std::vector<std::string>{programs.Path() + "./QdxSuite", "FILE", album,
                                                    out.Path() + "Mountain lake.jpg"}));
    auto* rows = window.findChild<QTreeWidget*>(QStringLiteral("ctl1004"));
    ASSERT_EQ(rows->topLevelItemCount(), 3);
    EXPECT_EQ(rows->topLevelItem(2)->text(2), QStringLiteral("保存済み"));
}

TEST(AlbumProgram, WithoutADisplayItRunsOnlyWhatNeedsNobodyAndSaysHowItWent) {
    Sandbox box;
    Sandbox::WriteFile(box / "site/index.html", "no album here");
    LoopbackServer server(box / "site");
    ASSERT_TRUE(server.Running());
    const std::string program = std::string(SITROVA_BIN_DIR) + "/AlbumFetcher";
    const std::string album = server.BaseUrl() + "/album/lst?.dir=/none";
    for (const std::vector<std::string>& nothingUnattended :
         {std::vector<std::string>{}, {album, box / "out"}, {album, box / "out", "later"}}) {
        const auto run = testsupport::RunHeadless(program, nothingUnattended, box.Path());
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find("使い方: AlbumFetcher"), std::string::npos) << run.err;
    }
    auto run = testsupport::RunHeadless(program, {"--help"}, box.Path());
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("終了コード"), std::string::npos);
    run = testsupport::RunHeadless(program, {"--version"}, box.Path());
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, std::string("AlbumFetcher ") + platform::kSuiteVersion + "\n");

    // An album that is not there: nothing saved, no folder made, and only the reason on stderr.
    run = testsupport::RunHeadless(program, {album, box / "out", "auto"}, box.Path());
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("写真の取得に失敗しました。"), std::string::npos);
    EXPECT_EQ(run.err.find("XDG_RUNTIME_DIR"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("propagateSizeHints"), std::string::npos) << run.err;
    EXPECT_FALSE(Sandbox::Exists(box / "out"));
    // A folder the checks refuse ends the unattended run at once.
    run = testsupport::RunHeadless(program, {album, "nofolder", "auto"}, box.Path());
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("保存先が正しくありません。"), std::string::npos) << run.err;
}
