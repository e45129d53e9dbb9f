// The commands of the input view: starting a save, the settings and the restart they may
// need, the save dialog, the page title, the page analysis and dropped data.
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/BatchTask.h"
#include "app/ArgumentLine.h"
#include "app/DropFiles.h"
#include "app/PageAnalysis.h"
#include "app/WarcStart.h"
#include "app/qt/AnalysisPanel.h"
#include "app/qt/InputView.h"
#include "app/qt/MainCommands.h"
#include "app/qt/MainMenu.h"
#include "app/qt/UiHooks.h"
#include "app/qt/dialogs/DialogOpener.h"
#include "engine/FillJob.h"
#include "engine/ModeFlags.h"
#include "engine/LinkText.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "filters/CutAdv.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"

namespace appqt {

using namespace engine::mode;
using platformqt::ToQ;

namespace {

constexpr const char* kErrorCaption = QT_TRANSLATE_NOOP("UiText", "エラー");
// Without the setting, the URL field completion is off.
constexpr uint32_t kUrlCompletionDefault = 16384;
// An Internet shortcut is a few lines; more is not one.
constexpr size_t kShortcutBytes = 64 * 1024;
// WhlMode: dropped HTML files are cleaned at once instead of asking.
constexpr uint32_t kWhlCleanDroppedHtml = 0x1;

std::string Text(const QString& shown) { return platformqt::FromQ(shown); }
std::string ErrorCaption() { return Text(platformqt::Ui(kErrorCaption)); }

}  // namespace

void InputView::OnCommand(int id) {
    switch (id) {
    case StartButton:
    case CmdStartSave: (void)StartSave(); return;
    case CancelButton:
    case CmdQuit: window()->close(); return;
    case OptionButton: ToggleOptionArea(); return;
    case AnalyseButton: AnalysePage(); return;
    case BrowseButton: ChooseSaveFile(); return;
    case TitleButton: StartTitleFetch(); return;
    case CpuButton:
    case CmdCpuLevel: ChooseCpuLevel(); return;
    case CmdClearHistory: ClearHistory(); return;
    case CmdAddToBatch: AddToBatch(); return;
    case CmdSiteSaveSettings:
    case CmdSerialSettings:
    case CmdQdxFileSettings:
    case CmdOtherSettings:
    case CmdWebSettings: OpenSettings(id); return;
    default: break;
    }
    if (RunMenuCommand(id, window(), m_job, m_hooks) == CommandOutcome::CloseWindow) window()->close();
}

bool InputView::CheckFields(app::InputFields& fields) {
    fields = {UrlText(), platformqt::FromQ(m_limit->text()), SaveText()};
    const int check = app::CheckInputFields(fields, [this] {
        return Tell(ErrorCaption(), Text(UiText::tr("指定されたフォルダは存在しません。\r\n作成しますか？")),
                    platformqt::IconQuestion, true) == platformqt::AnswerYes;
    });
    m_url->setText(ToQ(fields.url));
    if (check != app::InputOk) {
        const std::string text = app::InputCheckMessage(check);
        if (!text.empty())
            Tell(ErrorCaption(), text,
                 check == app::InputFolderNotCreated ? platformqt::IconWarning : platformqt::IconError);
        return false;
    }
    return true;
}

void InputView::FillJob(const app::InputFields& fields, bool completeSave) {
    const uint32_t defMode = records::ReadDefMode(m_job.IniPath());
    // The maker's mode of a "ravevor" start stays with the job: the save then skips the crawl.
    m_job.ClearModeBits(ModePresetUrl | ModeIndexAppended | app::InputOptionMask());
    engine::JobInput input;
    input.url = fields.url;
    input.savePath = fields.savePath;
    input.modeBits = ModeNormal | (completeSave ? app::JobOptionBits(Options(), defMode) : 0);
    input.lankLimit = app::LimitOfField(fields.limitText);
    engine::FillJob(m_job, input);
    if (completeSave) m_job.SetModeBits(app::SiteAdapterBits(m_job.UrlBase()));
}

void InputView::StoreSaveHistory(const std::string& savePath) {
    std::string error;
    if (!records::SaveSaveHistory(m_job.IniPath(), savePath, HistoryItems(), &error))
        m_job.AppendLog("保存先の履歴を書き込めませんでした（" + error + "）。");
}

bool InputView::StartSave() {
    app::InputFields fields;
    if (!CheckFields(fields)) return false;
    // This system has no off-line state to ask about: a save without a network simply fails.
    const uint32_t defMode = records::ReadDefMode(m_job.IniPath());
    if (!app::IsCompleteSaveUrl(fields.url, defMode)) return StartFileSave(fields);

    FillJob(fields, true);
    StoreSaveHistory(fields.savePath);
    m_titleFetch.Stop();
    m_startSave();
    return true;
}

// A URL that names no HTML page is saved as a single file (and the serial files after it).
bool InputView::StartFileSave(const app::InputFields& fields) {
    if (!startFileSave) return false;
    m_job.ClearModeBits(ModeNormal | ModePresetUrl | ModeMaker | ModeIndexAppended | app::InputOptionMask());
    m_job.SetStartUrl(fields.url);
    m_job.SetSaveTarget(fields.savePath);
    StoreSaveHistory(fields.savePath);
    m_titleFetch.Stop();
    startFileSave();
    return true;
}

void InputView::AddToBatch() {
    app::InputFields fields;
    if (!CheckFields(fields)) return;
    const bool complete = app::IsCompleteSaveUrl(fields.url, records::ReadDefMode(m_job.IniPath()));
    FillJob(fields, complete);
    std::string error;
    if (app::WriteParameterFile(m_job, complete, &error) != 1) {
        m_job.AppendLog("バッチ処理を追加できませんでした（" + error + "）。");
        Tell("Sitrova", Text(UiText::tr("バッチ処理を追加できませんでした。\r\n\r\n保存名を変更してリトライしてみてください。")),
             platformqt::IconInformation);
        return;
    }
    StoreSaveHistory(fields.savePath);
    m_url->clear();
}

void InputView::ClearHistory() {
    const int answer = m_hooks.message(window(), "Sitrova", Text(UiText::tr("保存先の履歴を全て消去しますか？")),
                                       platformqt::IconQuestion, platformqt::ButtonsYesNo, platformqt::AnswerNo);
    if (answer != platformqt::AnswerYes) return;
    std::string error;
    if (!records::ClearSaveHistory(m_job.IniPath(), &error)) {
        Tell("Sitrova", Text(UiText::tr("保存先の履歴を消去できませんでした（%1）。").arg(ToQ(error))),
             platformqt::IconError);
        return;
    }
    const QString text = m_save->currentText();
    m_save->clear();
    m_save->setEditText(text);
}

void InputView::OpenSettings(int id) {
    const char* name = id == CmdSiteSaveSettings  ? "InitializeSiteDL"
                       : id == CmdSerialSettings  ? "InitializeSrsFile"
                       : id == CmdQdxFileSettings ? "InitializeExtReg"
                       : id == CmdWebSettings     ? "InitializeWeb"
                                                  : "InitializeOther";
    const int result = m_hooks.openDialog(name, window(), m_job, {});
    if (id == CmdSiteSaveSettings && result > 0) {
        const int answer = m_hooks.message(
            window(), Text(UiText::tr("設定が変更されました")),
            Text(UiText::tr("変更された設定は、Sitrovaを再起動後に有効になります。\r\n今すぐ再起動しますか？")),
            platformqt::IconQuestion, platformqt::ButtonsYesNo, platformqt::AnswerNo);
        if (answer == platformqt::AnswerYes) Restart();
    } else if (id == CmdQdxFileSettings && result == kDialogRestartElevated) {
        // The association lives in the user's own desktop data here, so administrator rights
        // add nothing: the program starts again as it is.
        Restart();
    }
}

void InputView::Restart() {
    const std::string argument = app::RestartArgument(UrlText(), SaveText());
    const QString title = window()->windowTitle();
    window()->setWindowTitle(UiText::tr("Sitrova - 再起動中・・・"));
    std::vector<std::string> args;
    if (!argument.empty()) args.push_back(argument);
    if (m_hooks.startProgram(m_job.ProgramFolder() + "/Sitrova", args) != 1) {
        // Closing now would leave the user with no window at all.
        window()->setWindowTitle(title);
        Tell("Sitrova", Text(UiText::tr("Sitrovaを再起動できませんでした。")), platformqt::IconError);
        return;
    }
    window()->close();
}

void InputView::ChooseSaveFile() {
    const std::string url = UrlText();
    const std::string current = SaveText();
    const std::string proposed = current.find('/') != std::string::npos
                                     ? app::SavePathForUrl(current, url)
                                     : app::DefaultSavePath({}, app::CurrentFolder(), url);
    const std::string chosen = m_hooks.chooseSaveFile(window(), proposed);
    if (!chosen.empty()) m_save->setEditText(ToQ(chosen));
}

void InputView::StartTitleFetch() {
    const std::string url = engine::EncodeUrl(UrlText());
    if (url.empty()) {
        Tell(ErrorCaption(), Text(UiText::tr("URLが設定されていません。")), platformqt::IconError);
        return;
    }
    if (engine::SchemeEnd(url) == std::string::npos) {
        Tell(ErrorCaption(), Text(UiText::tr("URLが正しくありません。")), platformqt::IconError);
        return;
    }
    m_titleButton->setEnabled(false);
    m_titleSeconds = 0;
    m_titleProgress->setText(UiText::tr("ページタイトルを取得中･･･"));
    m_titleProgress->show();
    m_titleFetch.Start(url);
    if (!m_titleTimer) {
        m_titleTimer = new QTimer(this);
        connect(m_titleTimer, &QTimer::timeout, this, [this] { TitleTick(); });
    }
    m_titleTimer->start(1000);
}

bool InputView::TitleFetchRunning() const { return m_titleFetch.Running(); }

void InputView::TitleTick() {
    if (m_titleFetch.Running()) {
        ++m_titleSeconds;
        m_titleProgress->setText(UiText::tr("ページタイトルを取得中･･･ サーバーの応答を待機中･･･（%1秒）").arg(m_titleSeconds));
        return;
    }
    if (m_titleTimer) m_titleTimer->stop();
    m_titleProgress->hide();
    m_titleButton->setEnabled(true);
    std::string title;
    const std::string name = m_titleFetch.Result(title) ? app::NameFromTitle(title) : std::string();
    if (name.empty()) {
        Tell(ErrorCaption(), Text(UiText::tr("タイトル取得に失敗しました（ページアクセスに失敗）。")), platformqt::IconError);
        return;
    }
    m_save->setEditText(ToQ(platform::FolderOf(SaveText()) + name));
}

void InputView::AnalysePage() {
    const std::string url = UrlText();
    if (url.empty()) {
        Tell(ErrorCaption(), Text(UiText::tr("URLが設定されていません。")), platformqt::IconError);
        return;
    }
    const uint32_t defMode = records::ReadDefMode(m_job.IniPath());
    if (engine::SchemeEnd(url) == std::string::npos || platform::ContainsI(url, ".cgi") ||
        !app::IsCompleteSaveUrl(url, defMode)) {
        DialogArgs args;
        args.url = url;
        // The steps put what they find straight into the fields, without the completions
        // that a dropped URL gets.
        args.fields.url = [this] { return UrlText(); };
        args.fields.setUrl = [this](const std::string& text) { m_url->setText(ToQ(text)); };
        args.fields.savePath = [this] { return SaveText(); };
        args.fields.setSavePath = [this](const std::string& text) { m_save->setEditText(ToQ(text)); };
        (void)m_hooks.openDialog("AnalysisLit", window(), m_job, args);
        return;
    }
    if (!m_analysis) {
        m_analysis = new AnalysisPanel(this);
        m_analysis->showDetails = [this] { ShowAnalysisDetails(); };
        LayoutControls();
    }
    m_analysis->Start(url);
}

void InputView::ShowAnalysisDetails() {
    const app::PageAnalysis& page = m_analysis->Result();
    DialogArgs args;
    app::AnalysisDetails details = app::DetailsOf(page);
    args.message = std::move(details.message);
    args.advice = std::move(details.advice);
    args.objectUrls = app::MainObjectUrls(page);
    if (app::AnyAdvice(page)) args.applyRecommendations = [this] { ApplyRecommendations(); };
    args.setUrl = [this](const std::string& url) { SetUrl(url); };
    (void)m_hooks.openDialog("AnalysisStd", window(), m_job, args);
}

void InputView::ApplyRecommendations() {
    const app::PageAnalysis& page = m_analysis->Result();
    if (page.agentStatus != app::FetchedPlain) {
        m_agent->setChecked(true);
        m_forced->setChecked(true);
    }
    if (page.needsAlias) m_alias->setChecked(true);
    m_limit->setText(QString::number(app::RecommendedUpperLimit(page)));
    if (app::HasManyOutLinks(page)) m_outDomain[2]->setChecked(true);
}

void InputView::SetUrl(const std::string& url) {
    const std::string text = app::UrlForField(url, records::ReadDefMode(m_job.IniPath(), kUrlCompletionDefault));
    m_url->setText(ToQ(text));
    const std::string save = SaveText();
    if (save.find('/') != std::string::npos) m_save->setEditText(ToQ(app::SavePathForUrl(save, text)));
}

void InputView::DropText(const std::string& text) { SetUrl(text); }

void InputView::DropFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const std::string& first = paths.front();
    if (app::IsShortcutName(first)) {
        // The shortcut stands for its URL, not for a file to open.
        std::string content;
        if (platform::ReadFileHead(first, content, kShortcutBytes)) {
            const std::string url = app::ShortcutUrl(content);
            if (!url.empty()) SetUrl(url);
        }
        return;
    }
    if (paths.size() == 1) {
        if (app::IsQdxName(first)) {
            StartSitrova(window(), m_hooks, {first});
        } else if (app::IsHtmlName(first)) {
            if (records::ReadWhlMode(m_job.IniPath()) & kWhlCleanDroppedHtml) {
                const int removed = filters::CleanFileInPlace(first);
                Tell("Sitrova",
                     Text(removed ? UiText::tr("ドロップファイル内の広告を削除しました。") : UiText::tr("ドロップファイル内に広告は見つかりませんでした。")),
                     platformqt::IconWarning);
                return;
            }
            DialogArgs args;
            args.filePath = first;
            (void)m_hooks.openDialog("DropHtmlCutAdv", window(), m_job, args);
        } else if (app::IsWebArchiveName(first)) {
            // The archive holds the pages; which site to take from it and where to put the copy
            // are the fields' to say, as for a save from the network.
            const std::string url = UrlText();
            const std::string save = SaveText();
            if (url.empty() || save.find('/') == std::string::npos) {
                Tell("Sitrova", Text(UiText::tr("Webアーカイブから保存するには、先にURLと保存先を入力してください。")),
                     platformqt::IconWarning);
                return;
            }
            StartSitrova(window(), m_hooks, {app::SomeWarcArgument(first, engine::EncodeUrl(url), save)});
        }
        return;
    }
    const app::QdxDropResult result = app::ReadDroppedQdxFiles(paths);
    for (const std::string& path : result.readable) StartSitrova(window(), m_hooks, {path});
    const std::string report = app::QdxDropReport(result);
    if (!report.empty()) Tell("Sitrova", report, platformqt::IconWarning);
}

}  // namespace appqt
