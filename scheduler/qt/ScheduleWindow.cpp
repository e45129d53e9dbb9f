#include "scheduler/qt/ScheduleWindow.h"

#include <QDir>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>

#include "platform/Process.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"
#include "scheduler/qt/JobDialog.h"
#include "scheduler/qt/ScheduleIcons.h"
#include "scheduler/qt/SchedulerDialogs.h"

namespace schedulerqt {

using platformqt::FromQ;
using platformqt::ToQ;

namespace {

constexpr int kTimerMs = 2000;
constexpr int kTopBar = 32;

std::string SitrovaProgram(const std::string& folder) { return folder + "/Sitrova"; }

}  // namespace

ScheduleWindow::ScheduleWindow(const std::string& programFolder, const std::string& commandWord, SchedulerHooks hooks)
    : m_programFolder(programFolder), m_commandWord(commandWord), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("QdxScheduler"));
    setWindowTitle(ToQ(kCaption));
    setWindowIcon(SchedulerIcon());
    resize(480, 320);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xD3, 0xD3, 0xD3));
    setPalette(palette);
    BuildMenu();

    auto* client = new QWidget(this);
    setCentralWidget(client);
    m_add = new QPushButton(UiText::tr("スケジュールの追加"), client);
    m_add->setObjectName(QStringLiteral("addSchedule"));
    m_run = new QPushButton(UiText::tr("実行"), client);
    m_run->setObjectName(QStringLiteral("run"));
    m_list = new QTableWidget(0, 3, client);
    m_list->setObjectName(QStringLiteral("jobList"));
    m_list->setHorizontalHeaderLabels({UiText::tr("状態"), UiText::tr("保存ファイル名"), UiText::tr("コンプリートするURL")});
    m_list->verticalHeader()->hide();
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 16));
    m_list->verticalHeader()->setDefaultSectionSize(20);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 80);
    m_list->setColumnWidth(1, 128);
    connect(m_add, &QPushButton::clicked, this, [this] { AddJob(); });
    connect(m_run, &QPushButton::clicked, this, [this] { RunSchedule(); });
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { EditJob(row); });
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
}

ScheduleWindow::~ScheduleWindow() = default;

void ScheduleWindow::BuildMenu() {
    QMenu* file = menuBar()->addMenu(UiText::tr("ファイル"));
    file->setObjectName(QStringLiteral("QdXSchdMenu"));
    QAction* toSitrova = file->addAction(UiText::tr("スケジューラを閉じる"));
    toSitrova->setData(2002);
    connect(toSitrova, &QAction::triggered, this, [this] { CloseToSitrova(); });
    QAction* quit = file->addAction(UiText::tr("Sitrova Scheduler を終了する"));
    quit->setData(2001);
    connect(quit, &QAction::triggered, this, [this] { QuitAsked(); });
    QMenu* help = menuBar()->addMenu(UiText::tr("ヘルプ"));
    QAction* version = help->addAction(UiText::tr("バージョン情報"));
    version->setData(2000);
    connect(version, &QAction::triggered, this, [this] { RunVersionDialog(this); });
}

void ScheduleWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QSize size = centralWidget()->size();
    m_add->setGeometry(0, 0, size.width() / 2, kTopBar);
    m_run->setGeometry(size.width() / 2, 0, size.width() - size.width() / 2, kTopBar);
    m_list->setGeometry(0, kTopBar, size.width(), std::max(0, size.height() - kTopBar));
}

int ScheduleWindow::OpenJobDialog(scheduler::ScheduledJob& job) {
    JobDialog dialog(job, m_programFolder, m_hooks, this);
    dialog.setModal(true);
    if (onJobDialog) onJobDialog(dialog);
    return dialog.exec();
}

bool ScheduleWindow::PauseForAdd() {
    if (!m_scheduleActive) return true;
    if (m_runnerPaused) return false;
    const int current = m_runner->Pause();
    // A runner that has left its loop would never run the new job.
    if (current < JobCount() + 1 && !m_runner->Ended()) {
        m_runnerPaused = true;
        return true;
    }
    m_runner->Resume();
    return false;
}

bool ScheduleWindow::PauseForEdit(int row) {
    if (!m_runnerStarted) return true;
    if (m_runnerPaused) return false;
    const int current = m_runner->Pause();
    if (current < row) {
        m_runnerPaused = true;
        return true;
    }
    m_runner->Resume();
    return false;
}

void ScheduleWindow::ResumeAfterChange() {
    if (m_runnerPaused) {
        m_runnerPaused = false;
        m_runner->Resume();
    }
    activateWindow();
    raise();
}

void ScheduleWindow::AddJob() {
    if (!PauseForAdd()) {
        Tell(m_hooks, this, FromQ(UiText::tr("現在は追加できません。")));
        return;
    }
    if (JobCount() >= scheduler::kMaxJobs) {
        Tell(m_hooks, this, FromQ(UiText::tr("スケジュールはもう追加できません。")));
        ResumeAfterChange();
        return;
    }
    auto job = std::make_unique<scheduler::ScheduledJob>(scheduler::NewScheduledJob(m_commandWord));
    // A job starts with the named options a save would take from the settings file.
    job->settingsNamed = records::ReadNamedOptions(m_programFolder + "/Sitrov.ini");
    job->named = job->settingsNamed;
    std::string clipboard;
    if (m_hooks.clipboardText(clipboard))
        scheduler::PrefillFromClipboard(*job, clipboard, platformqt::FromQ(QDir::currentPath()));
    if (OpenJobDialog(*job) == QDialog::Accepted && job->accepted) {
        m_jobs.push_back(std::move(job));
        const int row = JobCount() - 1;
        m_list->insertRow(row);
        WriteRow(row);
        if (m_scheduleActive) m_runner->Append(m_jobs.back()->jobCommand);
    }
    ResumeAfterChange();
}

void ScheduleWindow::EditJob(int row) {
    if (row < 0 || row >= JobCount()) return;
    if (!PauseForEdit(row)) {
        Tell(m_hooks, this, FromQ(UiText::tr("実行中／実行済みの項目は変更できません。")));
        return;
    }
    scheduler::ScheduledJob& job = *m_jobs[static_cast<size_t>(row)];
    if (OpenJobDialog(job) == QDialog::Accepted && m_runnerStarted) m_runner->Replace(row, job.jobCommand);
    WriteRow(row);
    ResumeAfterChange();
}

void ScheduleWindow::RunSchedule() {
    if (m_runnerStarted || JobCount() <= 0) {
        Tell(m_hooks, this, FromQ(UiText::tr("スケジュールの実行に失敗しました。")));
        return;
    }
    std::vector<std::string> commands;
    for (const auto& job : m_jobs) commands.push_back(job->jobCommand);
    // The runner may outlive the window (a save keeps running after the scheduler closed), so
    // it holds its own copy of what it needs.
    const std::string program = SitrovaProgram(m_programFolder);
    m_runner = std::make_unique<scheduler::ScheduleRunner>([program](const std::string& jobCommand) {
        // Runner thread: one Sitrova run, waited for without a time limit.
        (void)platform::StartProcess(program, scheduler::CommandArguments(jobCommand), true);
    });
    if (!m_runner->Start(std::move(commands))) {
        Tell(m_hooks, this, FromQ(UiText::tr("スケジュールの実行に失敗しました。")));
        return;
    }
    m_runnerStarted = true;
    m_scheduleActive = true;
    m_timer.start(kTimerMs);
    m_run->setEnabled(false);
}

void ScheduleWindow::WriteRow(int row) {
    const scheduler::ScheduledJob& job = *m_jobs[static_cast<size_t>(row)];
    const int current = m_runnerStarted ? m_runner->CurrentIndex() : 0;
    const char* state = QT_TRANSLATE_NOOP("UiText", "待機中");
    int icon = scheduler::JobIconIndex(job);
    if (m_runnerStarted && row < current) {
        state = QT_TRANSLATE_NOOP("UiText", "実行済み");
        icon = 0;
    } else if (m_runnerStarted && row == current) {
        state = QT_TRANSLATE_NOOP("UiText", "実行中");
        icon = 1;
    }
    auto* stateItem = new QTableWidgetItem(ScheduleIcon(icon), UiText::tr(state));
    stateItem->setData(Qt::UserRole, QString::fromLatin1(scheduler::IconName(icon).data()));
    m_list->setItem(row, 0, stateItem);
    const size_t slash = job.savePath.rfind('/');
    m_list->setItem(row, 1, new QTableWidgetItem(ToQ(slash == std::string::npos ? job.savePath : job.savePath.substr(slash + 1))));
    m_list->setItem(row, 2, new QTableWidgetItem(ToQ(job.url)));
}

void ScheduleWindow::Tick() {
    for (int row = 0; row < JobCount(); ++row) WriteRow(row);
    if (m_runnerStarted && !m_runnerPaused && m_runner->Ended()) {
        m_timer.stop();
        Tell(m_hooks, this, FromQ(UiText::tr("スケジュールは全て終了しました。")));
        m_scheduleActive = false;
        close();
    }
}

void ScheduleWindow::QuitAsked() {
    if (m_scheduleActive) {
        m_timer.stop();
        const std::string question = FromQ(UiText::tr("スケジュールが実行中です。強制終了しますか？"));
        if (m_hooks.message(this, kCaption, question, platformqt::ButtonsYesNo, platformqt::AnswerNo) !=
            platformqt::AnswerYes) {
            m_timer.start(kTimerMs);
            return;
        }
    }
    close();
}

void ScheduleWindow::CloseToSitrova() {
    if (m_hooks.startProgram(SitrovaProgram(m_programFolder), {}) != platform::ProcessStarted) {
        Tell(m_hooks, this, FromQ(UiText::tr("操作に失敗しました。")));
        return;
    }
    QThread::msleep(500);
    QuitAsked();
}

}  // namespace schedulerqt
