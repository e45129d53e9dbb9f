// The file list of a window that polls a serial-download session.
#pragma once

class QTreeWidget;

namespace download {
struct SessionJob;
}

namespace downloadqt {

// Makes `list` show the session's rows: rows it has no longer go, new ones are added at the
// end and scrolled to, and the texts of the others follow the session.
void ShowSessionRows(QTreeWidget* list, const download::SessionJob& state);

}  // namespace downloadqt
