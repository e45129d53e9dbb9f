#include "download/qt/FileSaveView.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "download/FileDownloader.h"
#include "download/SerialName.h"
#include "engine/Fetcher.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "engine/SaveManager.h"
#include "platform/ByteSize.h"
#include "platform/FileUtil.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtText.h"
#include "records/DescriptionLog.h"
#include "records/Settings.h"

namespace downloadqt {

using namespace engine::mode;
using platformqt::ToQ;

namespace {

constexpr const char* kOpenFolderQuestion =
    "「はい」を押すと保存フォルダを開きます。\r\n開かずに終了する場合は「いいえ」を押してください。";

constexpr int kUnattendedBusyPauses = 20;

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

std::string SizeText(int64_t bytes) { return platform::FormatByteSize(static_cast<uint64_t>(bytes)); }

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
    m_list->setHeaderLabels({QStringLiteral("URLのファイル名"), QStringLiteral("保存ファイル名"), QStringLiteral("ファイルサイズ")});
    m_list->header()->resizeSection(0, 220);
    m_list->header()->resizeSection(1, 220);
    m_list->hide();
    layout->addWidget(m_messages, 2);
    layout->addWidget(m_bar);
    layout->addWidget(m_status);
    layout->addWidget(m_list, 3);
    m_busyTimer = new QTimer(this);
    m_busyTimer->setSingleShot(true);
}

FileSaveView::~FileSaveView() { m_downloader.reset(); }

QString FileSaveView::Messages() const { return m_messages->toPlainText(); }

void FileSaveView::Start() {
    if (m_job.JobSummary().empty()) m_job.SetJobSummary(engine::BuildJobSummary(m_job));
    m_firstUrl = m_job.UrlBase() + m_job.UrlLeaf();
    m_firstPath = m_job.SaveFolder() + m_job.ChosenSaveName();
    // A command-line save names a folder nobody has created yet.
    if (!m_job.SaveFolder().empty()) (void)platform::CreateFolderChain(m_job.SaveFolder());
    StartFile(m_firstUrl, m_firstPath);
}

void FileSaveView::StartFile(const std::string& url, const std::string& path) {
    m_downloader.reset();
    m_currentUrl = url;
    m_currentPath = path;
    m_bar->setValue(0);
    auto downloader = std::make_unique<download::FileDownloader>(url, path);
    download::SetUpUserDownload(*downloader, m_job.IniPath(),
                                m_job.ProgramFolder().empty() ? platform::ProgramFolder() : m_job.ProgramFolder());
    const unsigned generation = ++m_generation;
    (void)downloader->Start([this, generation](int code, int64_t value) {
        QMetaObject::invokeMethod(this, [this, generation, code, value] { OnCode(generation, code, value); },
                                  Qt::QueuedConnection);
    });
    m_downloader = std::move(downloader);
}

void FileSaveView::OnCode(unsigned generation, int code, int64_t value) {
    // Codes of a downloader that has been replaced are old news.
    if (generation != m_generation || m_ended) return;
    if (m_series)
        OnSeriesCode(code, value);
    else
        OnSingleCode(code, value);
}

void FileSaveView::OnSingleCode(int code, int64_t value) {
    using namespace download;
    switch (code) {
    case CodeProbed:
        if (value == 0) return SingleNotFound({});
        if (value == -1) return AddLine("[Error]ファイルサイズが取得できません。");
        if (value == -503) return AddLine("[Error]ファイルサイズが取得できません。(File size is unknow because 503)");
        AddLine("ファイルサイズは " + SizeText(value) + " です。");
        return AddLine("サーバーに接続しています･･･");
    case CodeConnected:
        AddLine("サーバーに接続しました。");
        return AddLine("URLに接続しています･･･");
    case CodeOpened:
        AddLine("URLに接続しました。");
        return AddLine("ダウンロードしています･･･");
    case CodeRetrying:
        return AddLine("[Error]何らかのエラーが発生しました。一定秒数待機後にリジュームを試みます･･･");
    case CodeProgress: return ShowProgress(value);
    case CodeFailed: {
        const int result = m_downloader ? m_downloader->Result() : DownloadNotFound;
        const std::string reason = m_downloader ? m_downloader->Reason() : std::string();
        // A broken connection is worth another try while somebody watches; nobody waits for
        // it in an unattended run.
        if (result == DownloadBusy || (result == DownloadBroken && !m_unattended)) {
            AddLine(WithReason("[Error]サーバーが応答しません。(503 Service Temporarily Unavailable / Link Down) " +
                                   std::to_string(busyPauseMs / 1000) + "秒間待機後に再試行します･･･",
                               reason));
            return PauseForBusyServer();
        }
        if (result == DownloadNotFound) return SingleNotFound(reason);
        return SingleNotSaved(reason);
    }
    case CodeFinished:
        m_bar->setValue(100);
        AddLine("ダウンロードに成功しました。");
        ++m_savedCount;
        m_busyPauses = 0;
        m_job.Progress().SetRunState(ModeJobFinished);
        return SingleFinished();
    default: return;
    }
}

void FileSaveView::SingleNotFound(const std::string& reason) {
    AddLine(WithReason("[Error]指定されたファイルは存在しません。(404 Not Found.)", reason));
    m_ended = true;
    QTimer::singleShot(notFoundDelayMs, this, [this, reason] {
        if (m_unattended) {
            return Finish("Error\r\n指定されたURLからのダウンロードに失敗しました。\r\n"
                          "ファイルが存在しないか、タイムアウトしました。" +
                          (reason.empty() ? std::string() : "\r\n理由: " + reason));
        }
        const int answer = Ask("URLが正しくありません。\r\n設定しなおす場合は「再試行」を押してください。",
                               platformqt::IconWarning, platformqt::ButtonsRetryCancel, platformqt::AnswerCancel);
        if (answer == platformqt::AnswerRetry && m_hooks.reenterUrl) return m_hooks.reenterUrl();
        if (m_hooks.closeWindow) m_hooks.closeWindow();
    });
}

// The file was there but could not be kept: a disk error, a body past the size bound, or a
// connection that broke on every try. Asking for the URL again would not help.
void FileSaveView::SingleNotSaved(const std::string& reason) {
    AddLine(WithReason("[Error]ファイルを保存できませんでした。", reason));
    m_ended = true;
    if (m_unattended)
        return Finish("Error\r\n指定されたURLからのダウンロードに失敗しました。\r\n理由: " + reason);
    (void)Ask("ファイルを保存できませんでした。\r\n理由: " + reason, platformqt::IconWarning, platformqt::ButtonOk,
              platformqt::AnswerOk);
    if (m_hooks.closeWindow) m_hooks.closeWindow();
}

void FileSaveView::EndOfferingFolder() {
    m_ended = true;
    if (Ask(std::string("ダウンロードが終了しました。\r\n\r\n") + kOpenFolderQuestion, platformqt::IconInformation,
            platformqt::ButtonsYesNo, platformqt::AnswerYes) == platformqt::AnswerYes &&
        m_hooks.reveal)
        m_hooks.reveal(m_currentPath);
    if (m_hooks.closeWindow) m_hooks.closeWindow();
}

void FileSaveView::SingleFinished() {
    std::string next;
    const int found = download::NextSerialUrl(m_currentUrl, next, engine::ProbeStatus);
    if (!found) {
        if (m_unattended) return Finish("ダウンロードが終了しました。");
        return EndOfferingFolder();
    }
    if (!m_unattended &&
        Ask("連番ファイルが存在する可能性があります。\r\nそちらもダウンロードしますか？\r\n\r\n"
            "※検出は誤差を含むため、単体ファイルであることが判っている場合には「いいえ」を選んでください。\r\n"
            "そうでないとエラーファイルを延々とDLしてしまう可能性があります。",
            platformqt::IconQuestion, platformqt::ButtonsYesNo, platformqt::AnswerYes) != platformqt::AnswerYes) {
        return EndOfferingFolder();
    }
    BeginSeries();
    m_currentUrl = next;
    StartNextSerial();
}

void FileSaveView::BeginSeries() {
    m_series = true;
    window()->setWindowTitle(QStringLiteral("Sitrova - [連番ファイル保存中]"));
    m_list->show();
    AddRow(m_firstUrl, m_firstPath.substr(m_firstPath.rfind('/') + 1));
    const int64_t size = platform::FileSize(m_firstPath);
    m_list->topLevelItem(0)->setText(2, size > 0 ? ToQ(SizeText(size)) : QStringLiteral("サイズ不明"));
}

// m_currentUrl holds the URL of the file to fetch now.
void FileSaveView::StartNextSerial() {
    const std::string name = download::SerialLocalName(m_job.ChosenSaveName(), m_currentUrl);
    AddRow(m_currentUrl, name);
    StartFile(m_currentUrl, FolderOf(m_firstPath) + name);
}

void FileSaveView::OnSeriesCode(int code, int64_t value) {
    using namespace download;
    switch (code) {
    case CodeProbed:
        if (value == 0) {
            SetStatus("見つかりません");
            return EndSeries();
        }
        return SetStatus(value == -1 ? "サイズ不明" : value == -503 ? "応答無し" : "取得中");
    case CodeConnected: return SetStatus("接続中");
    case CodeOpened: return SetStatus("保存中");
    case CodeRetrying: return SetStatus("応答待機中");
    case CodeProgress: return ShowProgress(value);
    case CodeFailed: {
        const int result = m_downloader ? m_downloader->Result() : DownloadNotFound;
        const std::string reason = m_downloader ? m_downloader->Reason() : std::string();
        if (result == DownloadBusy || (result == DownloadBroken && !m_unattended)) {
            SetStatus("一時停止中");
            return PauseForBusyServer();
        }
        if (result == DownloadNotFound) {
            SetStatus(WithReason("見つかりません", reason));
            return EndSeries();
        }
        // The series cannot go on behind a file it could not keep (a full disk, above all).
        SetStatus("保存失敗");
        return EndSeries(reason.empty() ? "ファイルを保存できませんでした" : reason);
    }
    case CodeFinished: return SeriesFileSaved();
    default: return;
    }
}

void FileSaveView::SeriesFileSaved() {
    m_bar->setValue(100);
    SetStatus("保存完了");
    ++m_savedCount;
    m_busyPauses = 0;
    const int64_t size = platform::FileSize(m_currentPath);
    QTreeWidgetItem* row = m_list->topLevelItem(m_list->topLevelItemCount() - 1);
    row->setText(1, ToQ(m_currentPath.substr(m_currentPath.rfind('/') + 1)));
    row->setText(2, size > 0 ? ToQ(SizeText(size)) : QStringLiteral("サイズ不明"));
    m_bar->setValue(0);
    m_status->setText(QStringLiteral("待機中"));
    std::string next;
    (void)download::NextSerialUrl(m_currentUrl, next, engine::ProbeStatus);
    m_currentUrl = next;
    StartNextSerial();
}

void FileSaveView::PauseForBusyServer() {
    // Nobody watches an unattended run: a server that stays busy for this many pauses ends it
    // instead of keeping the program alive for ever.
    if (m_unattended && ++m_busyPauses > kUnattendedBusyPauses) {
        if (!m_series) {
            m_ended = true;
            return Finish("Error\r\n指定されたURLからのダウンロードに失敗しました。\r\n"
                          "サーバーが応答しません。");
        }
        SetStatus("応答無し");
        return EndSeries();
    }
    m_busyTimer->disconnect();
    connect(m_busyTimer, &QTimer::timeout, this, [this] {
        if (m_series) {
            delete m_list->takeTopLevelItem(m_list->topLevelItemCount() - 1);
            return StartNextSerial();
        }
        StartFile(m_currentUrl, m_currentPath);
    });
    m_busyTimer->start(busyPauseMs);
}

void FileSaveView::EndSeries(const std::string& failure) {
    m_ended = true;
    // The row of the file that is not there goes: the list shows what was saved.
    delete m_list->takeTopLevelItem(m_list->topLevelItemCount() - 1);
    window()->setWindowTitle(QStringLiteral("Sitrova - [連番ファイルの保存を終了]"));
    std::string count = std::to_string(m_savedCount) + "個の連番ファイルを保存しました。";
    if (!failure.empty()) {
        // Not the end of the numbering: the run was broken off, and the log says why.
        AddLine(WithReason("[Error]連番ファイルの保存を中断しました。", failure));
        count = "Error\r\n連番ファイルの保存を中断しました。\r\n理由: " + failure + "\r\n中断までに" +
                std::to_string(m_savedCount) + "個の連番ファイルを保存しました。";
    }
    if (m_unattended) return Finish(count);
    if (Ask(count + "\r\n\r\n" + kOpenFolderQuestion, platformqt::IconInformation, platformqt::ButtonsYesNo,
            platformqt::AnswerYes) == platformqt::AnswerYes &&
        m_hooks.reveal)
        m_hooks.reveal(FolderOf(m_firstPath));
    if ((records::ReadSrsMode(m_job.IniPath()) & records::kSrsCloseAfterNotice) && m_hooks.closeWindow)
        m_hooks.closeWindow();
}

void FileSaveView::Finish(const std::string& resultText) {
    m_ended = true;
    std::string error;
    if (!records::WriteDescriptionLogFile(m_job, resultText, error)) AddLine(error);
    if (m_hooks.closeWindow) m_hooks.closeWindow();
}

std::string FileSaveView::WithReason(const std::string& line, const std::string& reason) {
    return reason.empty() ? line : line + " [" + reason + "]";
}

void FileSaveView::AddLine(const std::string& line) {
    m_messages->appendPlainText(ToQ(line));
    m_job.AppendLog(line);
}

void FileSaveView::ShowProgress(int64_t received) {
    const int64_t expected = m_downloader ? m_downloader->ExpectedSize() : 0;
    if (expected > 0) m_bar->setValue(static_cast<int>(std::min<int64_t>(100, received * 100 / expected)));
}

void FileSaveView::SetStatus(const std::string& word) {
    if (QTreeWidgetItem* row = m_list->topLevelItem(m_list->topLevelItemCount() - 1)) row->setText(2, ToQ(word));
}

void FileSaveView::AddRow(const std::string& url, const std::string& name) {
    auto* row = new QTreeWidgetItem(m_list);
    row->setText(0, ToQ(download::UrlFileName(url)));
    row->setText(1, ToQ(name));
    m_list->scrollToItem(row);
}

int FileSaveView::Ask(const std::string& text, platformqt::MessageIcon icon, platformqt::MessageButtons buttons,
                      int answer) {
    if (m_hooks.message) return m_hooks.message(window(), "Sitrova", text, icon, buttons, answer);
    return platformqt::ShowMessage(window(), "Sitrova", text, icon, buttons, answer);
}

}  // namespace downloadqt
