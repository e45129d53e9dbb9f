// The one top-level window of Sitrova. Its content is chosen by the job's kind: the input
// view, the progress view of a complete save, the saved-site view of a record file, and the
// views of later job kinds.
#pragma once

#include <QMainWindow>
#include <string>

#include "app/qt/UiHooks.h"
#include "platform/InstanceBlock.h"

class QTimer;

namespace engine {
class SaveJob;
}

namespace engineqt {
class ProgressView;
}

namespace downloadqt {
class FileSaveView;
}

namespace appqt {

class AdRemovalView;
class InputView;

class MainWindow : public QMainWindow {
public:
    MainWindow(engine::SaveJob& job, uint32_t windowKind, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the command of a menu item or button.
    void OnCommand(int id);
    // Turns the window into the progress view of the job and starts the save.
    void StartCompleteSave();
    // Turns the window into the file-save view and starts the download of the job's URL.
    void StartFileSave();

    engineqt::ProgressView* Progress() const { return m_progress; }
    downloadqt::FileSaveView* FileSave() const { return m_fileSave; }
    InputView* Input() const;
    AdRemovalView* AdRemoval() const { return m_adRemoval; }
    // What the window shows and starts; tests replace parts of it.
    UiHooks& Hooks() { return m_hooks; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenu();
    void RegisterInstance();
    void ShowSavedSite();
    void ShowInput();
    void ShowAdRemoval();
    void StoreQdxWindowSize();
    // A new Sitrova from the program folder, its input view filled with `url` and the save's folder.
    void StartInstanceFor(const std::string& url);

    engine::SaveJob& m_job;
    uint32_t m_kind;
    UiHooks m_hooks;
    engineqt::ProgressView* m_progress = nullptr;
    downloadqt::FileSaveView* m_fileSave = nullptr;
    AdRemovalView* m_adRemoval = nullptr;
    platform::InstanceBlock m_instance;
    QTimer* m_frontPoll = nullptr;
};

// Brings a window to the front: shown normally, raised and activated.
void BringToFront(QWidget* window);

}  // namespace appqt
