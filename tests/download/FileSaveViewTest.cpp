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
#include "platform/UiLanguage.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/QtApp.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WindowTexts.h"

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

namespace {

// Runs an unattended save of `url` in the window until it closes.
std::string RunUnattended(const std::string& url, const std::string& target, downloadqt::FileSaveView** viewOut,
                          QWidget& window, engine::SaveJob& job) {
    job.SetModeBits(engine::mode::ModeSomeSeries);
    job.SetProgramFolder(target + "none");
    job.SetStartUrl(url);
    job.SetSaveTarget(target);
    bool closed = false;
    downloadqt::FileSaveHooks hooks;
    hooks.closeWindow = [&] { closed = true; };
    auto* view = new downloadqt::FileSaveView(job, hooks, &window);
    view->notFoundDelayMs = 0;
    view->Start();
    QElapsedTimer clock;
    clock.start();
    while (!closed && clock.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(closed);
    *viewOut = view;
    return view->Messages().toStdString();
}

}  // namespace

TEST(FileSaveView, FailuresTellTheirReasonAndADiskErrorBreaksTheSeriesOff) {
    testsupport::EnsureQApplication();
    Sandbox site, out;
    ServeTwelve(site);
    LoopbackServer server(site.Path(), R"({"/locked.jpg": {"status": 403}})");
    {
        QWidget window;
        engine::SaveJob job;
        downloadqt::FileSaveView* view = nullptr;
        const std::string lines = RunUnattended(server.BaseUrl() + "/locked.jpg", out / "locked.jpg", &view, window, job);
        EXPECT_NE(lines.find("[Error]指定されたファイルは存在しません。(404 Not Found.) [HTTP 403]"), std::string::npos)
            << lines;
    }
    // The third file cannot be written: the series stops there and says so.
    Sandbox::WriteFile(out / "s/img003.jpg.part/in-the-way", "x");
    QWidget window;
    engine::SaveJob job;
    downloadqt::FileSaveView* view = nullptr;
    const std::string lines = RunUnattended(server.BaseUrl() + "/img/img001.jpg", out / "s/img001.jpg", &view, window, job);
    EXPECT_EQ(view->SavedCount(), 2);
    EXPECT_NE(lines.find("[Error]連番ファイルの保存を中断しました。 [ディスクに書き込めません]"), std::string::npos) << lines;
    std::string log;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(out / "s/img001-Description.log"), log), platform::CodepageOk);
    EXPECT_NE(log.find(std::string(67, '-') + "\r\nError\r\n連番ファイルの保存を中断しました。\r\n理由: ディスクに書き込めません\r\n"
                       "中断までに2個の連番ファイルを保存しました。\r\n"),
              std::string::npos)
        << log;
}

// The same broken-off series for a user who reads English: the window tells the run and its
// reason in English, the description log keeps the suite's Japanese, reason included.
TEST(FileSaveView, EnglishWindowTellsTheReasonWhileTheDescriptionLogStaysJapanese) {
    testsupport::EnsureQApplication();
    Sandbox site, out;
    ServeTwelve(site);
    LoopbackServer server(site.Path());
    Sandbox::WriteFile(out / "s/img003.jpg.part/in-the-way", "x");
    platform::SetUiLanguage(platform::UiLanguage::English);
    QWidget window;
    engine::SaveJob job;
    downloadqt::FileSaveView* view = nullptr;
    const std::string lines = RunUnattended(server.BaseUrl() + "/img/img001.jpg", out / "s/img001.jpg", &view, window, job);
    platform::SetUiLanguage(platform::UiLanguage::Japanese);
    EXPECT_EQ(view->SavedCount(), 2);
    EXPECT_FALSE(windowtexts::HasJapanese(QString::fromStdString(lines))) << lines;
    EXPECT_NE(lines.find("[Cannot write to the disk]"), std::string::npos) << lines;
    std::string log;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile(out / "s/img001-Description.log"), log), platform::CodepageOk);
    EXPECT_NE(log.find(std::string(67, '-') + "\r\nError\r\n連番ファイルの保存を中断しました。\r\n理由: ディスクに書き込めません\r\n"
                       "中断までに2個の連番ファイルを保存しました。\r\n"),
              std::string::npos)
        << log;
}

TEST(FileSaveView, StaysResponsiveWhileADeadHostIsProbedAndClosesAtOnce) {
    testsupport::EnsureQApplication();
    Sandbox site, out;
    Sandbox::WriteFile(site / "img/img001.jpg", Picture(1));
    // The probe for the next number reaches a server that accepts and never answers.
    LoopbackServer server(site.Path(), R"({"/img/img002.jpg": {"delay": 120}})");
    engine::SaveJob job;
    job.SetModeBits(engine::mode::ModeSomeSeries);
    job.SetProgramFolder(out.Path() + "none");
    job.SetStartUrl(server.BaseUrl() + "/img/img001.jpg");
    job.SetSaveTarget(out.Path() + "img001.jpg");
    auto window = std::make_unique<QWidget>();
    auto* view = new downloadqt::FileSaveView(job, {}, window.get());
    view->Start();
    QElapsedTimer clock, step;
    clock.start();
    step.start();
    qint64 longestStep = 0;
    qint64 probeSeenAt = -1;
    while (clock.elapsed() < 20000 && (probeSeenAt < 0 || clock.elapsed() < probeSeenAt + 1000)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        longestStep = std::max(longestStep, step.restart());
        if (probeSeenAt < 0 && server.RequestLog().find("/img/img002.jpg") != std::string::npos)
            probeSeenAt = clock.elapsed();
    }
    ASSERT_GE(probeSeenAt, 0);
    EXPECT_LT(longestStep, 1000);
    EXPECT_NE(view->Messages().toStdString().find("ダウンロードに成功しました。"), std::string::npos);
    EXPECT_FALSE(view->Ended());
    QElapsedTimer closing;
    closing.start();
    window.reset();
    EXPECT_LT(closing.elapsed(), 2000);
}
