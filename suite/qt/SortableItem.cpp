#include "suite/qt/SortableItem.h"

#include <QHeaderView>
#include <algorithm>
#include <memory>

#include "platform/qt/UiText.h"

namespace suiteqt {

void EnableHeaderSorting(QTreeWidget* list, bool qdxList) {
    // Direction last used per column: 0 none yet, 1 ascending, 2 descending.
    auto directions = std::make_shared<std::vector<int>>(list->columnCount(), 0);
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(true);
    list->header()->setSortIndicator(-1, Qt::AscendingOrder);  // unsorted until a click
    QObject::connect(list->header(), &QHeaderView::sectionClicked, list, [list, qdxList, directions](int column) {
        if (column < 0 || column >= static_cast<int>(directions->size())) return;
        int& d = (*directions)[column];
        if (d == 0) d = suite::FirstClickAscending(qdxList, column) ? 1 : 2;
        else d = (d == 1) ? 2 : 1;
        list->sortItems(column, d == 1 ? Qt::AscendingOrder : Qt::DescendingOrder);
    });
}

void SetUpList(QTreeWidget* list, const std::vector<Column>& columns) {
    QStringList titles;
    for (const Column& c : columns) titles << UiText::tr(c.title);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(titles);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        // The widths fit the Japanese titles; a translated title that is longer widens its column.
        int width = columns[i].width;
        if (titles[i] != QString::fromUtf8(columns[i].title))
            width = std::max(width, list->header()->sectionSizeHint(i));
        list->setColumnWidth(i, width);
        if (columns[i].centred) list->headerItem()->setTextAlignment(i, Qt::AlignCenter);
    }
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformRowHeights(true);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    // Grid lines between the cells; a style sheet on items also needs the selection colours.
    list->setStyleSheet(QStringLiteral(
        "QTreeWidget::item { border-right: 1px solid #d8d8d8; border-bottom: 1px solid #d8d8d8; }"
        "QTreeWidget::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
}

}  // namespace suiteqt
