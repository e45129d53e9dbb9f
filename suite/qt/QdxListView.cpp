#include "suite/qt/QdxListView.h"

#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "suite/ListText.h"
#include "suite/qt/SortableItem.h"

namespace suiteqt {

namespace {

constexpr int kRowRole = Qt::UserRole + 1;

using platformqt::FromQ;

std::string PathOf(const QTreeWidgetItem* item) {
    return item ? platformqt::FromQ(item->text(QdxListView::ColPath)) : std::string();
}

}  // namespace

QdxListView::QdxListView(std::string programFolder, const SuiteHooks& hooks, QWidget* parent)
    : QWidget(parent), m_programFolder(std::move(programFolder)), m_hooks(hooks), m_opener(new LocalOpener(hooks, this)) {
    setWindowTitle(QStringLiteral("ViewerQdxList"));
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("qdxList"));
    SetUpList(m_list, {{QT_TRANSLATE_NOOP("UiText", "Qdxファイル名"), 192, false},
                       {QT_TRANSLATE_NOOP("UiText", "上位フォルダ名"), 128, false},
                       {QT_TRANSLATE_NOOP("UiText", "最終更新日"), 112, true},
                       {QT_TRANSLATE_NOOP("UiText", "参照回数"), 64, true},
                       {QT_TRANSLATE_NOOP("UiText", "コメント"), 256, false},
                       {QT_TRANSLATE_NOOP("UiText", "フルパス"), 512, false},
                       {QT_TRANSLATE_NOOP("UiText", "検索"), 32, false},
                       {QT_TRANSLATE_NOOP("UiText", "最終更新チェック"), 250, false}});
    m_list->header()->moveSection(ColUpdate, ColCount + 1);
    EnableHeaderSorting(m_list, true);
    m_details = new QPlainTextEdit;
    m_details->setObjectName(QStringLiteral("qdxDetails"));
    m_details->setReadOnly(true);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(m_list);
    split->addWidget(m_details);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { ShowDetails(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OpenInSitrova(PathOf(item)); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { ShowContextMenu(at); });
}

QTreeWidgetItem* QdxListView::AddRow(const suite::QdxRow& row) {
    auto* item = new SortableItem(m_list);
    item->setText(ColName, platformqt::ToQ(row.fileName));
    item->setText(ColFolder, platformqt::ToQ(row.folderName));
    item->setText(ColDate, platformqt::ToQ(row.details.logDate));
    item->setText(ColCount, QString::number(row.openTimes));
    item->setText(ColComment, platformqt::ToQ(suite::CommentColumnText(row.details.comment)));
    item->setText(ColPath, platformqt::ToQ(row.fullPath));
    item->setText(ColUpdate, platformqt::ToQ(suite::UpdateColumnText(row.update)));
    if (!row.update.updated) item->setToolTip(ColUpdate, UiText::tr("まだ更新チェックをしていません"));
    else item->setToolTip(ColUpdate, UiText::tr("新規・変更・変更なし・消滅・失敗の数"));
    item->setTextAlignment(ColDate, Qt::AlignCenter);
    item->setTextAlignment(ColCount, Qt::AlignCenter);
    item->setData(0, kRowRole, static_cast<int>(m_rows.size()));
    m_rows.push_back(row);
    return item;
}

void QdxListView::SetRows(std::vector<suite::QdxRow> rows) {
    m_list->clear();
    m_rows.clear();
    for (const suite::QdxRow& row : rows) AddRow(row);
}

QTreeWidgetItem* QdxListView::FindRow(const std::string& qdxPath) const {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (PathOf(m_list->topLevelItem(i)) == qdxPath) return m_list->topLevelItem(i);
    return nullptr;
}

void QdxListView::ShowRegistered(const std::string& qdxPath, int openTimes) {
    if (QTreeWidgetItem* item = FindRow(qdxPath)) {
        item->setText(ColCount, QString::number(openTimes));
        return;
    }
    if (platform::IsRegularFile(qdxPath)) AddRow(suite::MakeQdxRow(qdxPath, openTimes));
}

const suite::QdxRow* QdxListView::RowOf(const QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    const auto index = static_cast<size_t>(item->data(0, kRowRole).toInt());
    return index < m_rows.size() ? &m_rows[index] : nullptr;
}

int QdxListView::ShowChangedWithin(int days, int64_t now) {
    int shown = 0;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const suite::QdxRow* row = RowOf(item);
        const bool changed = row && suite::ChangedWithin(row->update, days, now);
        item->setHidden(!changed);
        // The score column orders the changed sites, the newest change first.
        item->setText(ColScore, changed ? QString::number(row->update.lastChange) : QStringLiteral("0"));
        if (changed) ++shown;
    }
    m_list->sortItems(ColScore, Qt::DescendingOrder);
    QTreeWidgetItem* first = m_list->topLevelItem(0);
    if (first && !first->isHidden()) m_list->setCurrentItem(first);
    return shown;
}

void QdxListView::OpenChangeReport(const std::string& qdxPath) {
    const QTreeWidgetItem* item = FindRow(qdxPath);
    const suite::QdxRow* row = RowOf(item);
    if (row && !row->update.report.empty()) m_opener->Open(row->update.report);
}

void QdxListView::Search(const std::string& word) {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        item->setHidden(false);
        const suite::QdxRow& row = m_rows[static_cast<size_t>(item->data(0, kRowRole).toInt())];
        item->setText(ColScore, QString::number(suite::QdxScore(word, row.fullPath, row.details.comment, row.details.links)));
    }
    m_list->sortItems(ColScore, Qt::DescendingOrder);
    if (QTreeWidgetItem* first = m_list->topLevelItem(0)) {
        m_list->setCurrentItem(first);
        m_list->scrollToItem(first);
    }
}

void QdxListView::ShowDetails() {
    const std::string path = PathOf(m_list->currentItem());
    if (path.empty()) {
        m_details->clear();
        return;
    }
    m_details->setPlainText(platformqt::ToQLines(suite::DetailsText(path, suite::ReadQdxDetails(path))));
}

void QdxListView::ShowContextMenu(const QPoint& at) {
    QTreeWidgetItem* item = m_list->itemAt(at);
    if (!item) return;
    const std::string path = PathOf(item);
    QMenu menu(this);
    menu.addAction(UiText::tr("Qdxファイルを開く(&I)"), this, [this, path] { OpenInSitrova(path); });
    menu.addAction(UiText::tr("コンプリートURLを開く(&P)"), this, [this, path] { OpenStartUrl(path); });
    menu.addAction(UiText::tr("保存したHTMLファイルを開く(&O)"), this, [this, path] { OpenStartPage(path); });
    const suite::QdxRow* row = RowOf(item);
    QAction* report = menu.addAction(UiText::tr("更新レポートを開く(&R)"), this, [this, path] { OpenChangeReport(path); });
    report->setEnabled(row && !row->update.report.empty());
    menu.exec(m_list->viewport()->mapToGlobal(at));
}

void QdxListView::OpenInSitrova(const std::string& qdxPath) {
    if (qdxPath.empty()) return;
    const std::string sitrova = m_programFolder + "/Sitrova";
    if (platform::IsRegularFile(sitrova) && m_hooks.startProgram && m_hooks.startProgram(sitrova, {qdxPath}) == 1)
        return;
    // Without Sitrova beside us the record is opened by its file type.
    m_opener->Open(qdxPath);
}

void QdxListView::OpenStartUrl(const std::string& qdxPath) {
    const suite::QdxDetails details = suite::ReadQdxDetails(qdxPath);
    if (!details.logRead || details.startUrl.empty()) {
        (void)platformqt::ShowMessage(this, FromQ(UiText::tr("ファイルが開けません")), FromQ(UiText::tr("URLの取得に失敗しました。")),
                                      platformqt::IconError);
        return;
    }
    if (!m_hooks.openUrl || m_hooks.openUrl(details.startUrl) != 1)
        (void)platformqt::ShowMessage(this, FromQ(UiText::tr("ファイルが開けません")),
                                      FromQ(UiText::tr("システム リソースが足りません。")), platformqt::IconError);
}

void QdxListView::OpenStartPage(const std::string& qdxPath) {
    const suite::QdxDetails details = suite::ReadQdxDetails(qdxPath);
    if (details.status != suite::DetailsRead) {
        (void)platformqt::ShowMessage(this, FromQ(UiText::tr("ファイルが開けません")), details.message, platformqt::IconError);
        return;
    }
    m_opener->Open(details.startPage);
}

}  // namespace suiteqt
