// The file-save window: the unattended serial run of the program itself, and a busy server
// that pauses the run until it answers again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <QWidget>

#include "app/StartUp.h"
#include "download/qt/FileSaveView.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/Codepage.h"
#include "platform/Process.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/QtApp.h"
#include "tests/support/Sandbox.h"

using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

std::string Picture(int n) { return "\xFF\xD8picture number " + std::to_string(n) + std::string(2000 + n * 37, 'x'); }

std::string Name(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "img%03d.jpg", n);
    return name;
}

void ServeTwelve(const Sandbox& site) {
    for (int n = 1; n <= 12; ++n) Sandbox::WriteFile(site / ("img/" + Name(n)), Picture(n));
}

}  // namespace

TEST(SomeSeries, UnattendedRunSavesTheSeriesStopsAtTheGapAndEnds) {
    Sandbox site, out;
    ServeTwelve(site);
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    const std::string arg =
        "SomeSeries,\"" + server.BaseUrl() + "/img/img001.jpg\",\"" + out.Path() + "img001.jpg\"";
    int code = -1;
    ASSERT_EQ(platform::StartProcess("timeout", {"60", std::string(SITROVA_BIN_DIR) + "/Sitrova", arg}, true, &code),
              platform::ProcessStarted);
    EXPECT_EQ(code, 0);
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(Sandbox::ReadFile(out / Name(n)), Picture(n)) << n;
    EXPECT_FALSE(Sandbox::Exists(out / "img013.jpg"));
    EXPECT_FALSE(Sandbox::Exists(out / "img013.jpg.part"));
    std::string log;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(out / "img001-Description.log"), log), platform::CodepageOk);
    EXPECT_EQ(log.rfind("【ファイルURL】\r\n" + server.BaseUrl() + "/img/img001.jpg\r\n\r\n【保存先フルパス】\r\n" +
                            out.Path() + "img001.jpg\r\n\r\n\r\n" + std::string(67, '-') +
                            "\r\n12個の連番ファイルを保存しました。\r\n\r\n",
                        0),
              0u)
        << log;
}

TEST(FileSaveView, BusyServerPausesTheSeriesAndTheFileIsTriedAgain) {
    testsupport::EnsureQApplication();
    Sandbox site, out;
    ServeTwelve(site);
    LoopbackServer server(site.Path(), R"({"/img/img003.jpg": {"status": 503}})");
    engine::SaveJob job;
    job.SetModeBits(engine::mode::ModeSomeSeries);
    job.SetProgramFolder(out.Path() + "none");
    job.SetStartUrl(server.BaseUrl() + "/img/img001.jpg");
    job.SetSaveTarget(out.Path() + "img001.jpg");
    EXPECT_TRUE(app::CatalogueArguments(job).empty());  // nothing saved yet, nothing to register

    QWidget window;
    bool closed = false;
    downloadqt::FileSaveHooks hooks;
    hooks.closeWindow = [&] { closed = true; };
    auto* view = new downloadqt::FileSaveView(job, hooks, &window);
    view->busyPauseMs = 100;
    view->Start();
    QElapsedTimer clock;
    clock.start();
    bool released = false;
    while (!closed && clock.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // Once the busy answer has been seen twice, the server recovers.
        const std::string log = server.RequestLog();
        size_t first = log.find("GET /img/img003.jpg");
        if (!released && first != std::string::npos && log.find("GET /img/img003.jpg", first + 1) != std::string::npos &&
            view->findChild<QTreeWidget*>()->topLevelItem(2)) {
            released = server.SetRules("");
        }
    }
    ASSERT_TRUE(closed);
    EXPECT_EQ(view->SavedCount(), 12);
    EXPECT_EQ(Sandbox::ReadFile(out / "img003.jpg"), Picture(3));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Sitrova - [連番ファイルの保存を終了]"));
    EXPECT_EQ(view->findChild<QTreeWidget*>()->topLevelItemCount(), 12);
    EXPECT_EQ(app::CatalogueArguments(job),
              (std::vector<std::string>{"FILE", server.BaseUrl() + "/img/img001.jpg", out.Path() + "img001.jpg"}));
}
