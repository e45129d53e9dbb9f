#include "records/qt/SavedSiteView.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "records/ChangeReport.h"
#include "platform/Process.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/SavedSiteText.h"
#include "records/Settings.h"

namespace recordsqt {

using namespace engine::mode;
using platformqt::ToQ;
using platformqt::ToQLines;

namespace {


QLineEdit* ReadOnlyLine(QWidget* parent, int id, const std::string& text) {
    auto* edit = new QLineEdit(ToQ(text), parent);
    edit->setObjectName(platformqt::ControlName(id));
    edit->setReadOnly(true);
    return edit;
}

QLabel* Label(QWidget* parent, int id, const char* text) {
    auto* label = new QLabel(platformqt::Ui(text), parent);
    label->setObjectName(platformqt::ControlName(id));
    return label;
}

}  // namespace

QWidget* CreateSavedSiteView(QMainWindow* window, engine::SaveJob& job, std::function<void()> startUpdateCheck) {
    auto* view = new SavedSiteView(window, job, std::move(startUpdateCheck));
    window->setCentralWidget(view);
    return view;
}

SavedSiteView::SavedSiteView(QMainWindow* window, engine::SaveJob& job, std::function<void()> startUpdateCheck)
    : QWidget(window), m_window(window), m_job(job), m_startUpdateCheck(std::move(startUpdateCheck)) {
    const std::string iniPath = job.IniPath();
    hooks.openInBrowser = [iniPath](const std::string& target) { return records::OpenWithBrowser(iniPath, target); };
    hooks.shellOpen = ShellOpenTarget;
    hooks.startProgram = [](const std::string& program, const std::vector<std::string>& args) {
        return platform::StartProcess(program, args, false);
    };

    const std::string qdxPath = job.QdxPath();
    window->setWindowTitle(ToQ(platform::NameOf(qdxPath) + " - Sitrova"));
    const records::QdxWindowSize size = records::ReadQdxWindowSize(iniPath);
    m_windowMinimum = window->minimumSize();
    window->setMinimumSize(static_cast<int>(records::kQdxMinWidth), static_cast<int>(records::kQdxMinHeight));
    window->resize(static_cast<int>(size.width), static_cast<int>(size.height));
    m_windowSize = window->size();

    if (records::OpenQdxRecord(qdxPath, m_reader) == records::QdxReadable) {
        LoadJob();
    } else {
        // The start-up read it a moment ago; whatever changed since is told, and the view
        // stays empty.
        platformqt::ShowMessage(window, "Sitrova", m_reader.message, platformqt::IconError);
    }
    ReloadRecord();
    CreateControls();
    BuildMenus();
}

SavedSiteView::~SavedSiteView() {
    if (m_handedOver) return;
    StoreWindowSize();
    m_job.Progress().SetRunState(ModeUpdateClosed);
}

void SavedSiteView::LoadJob() {
    const records::SavedSiteLogReader& log = m_reader.log;
    m_job.SetStartUrl(log.urlBase + log.urlLeaf);
    m_job.SetSaveTarget(log.saveFolder + log.startPageName);
    m_job.SetModeBits(log.modeWord & SavedOptionMask);
    m_job.SetLankLimit(log.lankLimit);
}

void SavedSiteView::ReloadRecord() {
    const std::string path = m_job.QdxPath();
    // Loading creates a missing file; a record that vanished is not brought back empty.
    if (platform::IsRegularFile(path)) (void)m_record.Load(path);
    if (m_comment) m_comment->setPlainText(ToQLines(records::ReadComment(m_record)));
}

void SavedSiteView::CreateControls() {
    const bool read = m_reader.status == records::QdxReadable;
    auto* layout = new QVBoxLayout(this);

    auto* details = new QGroupBox(UiText::tr("保存ファイルの詳細"), this);
    details->setObjectName(platformqt::ControlName(DetailsGroup));
    auto* detailsLayout = new QVBoxLayout(details);
    detailsLayout->addWidget(Label(details, UrlLabel, QT_TRANSLATE_NOOP("UiText", "コンプリートURL")));
    m_url = ReadOnlyLine(details, UrlEdit, read ? m_job.StartUrl() : std::string());
    detailsLayout->addWidget(m_url);
    detailsLayout->addWidget(Label(details, DateLabel, QT_TRANSLATE_NOOP("UiText", "最終更新日")));
    detailsLayout->addWidget(ReadOnlyLine(details, DateEdit, read ? m_reader.log.lastWriteText : std::string()));
    detailsLayout->addWidget(Label(details, CountLabel, QT_TRANSLATE_NOOP("UiText", "総HTMLファイル数")));
    detailsLayout->addWidget(
        ReadOnlyLine(details, CountEdit, read ? std::to_string(m_reader.log.entryCount) : std::string()));
    detailsLayout->addWidget(Label(details, OptionLabel, QT_TRANSLATE_NOOP("UiText", "オプションの設定")));
    auto* options = new QPlainTextEdit(details);
    options->setObjectName(platformqt::ControlName(OptionEdit));
    options->setReadOnly(true);
    if (read) options->setPlainText(ToQLines(records::OptionText(m_job.ModeFlags(), m_job.LankLimit())));
    options->setMaximumHeight(options->fontMetrics().lineSpacing() * 8);
    detailsLayout->addWidget(options);
    layout->addWidget(details);

    auto* note = new QGroupBox(UiText::tr("≪Note≫"), this);
    note->setObjectName(platformqt::ControlName(NoteGroup));
    auto* noteLayout = new QVBoxLayout(note);
    m_comment = new QPlainTextEdit(note);
    m_comment->setObjectName(platformqt::ControlName(CommentEdit));
    m_comment->setReadOnly(true);
    m_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_comment->setPlainText(ToQLines(records::ReadComment(m_record)));
    noteLayout->addWidget(m_comment);
    layout->addWidget(note, 1);

    auto* row = new QHBoxLayout();
    row->addStretch(1);
    auto* close = new QPushButton(UiText::tr("閉じる"), this);
    close->setObjectName(platformqt::ControlName(CloseButton));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, [this] { OnCommand(CloseButton); });
    row->addWidget(close);
    layout->addLayout(row);
}

void SavedSiteView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Kept on every change: when the view goes, its window may be half torn down.
    m_windowSize = m_window->size();
}

void SavedSiteView::StoreWindowSize() {
    (void)records::SaveQdxWindowSize(m_job.IniPath(), static_cast<uint32_t>(std::max(0, m_windowSize.width())),
                                     static_cast<uint32_t>(std::max(0, m_windowSize.height())));
}

std::string SavedSiteView::ChangeReportPath() const {
    if (m_reader.status != records::QdxReadable) return {};
    return records::NewestChangeReport(platform::FolderOf(m_reader.logPath));
}

void SavedSiteView::OnCommand(int id) {
    if (QAction* action = FindCommand(id); action && !action->isEnabled()) return;
    switch (id) {
    case CmdOpenSaved:
        (void)hooks.openInBrowser(m_job.StartPath());
        return;
    case CmdOpenUrl:
        (void)hooks.openInBrowser(platformqt::FromQ(m_url->text()));
        return;
    case CmdErrorLog:
        if (hooks.openDialog) (void)hooks.openDialog("ErrorLogViewer");
        return;
    case CmdChangeReport:
        if (const std::string report = ChangeReportPath(); !report.empty()) (void)hooks.shellOpen(report);
        return;
    case CmdUpdateCheck:
        StartUpdateCheck();
        return;
    case CmdNewSitrova:
        (void)StartSitrova({});
        return;
    case CmdQuit:
        QMetaObject::invokeMethod(m_window, [window = m_window] { window->close(); }, Qt::QueuedConnection);
        return;
    case CloseButton:
        m_window->close();
        return;
    case CmdComment:
        (void)RunQdxComment(m_window, m_job, hooks.driveWindow);
        ReloadRecord();
        return;
    case CmdAdRemoval:
        RemoveAdvertisements();
        return;
    case CmdCopyPath:
        QGuiApplication::clipboard()->setText(ToQ(m_job.QdxPath()));
        return;
    case CmdOutDomainList:
        OpenOutDomainList();
        return;
    case CmdLinkAdd:
    case CmdLinkDel: {
        const int changed = id == CmdLinkAdd ? RunQdxLinkAdd(m_window, m_job, hooks.driveWindow)
                                             : RunQdxLinkDel(m_window, m_job, hooks.driveWindow);
        if (changed == 1) {
            ReloadRecord();
            BuildMenus();
        }
        return;
    }
    case CmdVersion:
        if (hooks.openDialog) (void)hooks.openDialog("VersionInfo");
        return;
    case CmdQdxHelp:
    case CmdReadMe:
        OpenHelp(id);
        return;
    default:
        break;
    }
    if (id >= CmdFirstLink && id - CmdFirstLink < records::CountLinks(m_record))
        (void)RunQdxLinkAction(m_window, m_job, id - CmdFirstLink, hooks.shellOpen, hooks.driveWindow);
}

void SavedSiteView::StartUpdateCheck() {
    if (!m_startUpdateCheck) return;
    StoreWindowSize();
    RemoveMenus();
    RestoreWindowMenus();
    m_window->setMinimumSize(m_windowMinimum);
    m_handedOver = true;
    // The callback replaces this view (it is deleted later, from the event loop).
    m_startUpdateCheck();
}

void SavedSiteView::OpenOutDomainList() {
    const std::string qdxPath = m_job.QdxPath();
    const std::string page = records::OutDomainListPageOf(qdxPath);
    if (platform::IsRegularFile(page)) {
        (void)hooks.openInBrowser(page);
        return;
    }
    const std::string folder = records::OutDomainFolderOf(qdxPath);
    // Without either folder the desktop is asked anyway and tells the user what is missing.
    (void)hooks.shellOpen(platform::IsDirectory(folder) ? folder : records::AbsolutePathFolderOf(qdxPath));
}

void SavedSiteView::RemoveAdvertisements() {
    // Only a started removal grays the command: one that failed may be tried again.
    if (!StartSitrova({records::AdRemovalArgument(m_job.QdxPath())})) return;
    m_adRemovalStarted = true;
    if (QAction* action = FindCommand(CmdAdRemoval)) action->setEnabled(false);
}

bool SavedSiteView::StartSitrova(const std::vector<std::string>& args) {
    const std::string program = m_job.ProgramFolder() + "/Sitrova";
    if (hooks.startProgram(program, args) == 1) return true;
    platformqt::ShowMessage(m_window, "Sitrova", platformqt::FromQ(UiText::tr("%1  が起動できません。").arg(ToQ(program))),
                            platformqt::IconError);
    return false;
}

void SavedSiteView::OpenHelp(int id) {
    if (!hooks.openHelp) return;
    std::string message;
    const int opened = hooks.openHelp(id == CmdQdxHelp ? HelpPage::QdxFiles : HelpPage::ReadMe, &message);
    if (!opened && !message.empty()) platformqt::ShowMessage(m_window, "Sitrova", message, platformqt::IconWarning);
}

}  // namespace recordsqt
