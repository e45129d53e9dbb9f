// The one top-level window of Sitrova. Its content is chosen by the job's kind: the input
// view, the progress view of a complete save, and the views of later job kinds.
#pragma once

#include <QMainWindow>

#include "platform/InstanceBlock.h"

class QTimer;

namespace engine {
class SaveJob;
}

namespace engineqt {
class ProgressView;
}

namespace appqt {

class MainWindow : public QMainWindow {
public:
    MainWindow(engine::SaveJob& job, uint32_t windowKind, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the command of a menu item or button.
    void OnCommand(int id);
    // Turns the window into the progress view of the job and starts the save.
    void StartCompleteSave();

    engineqt::ProgressView* Progress() const { return m_progress; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void ShowUnavailable(const char* what);
    void RegisterInstance();

    engine::SaveJob& m_job;
    uint32_t m_kind;
    engineqt::ProgressView* m_progress = nullptr;
    platform::InstanceBlock m_instance;
    QTimer* m_frontPoll = nullptr;
};

// Brings a window to the front: shown normally, raised and activated.
void BringToFront(QWidget* window);

}  // namespace appqt
