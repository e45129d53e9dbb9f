// The tab of single and serial files: the list, the size line and a picture preview of the
// selected file, the context menu and the search score.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "suite/ListLoader.h"
#include "suite/qt/SuiteHooks.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace suiteqt {

class SavedFileView : public QWidget {
public:
    enum Column { ColName, ColFolder, ColDate, ColUrl, ColPath, ColScore, ColumnCount };

    SavedFileView(const SuiteHooks& hooks, QWidget* parent = nullptr);

    void SetRows(const std::vector<suite::FileRow>& rows);
    // A registration handed over: a URL not listed yet is appended.
    void ShowRegistered(const std::string& remote, const std::string& local);
    void Search(const std::string& word);

    QTreeWidget* List() const { return m_list; }
    QLabel* SizeLine() const { return m_sizeLine; }
    QLabel* Preview() const { return m_preview; }
    void OpenUrl(const std::string& remote);
    void OpenFile(const std::string& local);
    void OpenFolder(const std::string& local);
    const LocalOpener& Opener() const { return *m_opener; }

private:
    void AddRow(const suite::FileRow& row);
    void ShowSelected();
    void ShowContextMenu(const QPoint& at);

    SuiteHooks m_hooks;
    LocalOpener* m_opener;
    QTreeWidget* m_list;
    QLabel* m_sizeLine;
    QLabel* m_preview;
};

}  // namespace suiteqt
