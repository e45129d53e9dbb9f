// The scheduler's main window "Sitrova Scheduler": the job list, "スケジュールの追加" and
// "実行", the menu, and the 2-second timer that follows the runner and closes the program
// when the last job has ended.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "scheduler/ScheduleRunner.h"
#include "scheduler/ScheduledJob.h"
#include "scheduler/qt/SchedulerHooks.h"

class QPushButton;
class QTableWidget;

namespace schedulerqt {

class JobDialog;

class ScheduleWindow : public QMainWindow {
public:
    // `programFolder` holds Sitrova and the helper library; `commandWord` is the word behind
    // the program name on the command line ("" for none).
    ScheduleWindow(const std::string& programFolder, const std::string& commandWord, SchedulerHooks hooks);
    ~ScheduleWindow() override;

    // The commands, as the buttons and the menu run them.
    void AddJob();
    void EditJob(int row);
    void RunSchedule();
    void QuitAsked();       // menu 2001
    void CloseToSitrova();  // menu 2002
    void Tick();            // the 2000 ms timer

    int JobCount() const { return static_cast<int>(m_jobs.size()); }
    const scheduler::ScheduledJob& Job(int index) const { return *m_jobs[static_cast<size_t>(index)]; }
    QTableWidget* list() const { return m_list; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* runButton() const { return m_run; }
    bool ScheduleActive() const { return m_scheduleActive; }
    // Called with each job dialog right after it was created (tests fill it from here).
    std::function<void(JobDialog&)> onJobDialog;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildMenu();
    int OpenJobDialog(scheduler::ScheduledJob& job);
    void WriteRow(int row);
    // Pauses a running schedule for an add or edit; false when the runner must not be held.
    bool PauseForAdd();
    bool PauseForEdit(int row);
    void ResumeAfterChange();

    std::string m_programFolder;
    std::string m_commandWord;
    SchedulerHooks m_hooks;
    std::vector<std::unique_ptr<scheduler::ScheduledJob>> m_jobs;
    std::unique_ptr<scheduler::ScheduleRunner> m_runner;
    bool m_runnerStarted = false;
    bool m_runnerPaused = false;
    bool m_scheduleActive = false;
    QTableWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_run = nullptr;
    QTimer m_timer;
};

}  // namespace schedulerqt
