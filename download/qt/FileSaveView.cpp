#include "download/qt/FileSaveView.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "download/SerialFiles.h"
#include "download/qt/SessionRows.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/FileUtil.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/DescriptionLog.h"
#include "records/Settings.h"

namespace downloadqt {

using namespace engine::mode;
using platformqt::ToQ;

namespace {

constexpr const char* kOpenFolderQuestion = QT_TRANSLATE_NOOP(
    "UiText", "「はい」を押すと保存フォルダを開きます。\r\n開かずに終了する場合は「いいえ」を押してください。");

// The progress lines follow the transfer at about the pace the downloader reports it.
constexpr int kPollMs = 100;

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

}  // namespace

FileSaveView::FileSaveView(engine::SaveJob& job, FileSaveHooks hooks, QWidget* parent)
    : QWidget(parent), m_job(job), m_hooks(std::move(hooks)), m_unattended(job.Has(ModeSomeSeries)) {
    auto* layout = new QVBoxLayout(this);
    m_messages = new QPlainTextEdit(this);
    m_messages->setObjectName(QStringLiteral("ctl512"));
    m_messages->setReadOnly(true);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ctl513"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("ctl514"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ctl515"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({UiText::tr("URLのファイル名"), UiText::tr("保存ファイル名"), UiText::tr("ファイルサイズ")});
    m_list->header()->resizeSection(0, 220);
    m_list->header()->resizeSection(1, 220);
    m_list->hide();
    layout->addWidget(m_messages, 2);
    layout->addWidget(m_bar);
    layout->addWidget(m_status);
    layout->addWidget(m_list, 3);
    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, [this] { Poll(); });
}

FileSaveView::~FileSaveView() {
    m_poll->stop();
    m_session.reset();
}

QString FileSaveView::Messages() const { return m_messages->toPlainText(); }

void FileSaveView::Start() {
    if (m_job.JobSummary().empty()) m_job.SetJobSummary(engine::BuildJobSummary(m_job));
    m_firstUrl = m_job.UrlBase() + m_job.UrlLeaf();
    m_firstPath = m_job.SaveFolder() + m_job.ChosenSaveName();
    // A command-line save names a folder nobody has created yet.
    if (!m_job.SaveFolder().empty()) (void)platform::CreateFolderChain(m_job.SaveFolder());
    download::SerialSetup setup;
    setup.firstUrl = m_firstUrl;
    setup.firstPath = m_firstPath;
    setup.saveName = m_job.ChosenSaveName();
    setup.iniPath = m_job.IniPath();
    setup.programFolder = m_job.ProgramFolder().empty() ? platform::ProgramFolder() : m_job.ProgramFolder();
    setup.unattended = m_unattended;
    setup.busyPauseMs = busyPauseMs;
    m_session = std::make_unique<download::SerialSession>(download::SerialFilesPlan(std::move(setup)));
    m_session->Start();
    m_poll->start();
}

void FileSaveView::Poll() {
    // A question is open in a nested event loop: the next look waits until it is answered.
    if (m_asking || !m_session) return;
    const download::SessionJob state = m_session->Take();
    for (const std::string& line : state.lines) AddLine(line);
    if (state.savedCount > 0 && m_savedCount == 0) m_job.Progress().SetRunState(ModeJobFinished);
    m_savedCount = state.savedCount;
    m_bar->setValue(state.fileBar);
    m_status->setText(ToQ(state.fileCounter));
    if (state.stage == download::StageSeries && !m_series) BeginSeries();
    downloadqt::ShowSessionRows(m_list, state);
    if (state.question == download::QuestionSeries) {
        m_asking = true;
        const int answer =
            Ask(UiText::tr("連番ファイルが存在する可能性があります。\r\nそちらもダウンロードしますか？\r\n\r\n"
                           "※検出は誤差を含むため、単体ファイルであることが判っている場合には「いいえ」を選んでください。\r\n"
                           "そうでないとエラーファイルを延々とDLしてしまう可能性があります。"),
                platformqt::IconQuestion, platformqt::ButtonsYesNo, platformqt::AnswerYes);
        m_asking = false;
        if (m_session) m_session->Answer(answer == platformqt::AnswerYes ? download::AnswerGoOn : download::AnswerStop);
    }
    if (state.ended) OnEnded(state);
}

void FileSaveView::OnEnded(const download::SessionJob& state) {
    m_poll->stop();
    m_ended = true;
    switch (state.outcome) {
    case download::SerialNotFound: return SingleNotFound(state.reason);
    case download::SerialNotSaved: return SingleNotSaved(state.reason, state.shownReason);
    case download::SerialNoAnswer:
        return Finish("Error\r\n指定されたURLからのダウンロードに失敗しました。\r\n"
                      "サーバーが応答しません。");
    case download::SerialSingleDone:
        if (m_unattended) return Finish("ダウンロードが終了しました。");
        return EndOfferingFolder();
    case download::SerialSeriesDone: return EndSeries(state.reason, state.shownReason);
    default: return;
    }
}

void FileSaveView::SingleNotFound(const std::string& reason) {
    QTimer::singleShot(notFoundDelayMs, this, [this, reason] {
        if (m_unattended) {
            return Finish("Error\r\n指定されたURLからのダウンロードに失敗しました。\r\n"
                          "ファイルが存在しないか、タイムアウトしました。" +
                          (reason.empty() ? std::string() : "\r\n理由: " + reason));
        }
        const int answer = Ask(UiText::tr("URLが正しくありません。\r\n設定しなおす場合は「再試行」を押してください。"),
                               platformqt::IconWarning, platformqt::ButtonsRetryCancel, platformqt::AnswerCancel);
        if (answer == platformqt::AnswerRetry && m_hooks.reenterUrl) return m_hooks.reenterUrl();
        if (m_hooks.closeWindow) m_hooks.closeWindow();
    });
}

void FileSaveView::SingleNotSaved(const std::string& reason, const std::string& shownReason) {
    if (m_unattended)
        return Finish("Error\r\n指定されたURLからのダウンロードに失敗しました。\r\n理由: " + reason);
    (void)Ask(UiText::tr("ファイルを保存できませんでした。\r\n理由: %1").arg(ToQ(shownReason)), platformqt::IconWarning,
              platformqt::ButtonOk, platformqt::AnswerOk);
    if (m_hooks.closeWindow) m_hooks.closeWindow();
}

void FileSaveView::EndOfferingFolder() {
    if (Ask(UiText::tr("ダウンロードが終了しました。") + QStringLiteral("\r\n\r\n") + UiText::tr(kOpenFolderQuestion),
            platformqt::IconInformation, platformqt::ButtonsYesNo, platformqt::AnswerYes) == platformqt::AnswerYes &&
        m_hooks.reveal)
        m_hooks.reveal(m_firstPath);
    if (m_hooks.closeWindow) m_hooks.closeWindow();
}

void FileSaveView::BeginSeries() {
    m_series = true;
    window()->setWindowTitle(UiText::tr("Sitrova - [連番ファイル保存中]"));
    m_list->show();
}

void FileSaveView::EndSeries(const std::string& failure, const std::string& shownFailure) {
    window()->setWindowTitle(UiText::tr("Sitrova - [連番ファイルの保存を終了]"));
    const std::string saved = std::to_string(m_savedCount);
    if (m_unattended) {
        // The description log keeps the suite's Japanese.
        if (failure.empty()) return Finish(saved + "個の連番ファイルを保存しました。");
        return Finish("Error\r\n連番ファイルの保存を中断しました。\r\n理由: " + failure + "\r\n中断までに" + saved +
                      "個の連番ファイルを保存しました。");
    }
    const QString count =
        failure.empty()
            ? UiText::tr("%1個の連番ファイルを保存しました。").arg(m_savedCount)
            : UiText::tr("Error\r\n連番ファイルの保存を中断しました。\r\n理由: %1\r\n"
                         "中断までに%2個の連番ファイルを保存しました。")
                  .arg(ToQ(shownFailure), QString::number(m_savedCount));
    if (Ask(count + QStringLiteral("\r\n\r\n") + UiText::tr(kOpenFolderQuestion), platformqt::IconInformation,
            platformqt::ButtonsYesNo, platformqt::AnswerYes) == platformqt::AnswerYes &&
        m_hooks.reveal)
        m_hooks.reveal(FolderOf(m_firstPath));
    if ((records::ReadSrsMode(m_job.IniPath()) & records::kSrsCloseAfterNotice) && m_hooks.closeWindow)
        m_hooks.closeWindow();
}

void FileSaveView::Finish(const std::string& resultText) {
    m_ended = true;
    std::string error, shown;
    // The window shows the failure; a file save keeps no log of its own to write it to.
    if (!records::WriteDescriptionLogFile(m_job, resultText, error, &shown)) AddLine(shown);
    if (m_hooks.closeWindow) m_hooks.closeWindow();
}

void FileSaveView::AddLine(const std::string& line) {
    m_messages->appendPlainText(ToQ(line));
    m_job.AppendLog(line);
}

int FileSaveView::Ask(const QString& shown, platformqt::MessageIcon icon, platformqt::MessageButtons buttons,
                      int answer) {
    const std::string text = platformqt::FromQ(shown);
    if (m_hooks.message) return m_hooks.message(window(), "Sitrova", text, icon, buttons, answer);
    return platformqt::ShowMessage(window(), "Sitrova", text, icon, buttons, answer);
}

}  // namespace downloadqt
