// How the catalogue window reaches the desktop: starting Sitrova, opening files, folders and
// URLs. Tests pass their own to record what would have been opened.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "suite/DesktopOpen.h"

class QTimer;
class QWidget;

namespace suiteqt {

struct SuiteHooks {
    using OpenFile = std::function<int(const std::string& target)>;

    // Starts a program with arguments (working folder: the program's folder). 1 started.
    std::function<int(const std::string& program, const std::vector<std::string>& args)> startProgram;
    // Worker thread. Opens a file or folder with the desktop's default handler and waits for
    // the opener's answer: a suite::OpenOutcome.
    OpenFile openFile;
    // Opens a URL with the browser rule of "Sitrov.ini". 1 started.
    std::function<int(const std::string& url)> openUrl;
};

SuiteHooks DefaultSuiteHooks(const std::string& programFolder);

// Opens local files and folders of one view through the hooks. A failure is shown under the
// caption "ファイルが開けません" with the text that names its cause: at once when the file is
// missing, else when the desktop's opener answers (no application for the file, ...).
class LocalOpener : public QObject {
public:
    LocalOpener(const SuiteHooks& hooks, QWidget* view);

    void Open(const std::string& path);
    // Every opener has answered and its failure has been shown.
    bool Idle() const { return m_watch.Idle(); }

private:
    void ShowFailures();

    QWidget* m_view;
    SuiteHooks::OpenFile m_openFile;
    suite::OpenerWatch m_watch;
    QTimer* m_poll;
};

}  // namespace suiteqt
