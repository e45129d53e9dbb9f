// The window of a single file save and of the serial files that may follow it: a box of
// progress lines, a progress bar, and the three-column list of the saved serial files. The
// files are fetched by a session on a worker thread; the window polls what it has to show.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/qt/MessageBox.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTimer;
class QTreeWidget;

namespace engine {
class SaveJob;
}

namespace download {
class SerialSession;
struct SessionJob;
}

namespace downloadqt {

struct FileSaveHooks {
    std::function<int(QWidget* owner, const std::string& caption, const std::string& text,
                      platformqt::MessageIcon icon, platformqt::MessageButtons buttons, int defaultAnswer)>
        message;
    // Shows a saved file or folder in the file manager.
    std::function<void(const std::string& path)> reveal;
    // The user wants to set the URL again.
    std::function<void()> reenterUrl;
    std::function<void()> closeWindow;
};

class FileSaveView : public QWidget {
public:
    enum Control { MessageEdit = 512, ProgressBar = 513, StatusField = 514, SeriesList = 515 };

    FileSaveView(engine::SaveJob& job, FileSaveHooks hooks, QWidget* parent = nullptr);
    ~FileSaveView() override;

    // Starts the download of the job's URL to its save path.
    void Start();

    // How long a busy server is left alone before the file is tried again.
    int busyPauseMs = 30000;
    // The pause before the wrong-URL question of a single save.
    int notFoundDelayMs = 1000;

    bool SeriesMode() const { return m_series; }
    bool Ended() const { return m_ended; }
    int SavedCount() const { return m_savedCount; }
    QString Messages() const;

private:
    // The window's timer: shows what the session did since the last look.
    void Poll();
    void OnEnded(const download::SessionJob& state);
    void SingleNotFound(const std::string& reason);
    // `reason` goes into the description log of an unattended run, `shownReason` to the user.
    void SingleNotSaved(const std::string& reason, const std::string& shownReason);
    // The single file is the last: offers to open its folder, then closes the window.
    void EndOfferingFolder();
    void BeginSeries();
    // `failure` (empty at the end of the numbering) says why the series was broken off, for
    // the description log; `shownFailure` says it to the user.
    void EndSeries(const std::string& failure, const std::string& shownFailure);
    void AddLine(const std::string& line);
    void Finish(const std::string& resultText);
    int Ask(const QString& text, platformqt::MessageIcon icon, platformqt::MessageButtons buttons, int answer);

    engine::SaveJob& m_job;
    FileSaveHooks m_hooks;
    QPlainTextEdit* m_messages = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_status = nullptr;
    QTreeWidget* m_list = nullptr;
    QTimer* m_poll = nullptr;
    std::unique_ptr<download::SerialSession> m_session;
    bool m_unattended = false;
    bool m_series = false;
    bool m_ended = false;
    bool m_asking = false;
    int m_savedCount = 0;
    std::string m_firstUrl;
    std::string m_firstPath;
};

}  // namespace downloadqt
