#include "engine/qt/ProgressView.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/CompleteSave.h"
#include "engine/CpuLevel.h"
#include "engine/JobRecords.h"
#include "engine/ProgressText.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/Clock.h"
#include "platform/UiLanguage.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace engineqt {

using namespace engine::mode;
using platformqt::FromQ;
using platformqt::ToQ;
using platformqt::ToQLines;

namespace {

constexpr int kLinePixels = 12;
constexpr uint32_t kStoppingSleepMs = 5000;
constexpr uint32_t kStopWaitMs = 3000;
constexpr int kEndPollMs = 50;


}  // namespace

ProgressView::ProgressView(engine::SaveJob& job, QWidget* parent) : QWidget(parent), m_job(job) {
    m_runTimer = new QTimer(this);
    m_runTimer->setInterval(1000);
    connect(m_runTimer, &QTimer::timeout, this, [this] { Tick(); });
    m_afterTimer = new QTimer(this);
    m_afterTimer->setInterval(1000);
    connect(m_afterTimer, &QTimer::timeout, this, [this] { RefreshLog(); });
    m_endTimer = new QTimer(this);
    m_endTimer->setInterval(kEndPollMs);
    connect(m_endTimer, &QTimer::timeout, this, [this] {
        if (m_job.WorkerEnded()) Tick();
    });
}

ProgressView::~ProgressView() {
    m_runTimer->stop();
    m_endTimer->stop();
    m_afterTimer->stop();
    // A worker that still runs is asked to stop between steps; the process ends after this
    // window, so a transfer that does not stop in time is left to the exit.
    if (m_job.WorkerRunning()) (void)m_job.StopWorker(kStopWaitMs);
    // A save stopped before its report still records what it saved, so the record file and
    // a later update check find the pages that are on disk.
    if (!m_reportShown) {
        if (engine::JobRecords* records = m_job.Records()) records->FinishSavedSiteLog(m_job);
    }
}

void ProgressView::CreateControls() {
    auto* layout = new QVBoxLayout(this);
    m_summary = new QPlainTextEdit(this);
    m_summary->setObjectName(platformqt::ControlName(SummaryEdit));
    m_summary->setReadOnly(true);
    // The job holds the summary the description log writes, in Japanese; a reader of English
    // gets the same summary in English.
    m_summary->setPlainText(ToQLines(platform::InEnglish() ? engine::ShownJobSummary(m_job) : m_job.JobSummary()));
    m_summary->setMaximumHeight(150);
    layout->addWidget(m_summary);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(platformqt::ControlName(ProgressBar));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    layout->addWidget(m_bar);

    m_status = new QLabel(this);
    m_status->setObjectName(platformqt::ControlName(StatusText));
    m_status->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_status);

    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(platformqt::ControlName(LogEdit));
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_log, 1);

    auto* row = new QHBoxLayout();
    auto* cpuLabel = new QLabel(UiText::tr("CPU占有率："), this);
    row->addWidget(cpuLabel);
    auto* spare = new QPushButton(QStringLiteral("---"), this);
    spare->setObjectName(platformqt::ControlName(SpareButton));
    spare->setEnabled(false);
    row->addWidget(spare);
    row->addStretch(1);
    m_detail = new QPushButton(m_job.DetailView() ? UiText::tr("≪簡易") : UiText::tr("詳細≫"), this);
    m_detail->setObjectName(platformqt::ControlName(DetailButton));
    connect(m_detail, &QPushButton::clicked, this, [this] { OnCommand(DetailButton); });
    row->addWidget(m_detail);
    layout->addLayout(row);
}

void ProgressView::StartTimer() {
    m_runTimer->start();
    m_endTimer->start();
}

void ProgressView::OnCommand(int id) {
    switch (id) {
    case DetailButton: {
        const bool detail = !m_job.DetailView();
        m_job.SetDetailView(detail);
        m_detail->setText(detail ? UiText::tr("≪簡易") : UiText::tr("詳細≫"));
        RefreshLog();
        break;
    }
    case CmdClose:
        QMetaObject::invokeMethod(this, [this] { CloseWindow(); }, Qt::QueuedConnection);
        break;
    case CmdCpuLevel:
        if (cpuPopup) {
            int level = cpuPopup(window(), engine::LevelForSleep(m_job.CpuSleepMs()));
            m_job.SetCpuSleepMs(engine::SleepForLevel(level));
        }
        window()->raise();
        window()->activateWindow();
        break;
    default:
        break;
    }
}

bool ProgressView::ConfirmStop() {
    const uint32_t before = m_job.CpuSleepMs();
    m_job.SetCpuSleepMs(kStoppingSleepMs);
    int answer = platformqt::ShowMessage(window(), "Sitrova", FromQ(UiText::tr("強制終了します。\r\nよろしいですか？")),
                                         platformqt::IconQuestion, platformqt::ButtonsYesNo, platformqt::AnswerNo);
    if (answer == platformqt::AnswerYes) return true;
    m_job.SetCpuSleepMs(before);
    return false;
}

bool ProgressView::QueryClose() {
    if (!m_job.WorkerRunning()) return true;
    return ConfirmStop();
}

int ProgressView::SelectOutDomainLinks(engine::SaveJob& job) {
    // The selection dialog lives on the window thread; the worker waits for its answer.
    if (QThread::currentThread() == thread()) return 1;
    QMetaObject::invokeMethod(
        this,
        [this, &job] {
            // Nobody could answer the dialog without a display: every link stays, and the log says why.
            if (platformqt::IsHeadless()) {
                job.AppendLog(engine::kNoDisplayOutDomainLine);
                return;
            }
            if (!selectOutDomain) {
                job.AppendLog("  外部ドメインのリンクは、選択せずに全て対象とします。");
                return;
            }
            (void)selectOutDomain(this, job);
        },
        Qt::BlockingQueuedConnection);
    return 1;
}

void ProgressView::Tick() {
    RefreshLog();
    RefreshProgress();
    if (!m_job.WorkerEnded() || m_reportShown) return;
    m_runTimer->stop();
    m_endTimer->stop();
    RefreshLog();
    RefreshProgress();
    Report();
    m_afterTimer->start();
}

void ProgressView::RefreshLog() {
    if (!m_log) return;
    const int height = m_log->viewport()->height();
    const size_t lines = static_cast<size_t>(std::max(1, height / kLinePixels));
    const QString view = ToQLines(m_job.LogView(lines));
    if (view == m_lastLogView) return;
    m_lastLogView = view;
    m_log->setPlainText(view);
    m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
}

void ProgressView::RefreshProgress() {
    if (!m_bar) return;
    const engine::JobSnapshot snapshot = m_job.Snapshot();
    const uint64_t now = platform::TickCount();
    m_bar->setValue(m_job.PercentDone());
    m_status->setText(ToQLines(engine::StatusText(snapshot, now)));
    if (!m_reportShown) window()->setWindowTitle(ToQ(engine::ProgressTitle(snapshot, now)));
}

void ProgressView::Report() {
    m_reportShown = true;
    window()->setWindowTitle(UiText::tr("Sitrova - サイト保存を終了しました"));
    // The description log keeps the Japanese report; the window shows it in the user's language.
    (void)engine::CloseCompleteSave(m_job);
    const std::string text =
        engine::ShownCompletionText(m_job.ModeFlags(), m_job.UpdateCheck(), m_job.ChosenSaveName(), m_job.Result());
    m_reportText = ToQ(text);
    if (!m_job.Has(ModeSomeComplete)) {
        platformqt::ShowMessage(window(), "Sitrova", text, platformqt::IconInformation);
        if (afterReport) afterReport(window(), m_job);
        if (m_closeWhenDone) CloseWindow();
        return;
    }
    CloseWindow();
}

void ProgressView::CloseWindow() { window()->close(); }

namespace {

// The user picks the URL parts followed below the first level. The log lines are added once
// the answer is known; the log view is first drawn after this step.
void ChooseTraceLinks(ProgressView& window, engine::SaveJob& job) {
    std::vector<std::string> chosen;
    int answer = platformqt::IsHeadless() ? ProgressView::TraceNobodyToAsk : ProgressView::TraceCancelled;
    if (window.selectTrace) answer = window.selectTrace(window.window(), job.StartUrl(), chosen);
    if (answer == ProgressView::TraceNobodyToAsk) {
        engine::NoteTraceSelectionUnasked(job);
        return;
    }
    job.AppendLog("  追跡リンク選択のための情報を取得中･･･");
    if (answer != ProgressView::TraceChosen) {
        job.AppendLog("　！追跡リンク選択はキャンセル、もしくは情報取得に失敗しました。");
        job.AppendLog("");
        return;
    }
    job.AppendLog("_Ad_100％");
    job.SetTraceSelection(std::move(chosen));
}

}  // namespace

void ExeSite_BtnCrtAndExeDownload(ProgressView& window, engine::SaveJob& job) {
    std::string refusal;
    if (!engine::OpenCompleteSave(job, &refusal)) {
        // Another save runs into the same target: this one leaves everything to it.
        platformqt::ShowMessage(window.window(), "Sitrova", refusal, platformqt::IconError);
        window.OnCommand(ProgressView::CmdClose);
        return;
    }
    window.CreateControls();
    if (engine::AsksTraceSelection(job)) ChooseTraceLinks(window, job);
    window.window()->raise();
    engine::StartSaveWorker(window, job);
    window.StartTimer();
}

}  // namespace engineqt
