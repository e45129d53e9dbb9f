// The progress view driven offscreen through its controls.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <memory>

#include "engine/SaveJob.h"
#include "engine/qt/ProgressView.h"
#include "tests/support/QtApp.h"
#include "tests/support/QtControls.h"
#include "tests/support/WaitFor.h"

using namespace engine::mode;
using engineqt::ProgressView;

namespace {

using testsupport::Control;

class ProgressViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::EnsureQApplication();
        job.SetModeBits(ModeNormal);
        job.SetJobSummary("【コンプリートするURL】\r\nhttp://h/i.html\r\n");
        job.SetSaveTarget("/s/site.html");
        window = std::make_unique<QMainWindow>();
        view = new ProgressView(job, window.get());
        window->setCentralWidget(view);
        view->CreateControls();
        window->resize(640, 580);
        window->show();
    }

    engine::SaveJob job;
    std::unique_ptr<QMainWindow> window;
    ProgressView* view = nullptr;
};

}  // namespace

TEST_F(ProgressViewTest, ShowsTheSummaryAndSwitchesBetweenLogs) {
    EXPECT_EQ(Control<QPlainTextEdit>(view, 512)->toPlainText(), QStringLiteral("【コンプリートするURL】\nhttp://h/i.html\n"));
    job.AppendSimpleLog("simple line");
    job.AppendLog("detailed line");
    view->Tick();
    auto* log = Control<QPlainTextEdit>(view, 515);
    auto* button = Control<QPushButton>(view, 516);
    EXPECT_EQ(log->toPlainText(), QStringLiteral("simple line"));
    EXPECT_EQ(button->text(), QStringLiteral("詳細≫"));
    button->click();
    EXPECT_EQ(button->text(), QStringLiteral("≪簡易"));
    EXPECT_EQ(log->toPlainText(), QStringLiteral("detailed line"));
    EXPECT_FALSE(Control<QPushButton>(view, 517)->isEnabled());
}

TEST_F(ProgressViewTest, StatusLineBarAndTitleFollowTheCounters) {
    job.AddFound(4);
    job.LinkDone(1);
    job.SetCpuSleepMs(99);
    job.SetStartTick(0);
    view->Tick();
    EXPECT_EQ(Control<QProgressBar>(view, 513)->value(), 25);
    const QString status = Control<QLabel>(view, 514)->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("保存済み1個 ／ 発見済み4個　･･･25％終了（CPU 軽い）\n予想残り時間：")))
        << status.toStdString();
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Sitrova - 予想残り時間：")));
}

TEST_F(ProgressViewTest, AnsweringNoToTheStopQuestionRestoresTheLevel) {
    job.SetCpuSleepMs(3);
    // Offscreen, the question takes its default answer, No.
    EXPECT_FALSE(view->ConfirmStop());
    EXPECT_EQ(job.CpuSleepMs(), 3u);
    EXPECT_TRUE(view->QueryClose());  // no worker runs: closing needs no question
}

TEST_F(ProgressViewTest, EndOfTheWorkerBringsTheReport) {
    job.StartWorker([] { return 0; });
    ASSERT_TRUE(testsupport::WaitFor([this] { return job.WorkerEnded(); }));
    view->Tick();
    EXPECT_TRUE(view->ReportShown());
    EXPECT_TRUE(job.Has(ModeJobFinished));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sitrova - サイト保存を終了しました"));
    EXPECT_EQ(view->ReportText(), QStringLiteral("【site.html】\r\n\r\nのコンプリート保存を終了しました。\r\n"
                                                 "しかし、ダウンロードに失敗したファイルが存在します。"));
    view->Tick();  // a second tick reports nothing more
}
