// From the saved-site view to the update check in the same window, against a real save of
// a loopback site.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QThread>
#include <memory>

#include "app/qt/MainWindow.h"
#include "engine/ModeFlags.h"
#include "engine/SaveHost.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "engine/qt/ProgressView.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"
#include "records/SaveRecords.h"
#include "records/qt/SavedSiteView.h"
#include "tests/records/qt/SavedSiteFiles.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/QtApp.h"

using namespace engine::mode;
using testsupport::Sandbox;

namespace {

class UpdateCheckViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::HttpGlobalInit(); }
    void SetUp() override {
        testsupport::EnsureQApplication();
        Sandbox::WriteFile(site / "index.html", "<html><head><title>top</title></head><body>"
                                                "<a href=\"a.html\">a</a></body></html>");
        Sandbox::WriteFile(site / "a.html", "<html><head><title>a</title></head><body>a</body></html>");
        server = std::make_unique<testsupport::LoopbackServer>(site.Path());
        ASSERT_TRUE(server->Running());
        ASSERT_TRUE(platform::CreateFolder(program));
    }

    // The first save, as an interactive save with data folder and record leaves it.
    int FirstSave() {
        engine::SaveJob job;
        records::SaveRecords records;
        records.SetTempFolder(temp.Path());
        job.SetRecords(&records);
        job.SetModeBits(0x301);
        job.SetStartUrl(server->BaseUrl() + "/index.html");
        job.SetSaveTarget(out / "site.html");
        EXPECT_EQ(engine::PrepareSaveStart(job), 1);
        engine::SilentHost host;
        const int result = engine::SaveWorker(host, job);
        records.FinishSavedSiteLog(job);
        job.SetRecords(nullptr);
        return result;
    }

    // Ticks the progress view until it reports; false when it does not within a minute.
    static bool WaitForReport(engineqt::ProgressView& progress) {
        QElapsedTimer timer;
        timer.start();
        while (!progress.ReportShown() && timer.elapsed() < 60000) {
            QThread::msleep(50);
            progress.Tick();
        }
        return progress.ReportShown();
    }

    Sandbox site, out, temp, settings;
    const std::string program = settings / "program";
    std::unique_ptr<testsupport::LoopbackServer> server;
};

}  // namespace

TEST_F(UpdateCheckViewTest, MainWindowRunsTheCheckChosenFromTheViewMenu) {
    ASSERT_EQ(FirstSave(), 1);
    engine::SaveJob job;
    records::SaveRecords records;
    records.SetTempFolder(temp.Path());
    job.SetRecords(&records);
    job.SetProgramFolder(program);
    job.SetQdxPath(out / "site.qdx");
    job.SetModeBits(ModeUpdateCheck);
    {
        appqt::MainWindow window(job, ModeUpdateCheck);
        window.show();
        auto* view = dynamic_cast<recordsqt::SavedSiteView*>(window.centralWidget());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("site.qdx - Sitrova"));
        EXPECT_EQ(recordsqttest::Control<QLineEdit>(view, 514)->text().toStdString(), server->BaseUrl() + "/index.html");
        EXPECT_EQ(recordsqttest::Control<QLineEdit>(view, 518)->text(), QStringLiteral("2"));
        QAction* check = view->FindCommand(recordsqt::SavedSiteView::CmdUpdateCheck);
        ASSERT_NE(check, nullptr);
        check->trigger();
        ASSERT_NE(window.Progress(), nullptr);
        EXPECT_EQ(window.centralWidget(), window.Progress());
        EXPECT_TRUE(job.UpdateCheck());
        ASSERT_TRUE(WaitForReport(*window.Progress()));
        EXPECT_EQ(job.Result(), 2);
        EXPECT_TRUE(window.Progress()->ReportText().endsWith(QStringLiteral("更新されたページは存在しません。")));
    }
    // The check's new log replaced the earlier one, and the program will show the view again.
    EXPECT_TRUE(platform::IsRegularFile(out / "site.files/SitrovSaveInfo.log"));
    EXPECT_FALSE(platform::FileExists(out / "site.files/SitrovSaveInfo.log.tmp"));
    EXPECT_FALSE(job.Has(ModeUpdateClosed));
    job.SetRecords(nullptr);
}
