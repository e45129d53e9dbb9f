// The link trace selection window "QdxSelectTraceWnd": the links of the start page, gathered
// in the background and shown by folder with their page titles. The ticked folders are the
// URL parts that the save follows below its first level.
#pragma once

#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace appqt {

// Builds the window for `startUrl` and starts gathering. OK ends it with 1 and the ticked
// folders in `*chosen`; キャンセル and the close box end it with 0, and so does a start page
// that cannot be read or links to no page of its site. The caller owns the window.
QDialog* CreateTraceSelectWindow(QWidget* owner, const std::string& startUrl, std::vector<std::string>* chosen);

// Runs the window modally over `owner`: the progress view's answer, TraceChosen or
// TraceCancelled.
int RunTraceSelectWindow(QWidget* owner, const std::string& startUrl, std::vector<std::string>& chosen);

}  // namespace appqt
