// The window of AlbumFetcher: album URL and folder, start and cancel, a bar for the file in
// transfer and one for the whole album, and the list of saved photos.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "albumfetcher/AlbumPages.h"
#include "platform/qt/MessageBox.h"

class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

class QTimer;

namespace download {
class SerialSession;
struct SessionJob;
}

namespace albumqt {

struct AlbumHooks {
    std::function<int(QWidget* owner, const std::string& caption, const std::string& text,
                      platformqt::MessageIcon icon, platformqt::MessageButtons buttons, int defaultAnswer)>
        message;
    // Any program, not waited for; 1 started.
    std::function<int(const std::string& program, const std::vector<std::string>& args)> startProgram;
};

// The hooks of the running program.
AlbumHooks DefaultAlbumHooks();

class AlbumWindow : public QMainWindow {
public:
    enum Control { UrlEdit = 1002, FolderEdit = 1003, PhotoList = 1004, StartButton = 1005, CancelButton = 1006,
                   FileBar = 1007, AlbumBar = 1008, FileCounter = 1009, AlbumCounter = 1010 };

    // args: album URL, folder, and "auto" to start by itself a second after the window opens.
    AlbumWindow(const std::vector<std::string>& args, std::string programFolder, AlbumHooks hooks,
                QWidget* parent = nullptr);
    ~AlbumWindow() override;

    // "ダウンロード開始".
    void StartDownload();
    bool Running() const { return m_running; }
    bool Finished() const { return m_finished; }
    // The program's exit code for the run so far (platform/ExitCodes.h): 0 until a run failed.
    int ExitCode() const { return m_exitCode; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    // The window's timer: shows what the session did since the last look.
    void Poll();
    void FinishRun();
    void FolderFailed();
    void FailPhoto();
    // A run started by "auto" that cannot start: nobody is there to correct the boxes.
    void RefuseStart(const QString& text, int exitCode);
    int Ask(const QString& text, platformqt::MessageIcon icon, platformqt::MessageButtons buttons, int answer,
            const QString& caption = QStringLiteral("AlbumFetcher"));

    std::string m_programFolder;
    AlbumHooks m_hooks;
    QLineEdit* m_url = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_start = nullptr;
    QProgressBar* m_fileBar = nullptr;
    QProgressBar* m_albumBar = nullptr;
    QLineEdit* m_fileCounter = nullptr;
    QLineEdit* m_albumCounter = nullptr;
    QTreeWidget* m_list = nullptr;

    QTimer* m_poll = nullptr;
    int m_total = 0;
    std::string m_albumUrl;
    std::string m_folderPath;
    std::string m_lastSaved;
    int m_savedCount = 0;
    int m_exitCode = 0;
    bool m_autoStart = false;
    std::unique_ptr<download::SerialSession> m_session;
    bool m_running = false;
    bool m_finished = false;
};

}  // namespace albumqt
