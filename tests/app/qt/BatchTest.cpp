// The batch: parameter files queued from the input view, and the script that runs them.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include <QMenuBar>

#include "app/BatchTask.h"
#include "app/NamedArguments.h"
#include "app/qt/MainMenu.h"
#include "cui/CuiCommands.h"
#include "platform/FileLock.h"
#include "platform/Process.h"
#include "tests/app/qt/InputViewFixture.h"
#include "tests/support/LoopbackServer.h"
#include "xml/XmlDocument.h"

using appqt::FindCommand;
using inputtest::InputViewTest;
using testsupport::Sandbox;

namespace {

std::string Value(const xml::Document& doc, const std::string& path) {
    const xml::Node* n = doc.Select(path);
    if (!n) return "<missing>";
    return n->TextChild() ? n->TextChild()->String() : "";
}

std::vector<std::string> ElementNames(const xml::Node* parent) {
    std::vector<std::string> names;
    for (const xml::Node* c = parent->FirstChild(); c; c = c->NextSibling())
        if (c->Kind() == xml::NodeElement) names.push_back(c->String());
    return names;
}

class BatchTest : public InputViewTest {
protected:
    void Queue(const std::string& url, const std::string& save) {
        Control<QLineEdit>(514)->setText(platformqt::ToQ(url));
        Control<QComboBox>(516)->setEditText(platformqt::ToQ(save));
        FindCommand(window->menuBar(), 27)->trigger();
    }
    std::string Bat() const { return programFolder + "/BatTask/"; }
};

}  // namespace

TEST_F(BatchTest, QueuedJobsAreWrittenAsParameterFiles) {
    Open();
    Control<QCheckBox>(526)->setChecked(true);  // forced conversion
    Control<QLineEdit>(525)->setText("2");  // upper-hierarchy limit
    Queue("http://example.org/a/b/", box / "site.html");
    EXPECT_EQ(Text(514), "");  // the field is emptied for the next job
    Control<QLineEdit>(525)->setText("0");
    Queue("http://example.org/file.zip", box / "file.zip");
    ASSERT_TRUE(shown.empty()) << shown[0].caption << ": " << shown[0].text;

    xml::Document site, file;
    ASSERT_EQ(site.LoadFile(Bat() + "site.xml"), 1);
    EXPECT_EQ(Value(site, "/qdxsome:document/url"), "http://example.org/a/b/");  // as the user typed it
    EXPECT_EQ(Value(site, "/qdxsome:document/save"), box / "site.html");
    EXPECT_EQ(Value(site, "/qdxsome:document/workmode/neglect"), "1");
    EXPECT_EQ(Value(site, "/qdxsome:document/workmode/qdxfile"), "1");
    EXPECT_EQ(Value(site, "/qdxsome:document/workmode/agent"), "0");
    EXPECT_EQ(Value(site, "/qdxsome:document/environment/lanklimit"), "2");
    EXPECT_EQ(Value(site, "/qdxsome:document/environment/sleepcpulevel"), "4");
    ASSERT_EQ(file.LoadFile(Bat() + "file.xml"), 1);
    EXPECT_EQ(ElementNames(file.Top()), (std::vector<std::string>{"title", "discription", "url", "save", "version", "weboptions"}));

    // The same save name queued again: both jobs stay queued, the second under a new name.
    Queue("http://example.org/other/", box / "site.htm");
    Queue("http://example.org/third/", box / "site.html");
    ASSERT_EQ(site.LoadFile(Bat() + "site.xml"), 1);
    EXPECT_EQ(Value(site, "/qdxsome:document/url"), "http://example.org/a/b/");
    ASSERT_EQ(site.LoadFile(Bat() + "site(2).xml"), 1);
    EXPECT_EQ(Value(site, "/qdxsome:document/url"), "http://example.org/other/");
    ASSERT_EQ(site.LoadFile(Bat() + "site(3).xml"), 1);
    EXPECT_EQ(Value(site, "/qdxsome:document/url"), "http://example.org/third/");

    Queue("http://example.org/x/", box / "snow☃.html");  // Shift-JIS cannot hold the snowman
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "バッチ処理を追加できませんでした。\r\n\r\n保存名を変更してリトライしてみてください。");
    EXPECT_EQ(Text(514), "http://example.org/x/");
    EXPECT_FALSE(Sandbox::Exists(Bat() + "snow☃.xml"));  // no half-filled job is left queued
}

TEST_F(BatchTest, AQueuedJobRunsWithTheNamedOptionsOfItsSaveWhateverTheSettingsSay) {
    WriteSettings("[WebOptions]\r\nignore-robots=1\r\nwait-ms=300\r\n");
    NewJob();
    engine::NamedOptions named;
    named.cookieFile = "/home/me/a & <b>.txt";
    named.sitemaps = true;
    job->SetNamed(named);
    Open();
    Queue("http://example.org/a/", box / "site.html");
    ASSERT_TRUE(shown.empty()) << shown[0].text;

    // As SitrovaCui hands the file to Sitrova, and Sitrova reads it with its settings.
    xml::Document doc;
    ASSERT_EQ(doc.LoadFile(Bat() + "site.xml"), 1);
    std::vector<std::string> arguments, message;
    ASSERT_TRUE(cui::NamedArguments(doc, "site.xml", arguments, message));
    arguments.push_back("SomeComplete,\"http://example.org/a/\"");
    EXPECT_EQ(app::NamedOptionsForStart(programFolder + "/Sitrov.ini", arguments), named);
}

TEST_F(BatchTest, ScriptKeepsJobsWhoseSaveDidNotStartAndRemovesItself) {
    ASSERT_TRUE(platform::CreateFolder(Bat()));
    EXPECT_EQ(app::RunBatch(programFolder, false, {}), app::BatchEmpty);
    EXPECT_FALSE(Sandbox::Exists(Bat() + app::kBatchScriptName));
    // A stand-in console tool: jobs named "fail*" found no host, "c*" saved with failed files.
    Sandbox::WriteFile(programFolder + "/SitrovaCui",
                       "#!/bin/sh\necho \"$2\" >> \"$(dirname \"$0\")/ran.txt\"\n"
                       "case \"$2\" in *fail*) exit 3;; */c.xml) exit 1;; esac\n");
    ::chmod((programFolder + "/SitrovaCui").c_str(), 0755);
    // Queued in this order, a second apart: files written within one clock tick share a time.
    const auto queued = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1);
    int place = 0;
    for (const char* name : {"a 'quoted' $x.xml", "fail.xml", "c.xml"}) {
        Sandbox::WriteFile(Bat() + name, "x");
        std::filesystem::last_write_time(Bat() + name, queued + std::chrono::seconds(place++));
    }
    Sandbox::WriteFile(Bat() + "notes.txt", "not a job");

    auto runNow = [](const std::string& program, const std::vector<std::string>& args) {
        return platform::StartProcess(program, args, true);
    };
    platform::FileLock running;  // as a script still going holds it
    ASSERT_NE(running.TakeNow(Bat() + app::kBatchLockName), platform::FileLock::LockBusy);
    ASSERT_TRUE(running.Held());
    EXPECT_EQ(app::RunBatch(programFolder, false, runNow), app::BatchRunning);
    running.Release(false);
    EXPECT_EQ(app::RunBatch(programFolder, false, runNow), 3);
    EXPECT_EQ(Sandbox::ReadFile(programFolder + "/ran.txt"),
              Bat() + "a 'quoted' $x.xml\n" + Bat() + "fail.xml\n" + Bat() + "c.xml\n");
    EXPECT_FALSE(Sandbox::Exists(Bat() + "a 'quoted' $x.xml"));
    EXPECT_TRUE(Sandbox::Exists(Bat() + "fail.xml"));
    EXPECT_FALSE(Sandbox::Exists(Bat() + "c.xml"));
    EXPECT_TRUE(Sandbox::Exists(Bat() + "notes.txt"));
    EXPECT_FALSE(Sandbox::Exists(Bat() + app::kBatchScriptName));
}

TEST_F(BatchTest, TwoQueuedSavesRunInOrderFromTheMenu) {
    Sandbox site;
    Sandbox::WriteFile(site / "a/index.html", "<html><body><a href=\"p.html\">p</a></body></html>");
    Sandbox::WriteFile(site / "a/p.html", "<html><body>page a</body></html>");
    Sandbox::WriteFile(site / "b/index.html", "<html><body>page b</body></html>");
    testsupport::LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    for (const char* program : {"SitrovaCui", "Sitrova"})
        ASSERT_EQ(::symlink((std::string(SITROVA_BIN_DIR) + "/" + program).c_str(), (programFolder + "/" + program).c_str()), 0);

    Open();
    window->Hooks().startProgram = [this](const std::string& program, const std::vector<std::string>& args) {
        started.push_back({program, args});
        return platform::StartProcess(program, args, false);
    };
    Queue(server.BaseUrl() + "/a/index.html", box / "one.html");
    Queue(server.BaseUrl() + "/b/index.html", box / "two.html");
    ASSERT_TRUE(shown.empty()) << shown[0].caption << ": " << shown[0].text;

    FindCommand(window->menuBar(), 28)->trigger();
    FindCommand(window->menuBar(), 28)->trigger();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "バッチ処理を開始しました。");
    EXPECT_EQ(shown[1].text, "既にバッチ処理が実行中です。\r\n※新規実行は、既存処理が完了するまでお待ちください。");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].what, "sh");  // no desktop: the script runs by itself

    EXPECT_TRUE(RunUntil([&] { return !Sandbox::Exists(Bat() + app::kBatchScriptName); }, 90000));
    EXPECT_FALSE(Sandbox::Exists(Bat() + "one.xml"));
    EXPECT_FALSE(Sandbox::Exists(Bat() + "two.xml"));
    EXPECT_NE(Sandbox::ReadFile(box / "one.files/p.html").find("page a"), std::string::npos);
    EXPECT_NE(Sandbox::ReadFile(box / "two.files/index.html").find("page b"), std::string::npos);
    const std::string requests = server.RequestLog();
    EXPECT_LT(requests.find("/a/p.html"), requests.find("/b/index.html")) << requests;

    FindCommand(window->menuBar(), 28)->trigger();
    EXPECT_EQ(shown.back().text, "処理すべきバッチはありませんでした。");
}
