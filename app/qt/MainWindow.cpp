#include "app/qt/MainWindow.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/NewInstance.h"
#include "app/StartUp.h"
#include "app/qt/AdRemovalView.h"
#include "app/qt/InputView.h"
#include "app/qt/MainCommands.h"
#include "app/qt/MainMenu.h"
#include "app/qt/SaveOffers.h"
#include "app/shell/Shell.h"
#include "download/qt/FileSaveView.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "engine/StartChecks.h"
#include "engine/qt/ProgressView.h"
#include "platform/ExitCodes.h"
#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "records/Settings.h"
#include "records/qt/SavedSiteView.h"

namespace appqt {

using namespace engine::mode;
using platformqt::FromQ;

namespace {

constexpr uint32_t kWhlCloseAdRemovalWhenDone = 0x2;
constexpr uint32_t kDefModeDefault = 16384;

// The web address dropped as a link or as text; "" for dropped files.
QString DroppedLink(const QMimeData* data) {
    for (const QUrl& url : data->urls())
        if (!url.isLocalFile()) return url.toString();
    if (data->hasUrls()) return {};
    return data->hasText() ? data->text() : QString();
}

}  // namespace

void BringToFront(QWidget* window) {
    window->showNormal();
    window->raise();
    window->activateWindow();
}

MainWindow::MainWindow(engine::SaveJob& job, uint32_t windowKind, QWidget* parent)
    : QMainWindow(parent), m_job(job), m_kind(windowKind), m_hooks(DefaultUiHooks(job)) {
    setWindowTitle(QStringLiteral("Sitrova"));
    resize(640, 580);
    switch (windowKind) {
    case ModeSomeComplete:
        BuildMenu();
        StartCompleteSave();
        break;
    case ModeUpdateCheck:
        ShowSavedSite();
        break;
    case ModeSomeSeries:
        BuildMenu();
        StartFileSave();
        break;
    case ModeAdRemoval:
        BuildMenu();
        ShowAdRemoval();
        break;
    default:
        BuildMenu();
        ShowInput();
        break;
    }
}

void MainWindow::ShowInput() {
    auto* input = new InputView(m_job, m_hooks, [this] { StartCompleteSave(); }, this);
    input->startFileSave = [this] { StartFileSave(); };
    setCentralWidget(input);
    setAcceptDrops(true);
}

void MainWindow::StartFileSave() {
    setAcceptDrops(false);
    if (QWidget* old = takeCentralWidget()) {
        old->hide();
        old->deleteLater();
    }
    downloadqt::FileSaveHooks hooks;
    hooks.message = m_hooks.message;
    hooks.reveal = [this](const std::string& path) {
        if (m_hooks.startProgram) (void)m_hooks.startProgram("xdg-open", {path.substr(0, path.rfind('/') + 1)});
    };
    hooks.reenterUrl = [this] {
        // The URL and save path go back into a fresh input view.
        m_job.SetModeBits(ModePresetUrl);
        if (QWidget* old = takeCentralWidget()) {
            old->hide();
            old->deleteLater();
        }
        m_fileSave = nullptr;
        setWindowTitle(QStringLiteral("Sitrova"));
        ShowInput();
    };
    hooks.closeWindow = [this] { QTimer::singleShot(0, this, [this] { close(); }); };
    m_fileSave = new downloadqt::FileSaveView(m_job, std::move(hooks), this);
    setCentralWidget(m_fileSave);
    GrayCommands(menuBar(), {12, 13, 14, 15, 16, 18, 21, 25, 26, 27, 28});
    m_fileSave->Start();
}

MainWindow::~MainWindow() = default;

InputView* MainWindow::Input() const { return dynamic_cast<InputView*>(centralWidget()); }

void MainWindow::BuildMenu() {
    const std::string catalogue = appshell::CompanionPath(m_job.ProgramFolder(), appshell::Companion::QdxSuite);
    BuildInputMenuBar(menuBar(), platform::IsRegularFile(catalogue), [this](int id) { OnCommand(id); });
}

void MainWindow::ShowSavedSite() {
    const records::QdxWindowSize size = records::ReadQdxWindowSize(m_job.IniPath());
    resize(static_cast<int>(size.width), static_cast<int>(size.height));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    RegisterInstance();
    QWidget* created = recordsqt::CreateSavedSiteView(this, m_job, [this] {
        StoreQdxWindowSize();
        BuildMenu();
        StartCompleteSave();
    });
    // The view's error-log, version and help commands open the program's dialogs and help
    // pages through us.
    auto* view = dynamic_cast<recordsqt::SavedSiteView*>(created);
    if (!view) return;
    view->hooks.openDialog = [this](const std::string& name) { return m_hooks.openDialog(name, this, m_job, {}); };
    view->hooks.openHelp = [this](recordsqt::HelpPage page, std::string* message) {
        const std::string folder = m_job.ProgramFolder();
        if (page == recordsqt::HelpPage::ReadMe) return appshell::OpenReadMe(folder, message);
        return appshell::OpenHelpTopic(folder, appshell::kQdxHelpTopic, message);
    };
}

// The size is the window's own, without the desktop's frame: read back at the next start it
// gives the same window, so the window does not grow by a frame on every run.
void MainWindow::StoreQdxWindowSize() {
    (void)records::SaveQdxWindowSize(m_job.IniPath(), static_cast<uint32_t>(std::max(0, width())),
                                     static_cast<uint32_t>(std::max(0, height())));
}

void MainWindow::RegisterInstance() {
    const int status = m_instance.CreateAndRegister(app::InstanceNameOf(m_job.QdxPath()));
    if (status != platform::InstanceBlock::Registered) return;
    m_frontPoll = new QTimer(this);
    connect(m_frontPoll, &QTimer::timeout, this, [this] {
        if (m_instance.TakeFrontRequest()) BringToFront(this);
    });
    m_frontPoll->start(250);
}

// Nobody could read the finished window of an unattended run, so that run ends by itself.
void MainWindow::ShowAdRemoval() {
    const bool closeWhenDone =
        (records::ReadWhlMode(m_job.IniPath()) & kWhlCloseAdRemovalWhenDone) != 0 || platformqt::IsHeadless();
    m_adRemoval = new AdRemovalView(m_job, closeWhenDone, this);
    setCentralWidget(m_adRemoval);
}

void MainWindow::StartCompleteSave() {
    // Bad start input is reported before anything is fetched; an unattended save then ends.
    std::string problem;
    if (const int check = engine::CheckSaveStart(m_job, problem); check != engine::StartReady) {
        platformqt::ShowMessage(this, "Sitrova", problem, platformqt::IconWarning);
        m_job.SetRefusal(check == engine::StartCannotWrite ? platform::ExitDisk : platform::ExitRefused);
        // Closed once the event loop runs, so that the program ends like a finished save.
        if (m_job.Has(engine::mode::ModeSomeComplete)) QTimer::singleShot(0, this, [this] { close(); });
        return;
    }
    setAcceptDrops(false);
    // The old view may be the sender of the click that got here: it goes once that is over.
    if (QWidget* old = takeCentralWidget()) {
        old->hide();
        old->deleteLater();
    }
    m_progress = new engineqt::ProgressView(m_job, this);
    m_progress->cpuPopup = [this](QWidget* owner, int level) { return m_hooks.cpuPopup(owner, level); };
    m_progress->selectOutDomain = [this](QWidget* owner, engine::SaveJob& job) {
        return m_hooks.openDialog("OutDomainSelectDlg", owner, job, {});
    };
    m_progress->afterReport = [this](QWidget* owner, engine::SaveJob& job) { AskOffersAfterSave(owner, job, m_hooks); };
    if (m_hooks.selectTrace) m_progress->selectTrace = m_hooks.selectTrace;
    m_progress->SetCloseWhenDone((records::ReadDefMode(m_job.IniPath()) & records::kDefModeCloseWhenDone) != 0);
    setCentralWidget(m_progress);
    GrayCommands(menuBar(), {CmdClearHistory, CmdSiteSaveSettings, CmdSerialSettings, CmdOtherSettings, CmdWebSettings, CmdOpenQdx,
                             CmdAdRemoval, CmdScheduler, CmdQdxFileSettings, CmdStartSave, CmdAddToBatch, CmdRunBatch});
    // A link dropped on the running save opens a new Sitrova for it.
    setAcceptDrops(true);
    engineqt::ExeSite_BtnCrtAndExeDownload(*m_progress, m_job);
}

void MainWindow::StartInstanceFor(const std::string& url) {
    const std::string argument =
        app::NewInstanceArgument(url, m_job.SaveFolder(), records::ReadDefMode(m_job.IniPath(), kDefModeDefault));
    (void)app::StartNewInstance(m_job.ProgramFolder(), argument, m_hooks.startProgram);
}

void MainWindow::OnCommand(int id) {
    if (id == 19) {
        close();
        return;
    }
    if (m_progress) {
        if (RunMenuCommand(id, this, m_job, m_hooks) == CommandOutcome::NotMine) m_progress->OnCommand(id);
        return;
    }
    if (m_fileSave) {
        if (RunMenuCommand(id, this, m_job, m_hooks) == CommandOutcome::CloseWindow) close();
        return;
    }
    if (InputView* input = Input()) input->OnCommand(id);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if ((Input() && (data->hasUrls() || data->hasText())) || (m_progress && !DroppedLink(data).isEmpty())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    InputView* input = Input();
    const QMimeData* data = event->mimeData();
    if (m_progress) {
        const QString link = DroppedLink(data);
        if (link.isEmpty()) return;
        event->setDropAction(Qt::CopyAction);
        event->accept();
        StartInstanceFor(FromQ(link));
        return;
    }
    if (!input) return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    std::vector<std::string> files;
    QString link;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.push_back(FromQ(url.toLocalFile()));
        else if (link.isEmpty())
            link = url.toString();
    }
    if (!files.empty()) {
        input->DropFiles(files);
        return;
    }
    if (link.isEmpty() && data->hasText()) link = data->text();
    if (!link.isEmpty()) input->DropText(FromQ(link));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_progress && !m_progress->QueryClose()) {
        event->ignore();
        return;
    }
    if (m_adRemoval) m_adRemoval->StopWorker();
    if (!m_progress && !m_fileSave && m_kind == ModeNormal) m_job.Progress().SetRunState(ModeMainClosed);
    if (m_kind == ModeUpdateCheck && !m_progress) {
        StoreQdxWindowSize();
        m_job.Progress().SetRunState(ModeUpdateClosed);
    }
    event->accept();
}

}  // namespace appqt
