// The tab of ".qdx" records: the list (columns of the record, its log and its count), the
// details of the selected record, the context menu and the search score.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "suite/ListLoader.h"
#include "suite/qt/SuiteHooks.h"

class QTreeWidget;
class QTreeWidgetItem;
class QPlainTextEdit;

namespace suiteqt {

class QdxListView : public QWidget {
public:
    // The update column comes last among the columns and shows after the count.
    enum Column { ColName, ColFolder, ColDate, ColCount, ColComment, ColPath, ColScore, ColUpdate, ColumnCount };

    QdxListView(std::string programFolder, const SuiteHooks& hooks, QWidget* parent = nullptr);

    void SetRows(std::vector<suite::QdxRow> rows);
    // A registration handed over: the row's count becomes `openTimes`, or a new row is added.
    void ShowRegistered(const std::string& qdxPath, int openTimes);
    // Scores every row, sorts by the score (highest first) and selects the first row.
    void Search(const std::string& word);
    // Shows only the sites an update changed within the last `days` days before `now`
    // (seconds since the epoch), newest change first. Returns how many there are.
    int ShowChangedWithin(int days, int64_t now);
    // The newest change report of a record, opened with the desktop.
    void OpenChangeReport(const std::string& qdxPath);

    QTreeWidget* List() const { return m_list; }
    QPlainTextEdit* Details() const { return m_details; }
    // The context-menu commands, by their position in the menu.
    void OpenInSitrova(const std::string& qdxPath);
    void OpenStartUrl(const std::string& qdxPath);
    void OpenStartPage(const std::string& qdxPath);
    const LocalOpener& Opener() const { return *m_opener; }

private:
    QTreeWidgetItem* AddRow(const suite::QdxRow& row);
    QTreeWidgetItem* FindRow(const std::string& qdxPath) const;
    const suite::QdxRow* RowOf(const QTreeWidgetItem* item) const;
    void ShowDetails();
    void ShowContextMenu(const QPoint& at);

    std::string m_programFolder;
    SuiteHooks m_hooks;
    LocalOpener* m_opener;
    QTreeWidget* m_list;
    QPlainTextEdit* m_details;
    std::vector<suite::QdxRow> m_rows;  // indexed by the row's stored number
};

}  // namespace suiteqt
