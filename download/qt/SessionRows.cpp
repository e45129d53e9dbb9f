#include "download/qt/SessionRows.h"

#include <QTreeWidget>

#include "download/SerialSession.h"
#include "platform/qt/QtText.h"

namespace downloadqt {

void ShowSessionRows(QTreeWidget* list, const download::SessionJob& state) {
    const int count = static_cast<int>(state.rows.size());
    while (list->topLevelItemCount() > count) delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        const bool added = !row;
        if (added) row = new QTreeWidgetItem(list);
        for (int column = 0; column < 3; ++column) row->setText(column, platformqt::ToQ(state.rows[i][column]));
        if (added) list->scrollToItem(row);
    }
}

}  // namespace downloadqt
