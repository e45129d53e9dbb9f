// The saved-site view: what a .qdx record shows, and its commands.
#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "records/QdxRecord.h"
#include "records/SectionFile.h"
#include "records/qt/RecordDialogs.h"

class QAction;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QResizeEvent;

namespace engine {
class SaveJob;
}

namespace recordsqt {

// Builds the view in `window` (its central widget and its own menu bar) for job.QdxPath().
// `startUpdateCheck` turns the window into the progress view and starts the update check.
// The returned widget is a SavedSiteView; its creator sets SavedSiteView::hooks.openDialog.
QWidget* CreateSavedSiteView(QMainWindow* window, engine::SaveJob& job, std::function<void()> startUpdateCheck);

// The two help pages of the view's help menu.
enum class HelpPage { QdxFiles, ReadMe };

// How the view reaches outside its window. Every member but openDialog and openHelp has a
// working default; tests replace them so that nothing is launched.
struct SavedSiteHooks {
    // Opens a dialog of the program by name over the view's window: "ErrorLogViewer"
    // (command 67) and "VersionInfo" (command 10). The main window sets it (appqt::OpenDialog
    // with itself and the job): the dialog library depends on this one, so the view cannot
    // call it. While it is unset those two commands do nothing.
    std::function<int(const std::string& name)> openDialog;
    // Opens a help page from the program folder (commands 20 and 23); 0 with `message` set
    // when it cannot. The main window sets it with the shell's help opener, which sits above
    // this library. While it is unset those two commands do nothing.
    std::function<int(HelpPage page, std::string* message)> openHelp;
    // A saved page or a URL, by the browser setting (records::OpenWithBrowser).
    std::function<int(const std::string& target)> openInBrowser;
    // A file, folder or URL with the desktop's handler (platform::ShellOpen); also the opener
    // of related links.
    std::function<int(const std::string& target)> shellOpen;
    // Starts a program without waiting for it (platform::StartProcess).
    std::function<int(const std::string& program, const std::vector<std::string>& args)> startProgram;
    // Acts on each record window before it waits for the user (tests).
    WindowDriver driveWindow;
};

class SavedSiteView : public QWidget {
public:
    // Control identifiers, kept as object names ("ctl514", ...).
    enum Control { DetailsGroup = 512, UrlLabel = 513, UrlEdit = 514, DateLabel = 515, DateEdit = 516,
                   CountLabel = 517, CountEdit = 518, OptionLabel = 519, OptionEdit = 520, NoteGroup = 522,
                   CommentEdit = 523, CloseButton = 532 };
    enum Command { CmdVersion = 10, CmdUpdateCheck = 16, CmdAdRemoval = 18, CmdQuit = 19, CmdQdxHelp = 20,
                   CmdReadMe = 23, CmdNewSitrova = 24, CmdOpenSaved = 60, CmdOpenUrl = 61, CmdComment = 62,
                   CmdLinkAdd = 63, CmdLinkDel = 64, CmdOutDomainList = 65, CmdCopyPath = 66, CmdErrorLog = 67,
                   CmdChangeReport = 68,
                   CmdFirstLink = 1000 };

    SavedSiteView(QMainWindow* window, engine::SaveJob& job, std::function<void()> startUpdateCheck);
    // Unless the update check took the window over: stores the window size and marks the
    // job so that the program does not start itself again on the record.
    ~SavedSiteView() override;

    SavedSiteHooks hooks;

    // Runs a menu command (a grayed one does nothing).
    void OnCommand(int id);
    // The view's menu item with that command, or nullptr.
    QAction* FindCommand(int id) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadJob();
    void CreateControls();
    void BuildMenus();
    void RemoveMenus();
    void RestoreWindowMenus();
    void ReloadRecord();
    void StoreWindowSize();
    void StartUpdateCheck();
    void OpenOutDomainList();
    void RemoveAdvertisements();
    bool StartSitrova(const std::vector<std::string>& args);
    void OpenHelp(int id);
    // The newest change report of the site ("" when no update wrote one).
    std::string ChangeReportPath() const;

    QMainWindow* m_window;
    engine::SaveJob& m_job;
    std::function<void()> m_startUpdateCheck;
    records::QdxRecordReader m_reader;
    records::SectionFile m_record;  // the record behind control 523
    QLineEdit* m_url = nullptr;
    QPlainTextEdit* m_comment = nullptr;
    std::vector<QMenu*> m_menus;
    std::vector<QPointer<QAction>> m_windowMenus;  // the window's own menus, set aside while the view shows
    QSize m_windowSize;
    QSize m_windowMinimum;
    bool m_handedOver = false;
    bool m_adRemovalStarted = false;
};

}  // namespace recordsqt
