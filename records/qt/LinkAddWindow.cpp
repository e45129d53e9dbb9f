// "QdxLinkAdd": registers a related link of a .qdx record.
#include <QCheckBox>
#include <algorithm>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "engine/SaveJob.h"
#include "records/DescriptionLog.h"
#include "records/qt/RelatedFileFetch.h"
#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/PageTitleFetch.h"
#include "records/SavedSiteText.h"
#include "records/Settings.h"
#include "records/qt/RecordWindows.h"

namespace recordsqt {

using platformqt::FromQ;
using platformqt::ToQ;

namespace {


// The name a dropped file or folder gets: its last path element.
std::string DroppedName(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return platform::NameOf(path);
}

}  // namespace

LinkAddWindow::LinkAddWindow(QWidget* owner, engine::SaveJob& job) : QDialog(owner), m_job(job) {
    setWindowTitle(UiText::tr("関連リンクの登録"));
    resize(460, 240);
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(UiText::tr("■登録するリンク名"), this));
    m_name = new QLineEdit(this);
    m_name->setObjectName(platformqt::ControlName(NameEdit));
    layout->addWidget(m_name);
    layout->addWidget(new QLabel(UiText::tr("■登録するフルパス"), this));
    m_target = new QLineEdit(this);
    m_target->setObjectName(platformqt::ControlName(TargetEdit));
    layout->addWidget(m_target);
    m_download = new QCheckBox(UiText::tr("Webファイルは、ダウンロードして保存の後に登録する。"), this);
    m_download->setObjectName(platformqt::ControlName(DownloadCheck));
    m_download->setChecked((records::ReadDefMode(job.IniPath()) & records::kDownloadWebFilesBit) != 0);
    layout->addWidget(m_download);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(platformqt::ControlName(ProgressBar));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->hide();
    layout->addWidget(m_progress);
    layout->addStretch(1);

    auto* row = new QHBoxLayout();
    row->addStretch(1);
    auto* add = new QPushButton(UiText::tr("追加"), this);
    add->setObjectName(platformqt::ControlName(AddButton));
    connect(add, &QPushButton::clicked, this, [this] { Add(); });
    row->addWidget(add);
    auto* cancel = new QPushButton(UiText::tr("キャンセル"), this);
    cancel->setObjectName(platformqt::ControlName(CancelButton));
    connect(cancel, &QPushButton::clicked, this, [this] { done(0); });
    row->addWidget(cancel);
    layout->addLayout(row);
}

LinkAddWindow::~LinkAddWindow() {
    m_fileDownload.reset();
    // A title fetch still running is cut short; its answer would come to a window that is gone.
    for (auto& fetch : m_fetches) fetch.Stop();
    for (auto& fetch : m_fetches) fetch.Wait();
}

void LinkAddWindow::Warn(const QString& text) {
    platformqt::ShowMessage(this, "Sitrova", FromQ(text), platformqt::IconWarning);
}

void LinkAddWindow::Add() {
    const std::string name = FromQ(m_name->text());
    const std::string target = FromQ(m_target->text().trimmed());
    if (name.empty()) return Warn(UiText::tr("リンク名を入力してください。"));
    const bool web = records::IsWebTarget(target);
    if (!web && (target.empty() || !platform::FileExists(target)))
        return Warn(UiText::tr("指定されたファイル／フォルダは存在しません。"));
    if (web && m_download->isChecked()) return StartFileDownload(name, target);
    AddLinkAndClose(name, target);
}

void LinkAddWindow::AddLinkAndClose(const std::string& name, const std::string& target) {
    const std::string path = m_job.QdxPath();
    records::SectionFile record;
    if (!platform::IsRegularFile(path) || !record.Load(path))
        return Warn(UiText::tr("Qdxファイルが開けません: %1").arg(ToQ(path)));
    if (records::CountLinks(record) >= records::kMaxRelatedLinks)
        return Warn(UiText::tr("関連リンクはこれ以上登録できません。"));
    std::string error;
    if (!records::AddLink(record, name, target, &error, records::ErrorReader::User)) return Warn(ToQ(error));
    done(1);
}

// The file goes into the record's data folder, under "関連ファイル", named as in its URL.
void LinkAddWindow::StartFileDownload(const std::string& name, const std::string& url) {
    const std::string folder = records::StripExtension(m_job.QdxPath()) + ".files/関連ファイル";
    if (!platform::CreateFolderChain(folder)) return Warn(UiText::tr("保存先のフォルダを作成できません: %1").arg(ToQ(folder)));
    std::string file = url.substr(url.rfind('/') + 1);
    if (file.empty() || file == "." || file == "..") file = "index.html";
    const RelatedFileStart& start = RelatedFileStarter();
    if (start) {
        m_fileDownload = start(url, folder + "/" + file, m_job, [this](int code, int64_t value) {
            QMetaObject::invokeMethod(this, [this, code, value] { OnDownloadCode(code, value); }, Qt::QueuedConnection);
        });
    }
    if (!m_fileDownload) return Warn(UiText::tr("ファイルをダウンロードできませんでした。"));
    SetBusy(true);
    m_downloadName = name;
    m_downloadPath = folder + "/" + file;
}

void LinkAddWindow::OnDownloadCode(int code, int64_t value) {
    if (!m_fileDownload) return;
    if (code == RelatedFileProgress) {
        const int64_t total = m_fileDownload->ExpectedSize();
        m_progress->setValue(total > 0 ? static_cast<int>(std::min<int64_t>(100, value * 100 / total)) : 50);
    } else if (code == RelatedFileSaved) {
        const std::string saved = m_downloadPath;
        m_fileDownload.reset();
        SetBusy(false);
        AddLinkAndClose(m_downloadName, saved);
    } else if (code == RelatedFileFailed) {
        // Nothing was saved, so nothing is registered; the user may try again or uncheck.
        m_fileDownload.reset();
        SetBusy(false);
        Warn(UiText::tr("ファイルをダウンロードできませんでした。"));
    }
}

void LinkAddWindow::SetBusy(bool busy) {
    m_busy = busy;
    for (int id : {NameEdit, TargetEdit, DownloadCheck, AddButton, CancelButton})
        if (QWidget* control = findChild<QWidget*>(platformqt::ControlName(id))) control->setEnabled(!busy);
    m_progress->setValue(0);
    m_progress->setVisible(busy);
}

void LinkAddWindow::reject() {
    if (!m_busy) QDialog::reject();
}

void LinkAddWindow::DropText(const std::string& text) {
    m_target->setText(ToQ(text));
    if (records::IsWebTarget(text)) StartTitleFetch(text);
}

void LinkAddWindow::DropFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    m_target->setText(ToQ(paths.front()));
    m_name->setText(ToQ(DroppedName(paths.front())));
}

void LinkAddWindow::StartTitleFetch(const std::string& url) {
    const unsigned generation = ++m_generation;
    m_nameAtDrop = m_name->text();
    ++m_fetchesRunning;
    m_fetches.emplace_back().Start([this, generation, url](std::stop_token stop) {
        std::string title = records::FetchPageTitle(url, [&stop] { return stop.stop_requested(); });
        if (stop.stop_requested()) return;
        QMetaObject::invokeMethod(
            this, [this, generation, title] { TakeTitle(generation, title); }, Qt::QueuedConnection);
    });
}

void LinkAddWindow::TakeTitle(unsigned generation, const std::string& title) {
    --m_fetchesRunning;
    // Only the latest drop names the link, and never over a name typed meanwhile.
    if (generation != m_generation || title.empty() || m_name->text() != m_nameAtDrop) return;
    m_name->setText(ToQ(title));
}

void LinkAddWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText()) event->acceptProposedAction();
}

void LinkAddWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    std::vector<std::string> files;
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) files.push_back(FromQ(url.toLocalFile()));
        if (!files.empty()) {
            DropFiles(files);
        } else if (!data->urls().isEmpty()) {
            DropText(FromQ(data->urls().front().toString()));
        }
    } else if (data->hasText()) {
        DropText(FromQ(data->text().trimmed()));
    }
    event->acceptProposedAction();
}

}  // namespace recordsqt
