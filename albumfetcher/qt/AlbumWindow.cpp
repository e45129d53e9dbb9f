#include "albumfetcher/qt/AlbumWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "albumfetcher/AlbumRun.h"
#include "download/qt/SessionRows.h"
#include "platform/ExitCodes.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace albumqt {

using platformqt::FromQ;
using platformqt::ToQ;

namespace {

constexpr int kAutoStartMs = 1000;
// The bars follow the transfer at about the pace the downloader reports it.
constexpr int kPollMs = 100;

// The states the run writes into the list's third column, shown in the window's language.
constexpr const char* kRowStates[] = {QT_TRANSLATE_NOOP("UiText", "取得中"), QT_TRANSLATE_NOOP("UiText", "保存済み"),
                                      QT_TRANSLATE_NOOP("UiText", "取得失敗")};

void TranslateRowStates(QTreeWidget* list) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        for (const char* state : kRowStates)
            if (row->text(2) == QString::fromUtf8(state)) row->setText(2, UiText::tr(state));
    }
}

}  // namespace

AlbumHooks DefaultAlbumHooks() {
    AlbumHooks hooks;
    hooks.message = platformqt::ShowMessage;
    hooks.startProgram = [](const std::string& program, const std::vector<std::string>& args) {
        return platform::StartProcess(program, args, false);
    };
    return hooks;
}

AlbumWindow::AlbumWindow(const std::vector<std::string>& args, std::string programFolder, AlbumHooks hooks,
                         QWidget* parent)
    : QMainWindow(parent), m_programFolder(std::move(programFolder)), m_hooks(std::move(hooks)) {
    setWindowTitle(QStringLiteral("AlbumFetcher"));
    setFixedSize(480, 360);
    CreateMenu();
    CreateControls();
    if (args.size() > 0) m_url->setText(ToQ(args[0]));
    if (args.size() > 1) m_folder->setText(ToQ(args[1]));
    m_autoStart = args.size() > 2 && args[2] == "auto";
    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, [this] { Poll(); });
    if (m_autoStart) QTimer::singleShot(kAutoStartMs, this, [this] { StartDownload(); });
}

AlbumWindow::~AlbumWindow() {
    m_poll->stop();
    m_session.reset();
}

void AlbumWindow::CreateMenu() {
    QMenu* file = menuBar()->addMenu(UiText::tr("ファイル(&F)"));
    file->setEnabled(false);
    QMenu* help = menuBar()->addMenu(UiText::tr("ヘルプ(&H)"));
    QAction* version = help->addAction(UiText::tr("バージョン情報(&V)"));
    version->setObjectName(QStringLiteral("cmd1015"));
    connect(version, &QAction::triggered, this, [this] {
        Ask(UiText::tr("AlbumFetcher\r\nフォトアルバムの写真を保存します。\r\nSitrova Suite"), platformqt::IconInformation,
            platformqt::ButtonOk, platformqt::AnswerOk, UiText::tr("バージョン情報"));
    });
}

void AlbumWindow::CreateControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto place = [central](QWidget* w, int id, int x, int y, int width, int height) {
        w->setParent(central);
        if (id) w->setObjectName(platformqt::ControlName(id));
        w->setGeometry(x, y, width, height);
        return w;
    };
    place(new QLabel(QStringLiteral("URL")), 0, 5, 5, 26, 18);
    place(new QLabel(UiText::tr("保存先フォルダ")), 0, 5, 33, 80, 18);
    m_url = static_cast<QLineEdit*>(place(new QLineEdit, UrlEdit, 32, 0, 433, 22));
    m_folder = static_cast<QLineEdit*>(place(new QLineEdit, FolderEdit, 87, 28, 375, 22));
    m_start = static_cast<QPushButton*>(place(new QPushButton(UiText::tr("ダウンロード開始")), StartButton, 252, 69, 113, 21));
    auto* cancel = static_cast<QPushButton*>(place(new QPushButton(UiText::tr("キャンセル")), CancelButton, 377, 69, 87, 21));
    m_fileCounter = static_cast<QLineEdit*>(place(new QLineEdit, FileCounter, 5, 98, 78, 18));
    m_fileBar = static_cast<QProgressBar*>(place(new QProgressBar, FileBar, 86, 98, 388, 18));
    m_albumCounter = static_cast<QLineEdit*>(place(new QLineEdit, AlbumCounter, 5, 118, 78, 18));
    m_albumBar = static_cast<QProgressBar*>(place(new QProgressBar, AlbumBar, 86, 118, 388, 18));
    for (QLineEdit* counter : {m_fileCounter, m_albumCounter}) counter->setReadOnly(true);
    for (QProgressBar* bar : {m_fileBar, m_albumBar}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
    }
    m_list = static_cast<QTreeWidget*>(place(new QTreeWidget, PhotoList, 0, 140, 474, 168));
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({UiText::tr("保存ファイル名"), UiText::tr("ファイルサイズ"), UiText::tr("状態")});
    m_list->header()->resizeSection(0, 240);
    m_list->header()->resizeSection(1, 132);
    m_list->header()->resizeSection(2, 96);
    connect(m_start, &QPushButton::clicked, this, [this] { StartDownload(); });
    connect(cancel, &QPushButton::clicked, this, [this] { close(); });
}

void AlbumWindow::StartDownload() {
    if (m_running || m_finished) return;
    const std::string url = FromQ(m_url->text().trimmed());
    const std::string folderText = FromQ(m_folder->text().trimmed());
    if (const int check = album::CheckFolderText(folderText); check != album::FolderOk)
        return RefuseStart(ToQ(album::FolderCheckMessage(check)), platform::ExitRefused);
    // The folder is made once there is a photo to put in it.
    m_folderPath = album::NormalizedFolder(folderText);
    m_albumUrl = url;
    m_fileBar->setValue(0);
    m_albumBar->setValue(0);
    m_start->setEnabled(false);
    findChild<QPushButton*>(platformqt::ControlName(CancelButton))->setEnabled(false);
    m_url->setReadOnly(true);
    m_folder->setReadOnly(true);
    m_running = true;
    m_session = std::make_unique<download::SerialSession>(album::AlbumPlan({m_albumUrl, m_folderPath, m_programFolder}));
    m_session->Start();
    m_poll->start();
}

void AlbumWindow::Poll() {
    if (!m_session || !m_running) return;
    const download::SessionJob state = m_session->Take();
    m_total = state.total;
    m_savedCount = state.savedCount;
    m_lastSaved = state.lastSaved;
    m_fileBar->setValue(state.fileBar);
    m_albumBar->setValue(state.totalBar);
    m_fileCounter->setText(ToQ(state.fileCounter));
    m_albumCounter->setText(ToQ(state.totalCounter));
    downloadqt::ShowSessionRows(m_list, state);
    TranslateRowStates(m_list);
    if (!state.ended) return;
    m_poll->stop();
    switch (state.outcome) {
    case album::AlbumDone: return FinishRun();
    case album::AlbumNoPhoto: return FailPhoto();
    case album::AlbumNoFolder: return FolderFailed();
    default: return;
    }
}

void AlbumWindow::FinishRun() {
    m_running = false;
    m_finished = true;
    m_exitCode = m_savedCount == m_total ? platform::ExitDone
                 : m_savedCount > 0       ? platform::ExitPartly
                                          : platform::ExitNetwork;
    if (Ask(UiText::tr("ダウンロードが終了しました。\r\n保存したフォルダを開きますか？"), platformqt::IconQuestion,
            platformqt::ButtonsYesNo, platformqt::AnswerNo) == platformqt::AnswerYes &&
        m_hooks.startProgram)
        (void)m_hooks.startProgram("xdg-open", {m_folderPath.substr(0, m_folderPath.size() - 1)});
    const std::vector<std::string> args = album::CatalogueArguments(m_albumUrl, m_lastSaved);
    const std::string catalogue = m_programFolder + "/QdxSuite";
    if (!args.empty() && platform::IsRegularFile(catalogue) && m_hooks.startProgram)
        (void)m_hooks.startProgram(catalogue, args);
    close();
}

void AlbumWindow::FolderFailed() {
    m_running = false;
    m_finished = true;
    m_exitCode = platform::ExitDisk;
    Ask(UiText::tr("保存先フォルダを作成できません: %1").arg(ToQ(m_folderPath)), platformqt::IconError,
        platformqt::ButtonOk, platformqt::AnswerOk, UiText::tr("エラー"));
    close();
}

void AlbumWindow::FailPhoto() {
    m_running = false;
    m_finished = true;
    // The run stops here: the album or a photo's page could not be read.
    m_exitCode = m_savedCount > 0 ? platform::ExitPartly : platform::ExitNetwork;
    Ask(UiText::tr("写真の取得に失敗しました。\r\nURLが不正である可能性があります。\r\n\r\n終了します。"),
        platformqt::IconWarning, platformqt::ButtonOk, platformqt::AnswerOk);
    close();
}

void AlbumWindow::RefuseStart(const QString& text, int exitCode) {
    Ask(text, platformqt::IconError, platformqt::ButtonOk, platformqt::AnswerOk, UiText::tr("エラー"));
    if (!m_autoStart || !platformqt::IsHeadless()) return;
    m_finished = true;
    m_exitCode = exitCode;
    close();
}

void AlbumWindow::closeEvent(QCloseEvent* event) {
    if (m_running && Ask(UiText::tr("強制終了しますか？"), platformqt::IconQuestion, platformqt::ButtonsYesNo,
                         platformqt::AnswerNo) != platformqt::AnswerYes) {
        event->ignore();
        return;
    }
    if (m_running) {
        m_running = false;
        m_exitCode = platform::ExitPartly;  // stopped before its end
    }
    m_poll->stop();
    m_session.reset();
    event->accept();
}

int AlbumWindow::Ask(const QString& text, platformqt::MessageIcon icon, platformqt::MessageButtons buttons,
                     int answer, const QString& caption) {
    if (m_hooks.message) return m_hooks.message(this, FromQ(caption), FromQ(text), icon, buttons, answer);
    return platformqt::ShowMessage(this, FromQ(caption), FromQ(text), icon, buttons, answer);
}

}  // namespace albumqt
