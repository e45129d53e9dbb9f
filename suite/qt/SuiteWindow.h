// The catalogue's main window "Sitrova Suite": search box and button, the two tabs, the
// progress bar while the lists load, the menu; it takes registrations handed over by later
// QdxSuite processes.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "platform/BackgroundTask.h"
#include "suite/Catalogue.h"
#include "suite/HandOver.h"
#include "suite/qt/SuiteHooks.h"

class QComboBox;
class QDialog;
class QInputDialog;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace suiteqt {

class QdxListView;
class SavedFileView;

// The dialogs of the menu: "最近変更されたサイト" (the number of days) and the version.
std::unique_ptr<QInputDialog> MakeChangedWithinDialog(QWidget* owner);
std::unique_ptr<QDialog> MakeVersionDialog(QWidget* owner);

class SuiteWindow : public QMainWindow {
public:
    // `catalogue` outlives the window; the window writes it back when it closes.
    SuiteWindow(std::string programFolder, suite::Catalogue& catalogue, const SuiteHooks& hooks,
                const std::string& handOverMap = suite::kHandOverName);
    ~SuiteWindow() override;

    QComboBox* SearchBox() const { return m_searchBox; }
    QPushButton* SearchButton() const { return m_searchButton; }
    QTabWidget* Tabs() const { return m_tabs; }
    QProgressBar* Progress() const { return m_progress; }
    QdxListView* QdxView() const { return m_qdxView; }
    SavedFileView* FileView() const { return m_fileView; }
    bool Loaded() const { return m_loadersDone >= 2; }

    // The search of the visible tab with the box's text.
    void RunSearch();
    // Applies one registration to the catalogue and to the open lists.
    void ApplyRegistration(const suite::Registration& registration);
    // Menu "最近変更されたサイト": the saved sites an update changed within the last `days`
    // days, alone in the list. Returns how many.
    int ShowChangedWithin(int days);
    // Menu "Sitrova を起動".
    void StartSitrova();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void StartLoaders();
    void LoaderDone();
    void ShowRegistration(const suite::Registration& registration);
    void PollHandOver();
    void ShowVersion();
    void AskChangedWithin();

    std::string m_programFolder;
    suite::Catalogue& m_catalogue;
    SuiteHooks m_hooks;
    suite::HandOverReceiver m_receiver;
    QComboBox* m_searchBox;
    QPushButton* m_searchButton;
    QTabWidget* m_tabs;
    QdxListView* m_qdxView;
    SavedFileView* m_fileView;
    QProgressBar* m_progress;
    QTimer* m_handOverTimer;
    int m_loadersDone = 0;
    bool m_saved = false;
    std::vector<suite::Registration> m_pending;  // applied while the lists were loading
    platform::BackgroundTask m_qdxLoader;
    platform::BackgroundTask m_fileLoader;
};

}  // namespace suiteqt
