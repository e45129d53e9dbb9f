// A list row that sorts the catalogue's way: numbers by value, other cells with the desktop's
// string comparison.
#pragma once

#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <vector>

#include "platform/qt/QtText.h"
#include "suite/ListText.h"

namespace suiteqt {

class SortableItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return suite::CompareCells(platformqt::FromQ(text(column)), platformqt::FromQ(other.text(column)),
                                   &Collate) < 0;
    }

private:
    static int Collate(const std::string& a, const std::string& b) {
        return QString::localeAwareCompare(platformqt::ToQ(a), platformqt::ToQ(b));
    }
};

}  // namespace suiteqt

namespace suiteqt {

// Header clicks sort by the clicked column and flip that column's direction; the first click
// sorts descending, except where suite::FirstClickAscending says otherwise.
void EnableHeaderSorting(QTreeWidget* list, bool qdxList);

// Makes a list with the given columns (title, width, centred), grid-like and full-row.
struct Column {
    const char* title;  // a window text marked for translation
    int width;
    bool centred;
};
void SetUpList(QTreeWidget* list, const std::vector<Column>& columns);

}  // namespace suiteqt
