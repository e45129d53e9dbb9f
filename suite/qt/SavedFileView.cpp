#include "suite/qt/SavedFileView.h"

#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/ByteSize.h"
#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "suite/ListText.h"
#include "suite/qt/SortableItem.h"

namespace suiteqt {

namespace {

constexpr int kPreviewSide = 160;
// Pictures past this size are not decoded for a preview.
constexpr qint64 kMaxPreviewBytes = 32 << 20;

bool IsJpeg(const std::string& path) {
    const std::string name = platform::NameOf(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    QString ext = platformqt::ToQ(name.substr(dot + 1)).toLower();
    return ext == QLatin1String("jpg") || ext == QLatin1String("jpeg");
}

}  // namespace

SavedFileView::SavedFileView(const SuiteHooks& hooks, QWidget* parent)
    : QWidget(parent), m_hooks(hooks), m_opener(new LocalOpener(hooks, this)) {
    setWindowTitle(QStringLiteral("ViewerSeriesFile"));
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("fileList"));
    SetUpList(m_list, {{QT_TRANSLATE_NOOP("UiText", "保存した単体／連番ファイル名"), 192, false},
                       {QT_TRANSLATE_NOOP("UiText", "フォルダパス"), 192, false},
                       {QT_TRANSLATE_NOOP("UiText", "保存日"), 116, true},
                       {QT_TRANSLATE_NOOP("UiText", "保存元URL"), 512, false},
                       {QT_TRANSLATE_NOOP("UiText", "フルパス"), 256, false},
                       {QT_TRANSLATE_NOOP("UiText", "検索"), 64, false}});
    EnableHeaderSorting(m_list, false);
    m_sizeLine = new QLabel;
    m_sizeLine->setObjectName(QStringLiteral("sizeLine"));
    m_sizeLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_preview = new QLabel;
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFixedSize(kPreviewSide, kPreviewSide);
    m_preview->setAlignment(Qt::AlignCenter);
    auto* info = new QWidget;
    auto* infoLayout = new QHBoxLayout(info);
    infoLayout->setContentsMargins(4, 4, 4, 4);
    infoLayout->addWidget(m_preview);
    infoLayout->addWidget(m_sizeLine, 1, Qt::AlignTop);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(m_list);
    split->addWidget(info);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { ShowSelected(); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { ShowContextMenu(at); });
}

void SavedFileView::AddRow(const suite::FileRow& row) {
    auto* item = new SortableItem(m_list);
    item->setText(ColName, platformqt::ToQ(row.fileName));
    item->setText(ColFolder, platformqt::ToQ(row.folderPath));
    item->setText(ColDate, platformqt::ToQ(row.saveDate));
    item->setText(ColUrl, platformqt::ToQ(row.remote));
    item->setText(ColPath, platformqt::ToQ(row.local));
    item->setTextAlignment(ColDate, Qt::AlignCenter);
}

void SavedFileView::SetRows(const std::vector<suite::FileRow>& rows) {
    m_list->clear();
    for (const suite::FileRow& row : rows) AddRow(row);
}

void SavedFileView::ShowRegistered(const std::string& remote, const std::string& local) {
    const QString url = platformqt::ToQ(remote);
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->text(ColUrl) == url) return;
    if (platform::IsRegularFile(local)) AddRow(suite::MakeFileRow(remote, local));
}

void SavedFileView::Search(const std::string& word) {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const int score = suite::FileScore(word, platformqt::FromQ(item->text(ColUrl)), platformqt::FromQ(item->text(ColPath)));
        item->setText(ColScore, QString::number(score));
    }
    m_list->sortItems(ColScore, Qt::DescendingOrder);
    if (QTreeWidgetItem* first = m_list->topLevelItem(0)) {
        m_list->setCurrentItem(first);
        m_list->scrollToItem(first);
    }
}

void SavedFileView::ShowSelected() {
    m_preview->clear();
    m_sizeLine->clear();
    QTreeWidgetItem* item = m_list->currentItem();
    if (!item) return;
    const std::string local = platformqt::FromQ(item->text(ColPath));
    const int64_t size = platform::FileSize(local);
    if (size < 0) return;
    m_sizeLine->setText(UiText::tr("　ファイルサイズ：%1").arg(platformqt::ToQ(platform::FormatByteSize(static_cast<uint64_t>(size)))));
    if (!IsJpeg(local) || size > kMaxPreviewBytes) return;
    QImageReader reader(platformqt::ToQ(local));
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid()) reader.setScaledSize(full.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio));
    const QImage picture = reader.read();
    if (picture.isNull()) {
        m_preview->setText(UiText::tr("（表示できません）"));
        return;
    }
    m_preview->setPixmap(QPixmap::fromImage(picture));
}

void SavedFileView::ShowContextMenu(const QPoint& at) {
    QTreeWidgetItem* item = m_list->itemAt(at);
    if (!item) return;
    const std::string remote = platformqt::FromQ(item->text(ColUrl));
    const std::string local = platformqt::FromQ(item->text(ColPath));
    QMenu menu(this);
    menu.addAction(UiText::tr("ファイルのURLを開く(&P)"), this, [this, remote] { OpenUrl(remote); });
    menu.addAction(UiText::tr("保存したファイルを開く(&O)"), this, [this, local] { OpenFile(local); });
    menu.addAction(UiText::tr("保存した“フォルダ”を開く(&D)"), this, [this, local] { OpenFolder(local); });
    menu.exec(m_list->viewport()->mapToGlobal(at));
}

void SavedFileView::OpenUrl(const std::string& remote) {
    if (!m_hooks.openUrl || m_hooks.openUrl(remote) != 1)
        (void)platformqt::ShowMessage(this, platformqt::FromQ(UiText::tr("ファイルが開けません")),
                                      platformqt::FromQ(UiText::tr("システム リソースが足りません。")), platformqt::IconError);
}

void SavedFileView::OpenFile(const std::string& local) { m_opener->Open(local); }

// The desktop has no "select this file" call common to every file manager: the folder opens.
void SavedFileView::OpenFolder(const std::string& local) { m_opener->Open(platform::FolderOf(local)); }

}  // namespace suiteqt
