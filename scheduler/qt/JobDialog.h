// The job dialog "コンプリート保存スケジュールの追加": URL, save path, title fetch, file
// choice and the option area of one scheduled job. OK validates and stores into the job;
// Cancel and the close box leave the job as it was.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "scheduler/ScheduledJob.h"
#include "scheduler/qt/SchedulerHooks.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace engineqt {
class NamedOptionsForm;
}

namespace schedulerqt {

class JobDialog : public QDialog {
public:
    JobDialog(scheduler::ScheduledJob& job, const std::string& programFolder, const SchedulerHooks& hooks,
              QWidget* owner);
    ~JobDialog() override;

    // Controls by role, for the window's tests.
    QLineEdit* urlEdit() const { return m_url; }
    QLineEdit* pathEdit() const { return m_path; }
    QLineEdit* upperLimitEdit() const { return m_upperLimit; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* optionsButton() const { return m_options; }
    QPushButton* titleButton() const { return m_title; }
    QPushButton* browseButton() const { return m_browse; }
    QPushButton* cpuButton() const { return m_cpuChange; }
    QLabel* cpuLabel() const { return m_cpuLabel; }
    QCheckBox* check(int which) const { return m_checks[which]; }  // CheckIndex order
    QRadioButton* outDomain(int which) const { return m_outDomain[which]; }
    // The job's named options: the button opens their dialog (null until then), the label
    // shows the ones the job passes.
    QPushButton* webButton() const { return m_webButton; }
    QLabel* webSummary() const { return m_webSummary; }
    QDialog* webDialog() const { return m_webDialog; }

    enum CheckIndex : int { ForceConvert = 0, AliasFix, UseAgent, DataFolder, UpdateLog, CheckCount };

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    void FitTranslatedTexts();
    void ShowOptions(bool shown);
    void ForceConvertClicked();
    void UseAgentClicked();
    void ChangeCpuLevel();
    void Browse();
    void FetchTitle();
    void Accept();
    void OpenWebOptions();
    void TakeWebOptions();
    void ShowWebSummary();

    scheduler::ScheduledJob& m_job;
    int m_cpuLevel;
    std::string m_programFolder;
    const SchedulerHooks& m_hooks;
    QLineEdit* m_url = nullptr;
    QLineEdit* m_path = nullptr;
    QLineEdit* m_upperLimit = nullptr;
    QPushButton* m_title = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_options = nullptr;
    QPushButton* m_cpuChange = nullptr;
    QLabel* m_cpuLabel = nullptr;
    QLabel* m_limitLabel = nullptr;
    QLabel* m_outDomainLabel = nullptr;
    QCheckBox* m_checks[CheckCount] = {};
    QRadioButton* m_outDomain[4] = {};
    engine::NamedOptions m_named;  // as the dialog shows them; the job takes them on OK
    QPushButton* m_webButton = nullptr;
    QLabel* m_webSummary = nullptr;
    QDialog* m_webDialog = nullptr;
    std::unique_ptr<engineqt::NamedOptionsForm> m_webForm;
};

}  // namespace schedulerqt
