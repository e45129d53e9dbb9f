#include "app/qt/MainWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include "app/StartUp.h"
#include "app/qt/CpuPopup.h"
#include "app/qt/InputView.h"
#include "app/qt/MainMenu.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "engine/qt/ProgressView.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/qt/MessageBox.h"
#include "records/Settings.h"

namespace appqt {

using namespace engine::mode;

namespace {

constexpr uint32_t kCloseAfterSave = 0x8000;

}  // namespace

void BringToFront(QWidget* window) {
    window->showNormal();
    window->raise();
    window->activateWindow();
}

MainWindow::MainWindow(engine::SaveJob& job, uint32_t windowKind, QWidget* parent)
    : QMainWindow(parent), m_job(job), m_kind(windowKind) {
    setWindowTitle(QStringLiteral("Sitrova"));
    resize(640, 580);
    BuildMenu();
    switch (windowKind) {
    case ModeSomeComplete:
        StartCompleteSave();
        break;
    case ModeUpdateCheck:
        RegisterInstance();
        ShowUnavailable("保存済みサイトの表示");
        break;
    case ModeSomeSeries:
        ShowUnavailable("単体／連番保存");
        break;
    case ModeAdRemoval:
        ShowUnavailable("バナー広告等の削除");
        break;
    default:
        setCentralWidget(new InputView(job, [this] { StartCompleteSave(); }, this));
        break;
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenu() {
    const bool catalogue = platform::IsRegularFile(m_job.ProgramFolder() + "/QdxSuite");
    BuildInputMenuBar(menuBar(), catalogue, [this](int id) { OnCommand(id); });
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

void MainWindow::ShowUnavailable(const char* what) {
    auto* label = new QLabel(QString::fromUtf8(what) + QStringLiteral("は、このバージョンではまだ使えません。"), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
}

void MainWindow::StartCompleteSave() {
    m_progress = new engineqt::ProgressView(m_job, this);
    m_progress->cpuPopup = [](QWidget* owner, int level) { return RunCpuPopup(owner, level); };
    m_progress->SetCloseWhenDone((records::ReadDefMode(m_job.IniPath()) & kCloseAfterSave) != 0);
    setCentralWidget(m_progress);
    GrayCommands(menuBar(), {12, 13, 14, 15, 16, 18, 21, 25, 26, 27, 28});
    engineqt::ExeSite_BtnCrtAndExeDownload(*m_progress, m_job);
}

void MainWindow::OnCommand(int id) {
    switch (id) {
    case 19:
        close();
        return;
    case 24:
        (void)platform::StartProcess(m_job.ProgramFolder() + "/Sitrova", {}, false);
        return;
    case 10:
        platformqt::ShowMessage(this, "Sitrova", "Sitrova\r\nVersion. 6.42", platformqt::IconInformation);
        return;
    default:
        break;
    }
    if (m_progress) {
        m_progress->OnCommand(id);
        return;
    }
    if (id == 11) {
        (void)RunCpuPopup(this, 100);
        return;
    }
    if (auto* input = dynamic_cast<InputView*>(centralWidget())) input->OnCommand(id);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_progress && !m_progress->QueryClose()) {
        event->ignore();
        return;
    }
    if (!m_progress && m_kind == ModeNormal) m_job.SetModeBits(ModeMainClosed);
    if (m_kind == ModeUpdateCheck && !m_progress) m_job.SetModeBits(ModeUpdateClosed);
    event->accept();
}

}  // namespace appqt
