// The input view of the main window: the start URL, the save path and the options of a
// complete save, the menu commands that need them, and what is dropped on the window.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/InputRules.h"
#include "app/TitleFetch.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace engine {
class SaveJob;
}

namespace appqt {

struct UiHooks;
class AnalysisPanel;

class InputView : public QWidget {
public:
    // Control identifiers, kept as object names ("ctl514", ...) for tests and other windows.
    enum Control {
        TargetFrame = 512, UrlLabel = 513, UrlEdit = 514, SaveLabel = 515, SaveCombo = 516, AnalyseButton = 517,
        BrowseButton = 518, TitleButton = 519, StartButton = 520, CancelButton = 521, OptionButton = 522,
        OptionFrame = 523, LimitLabel = 524, LimitEdit = 525, ForcedCheck = 526, AliasCheck = 527,
        AgentCheck = 528, DataFolderCheck = 529, UpdateLogCheck = 530, OutDomainFrame = 531, OutDomainOff = 532,
        OutDomainOn = 533, OutDomainSelect = 534, CpuLabel = 535, CpuButton = 536, TraceCheck = 537
    };

    // `startSave` turns the window into the progress view once the job is filled.
    InputView(engine::SaveJob& job, UiHooks& hooks, std::function<void()> startSave, QWidget* parent = nullptr);
    ~InputView() override;

    // Commands of the buttons and of the menu bar.
    void OnCommand(int id);
    // Checks the fields, fills the job and starts the save. False when it did not start.
    bool StartSave();
    // Turns the window into the file-save view once the job is filled (URLs of no HTML page).
    std::function<void()> startFileSave;

    // What was dropped on the window: a URL as text, or a list of local files.
    void DropText(const std::string& text);
    void DropFiles(const std::vector<std::string>& paths);

    // One tick of the title fetch's timer; public so tests can drive it without waiting.
    void TitleTick();
    bool TitleFetchRunning() const;
    AnalysisPanel* Analysis() const { return m_analysis; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void LayoutControls();
    void SetInitialState();
    void ToggleOptionArea();
    void ChooseCpuLevel();
    void RenewCpuButton();
    void ClearHistory();
    bool StartFileSave(const app::InputFields& fields);
    bool CheckFields(app::InputFields& fields);
    void FillJob(const app::InputFields& fields, bool completeSave);
    void StoreSaveHistory(const std::string& savePath);
    void AddToBatch();
    void OpenSettings(int id);
    void Restart();
    void ChooseSaveFile();
    void StartTitleFetch();
    void AnalysePage();
    void ShowAnalysisDetails();
    void ApplyRecommendations();
    void SetUrl(const std::string& url);
    app::InputOptions Options() const;
    std::string UrlText() const;
    std::string SaveText() const;
    std::vector<std::string> HistoryItems() const;
    int Tell(const std::string& caption, const std::string& text, int icon, bool yesNo = false);

    engine::SaveJob& m_job;
    UiHooks& m_hooks;
    std::function<void()> m_startSave;

    QGroupBox* m_targetFrame = nullptr;
    QLineEdit* m_url = nullptr;
    QComboBox* m_save = nullptr;
    QGroupBox* m_optionFrame = nullptr;
    QLineEdit* m_limit = nullptr;
    QCheckBox* m_forced = nullptr;
    QCheckBox* m_alias = nullptr;
    QCheckBox* m_agent = nullptr;
    QCheckBox* m_dataFolder = nullptr;
    QCheckBox* m_updateLog = nullptr;
    QCheckBox* m_trace = nullptr;
    QRadioButton* m_outDomain[3] = {};
    QPushButton* m_optionButton = nullptr;
    QPushButton* m_cpuButton = nullptr;
    QPushButton* m_titleButton = nullptr;
    QLabel* m_titleProgress = nullptr;
    std::vector<QWidget*> m_optionControls;
    bool m_optionsShown = false;
    int m_grownBy = 0;  // how much the window grew to show the option area

    AnalysisPanel* m_analysis = nullptr;
    app::TitleFetch m_titleFetch;
    QTimer* m_titleTimer = nullptr;
    int m_titleSeconds = 0;
};

}  // namespace appqt
