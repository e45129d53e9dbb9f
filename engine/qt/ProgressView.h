// The progress view of a complete save: job summary, progress bar, status line with the
// time estimate, the tail of the log, and the completion report. It polls the job once a
// second; the worker never touches a widget.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "engine/SaveHost.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace engine {
class SaveJob;
}

namespace engineqt {

class ProgressView : public QWidget, public engine::SaveHost {
public:
    // Control identifiers, kept as object names ("ctl512", ...) for tests and other windows.
    enum Control { SummaryEdit = 512, ProgressBar = 513, StatusText = 514, LogEdit = 515, DetailButton = 516,
                   SpareButton = 517 };
    enum Command { CmdCpuLevel = 11, CmdClose = 19 };

    ProgressView(engine::SaveJob& job, QWidget* parent = nullptr);
    ~ProgressView() override;

    // Opens the CPU level popup and returns the level chosen (or the current one).
    std::function<int(QWidget* owner, int currentLevel)> cpuPopup;
    // Runs the selection of the links to other sites (it trims the job's lists); none: all stay.
    std::function<int(QWidget* owner, engine::SaveJob& job)> selectOutDomain;
    // What an interactive save asks after its report has been shown (the offers of the
    // program that hosts the view); runs before the window closes itself.
    std::function<void(QWidget* owner, engine::SaveJob& job)> afterReport;
    // The link trace selection of the start: lets the user choose, from the links of the
    // start page, the URL parts that pages below the first level must contain. Returns
    // TraceChosen with `chosen` filled (empty: every link), TraceCancelled when the user
    // cancelled or the links could not be gathered, TraceNobodyToAsk when no display could
    // show the choice. None set: as cancelled, or nobody to ask without a display.
    enum TraceAnswer : int { TraceCancelled = 0, TraceChosen = 1, TraceNobodyToAsk = 2 };
    std::function<int(QWidget* owner, const std::string& startUrl, std::vector<std::string>& chosen)> selectTrace;
    // Whether an interactive save closes its window when the report has been shown.
    void SetCloseWhenDone(bool on) { m_closeWhenDone = on; }

    // Builds the controls (step of the start that creates them).
    void CreateControls();
    void StartTimer();

    // Menu and button commands.
    void OnCommand(int id);
    // Close request: asks while the worker runs. True when the window may close.
    bool QueryClose();
    // Stop question; on Yes the pause stays at 5000 ms until the window is gone.
    bool ConfirmStop();

    // Worker thread (blocks it until the window thread has answered).
    int SelectOutDomainLinks(engine::SaveJob& job) override;

    // One tick of the running timer; public so tests can drive the view without waiting.
    void Tick();
    bool ReportShown() const { return m_reportShown; }
    QString ReportText() const { return m_reportText; }

private:
    void RefreshLog();
    void RefreshProgress();
    void Report();
    void CloseWindow();

    engine::SaveJob& m_job;
    QPlainTextEdit* m_summary = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_status = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QPushButton* m_detail = nullptr;
    QTimer* m_runTimer = nullptr;    // 100
    QTimer* m_afterTimer = nullptr;  // 10242
    // Looks often for the worker's end, so that a save is reported as soon as it is done
    // rather than at the next once-a-second refresh.
    QTimer* m_endTimer = nullptr;
    bool m_closeWhenDone = false;
    bool m_reportShown = false;
    QString m_reportText;
    QString m_lastLogView;
};

// Start of a complete save in `window`: lays out the target, builds the progress controls,
// gathers the trace selection when asked, and starts the worker and the timer.
void ExeSite_BtnCrtAndExeDownload(ProgressView& window, engine::SaveJob& job);

}  // namespace engineqt
