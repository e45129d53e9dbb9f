// The dialogs that show things rather than settings, and the shells of dialogs whose work
// comes later. Each factory returns the dialog; the caller runs it (exec) and deletes it.
#pragma once

#include <string>

#include "app/CommandLine.h"
#include "app/UrlHandlers.h"

class QDialog;
class QWidget;

namespace engine {
class SaveJob;
}

namespace appqt {

struct DialogArgs;

constexpr const char* kProductVersion = app::kProductVersion;
constexpr const char* kMakerAddress = "https://sitrova.invalid/";

// "VersionInfo": product name, version, the maker's address (opened when clicked), "閉じる".
QDialog* CreateVersionDialog(QWidget* owner);

// The error log of the job's save: beside the record in its data folder, else in the
// record's own folder (a save without data folder), else in the job's log folder.
std::string ErrorLogPathOf(const engine::SaveJob& job);
// "ErrorLogViewer": the download failures of the log file (Shift-JIS) in a table.
QDialog* CreateErrorLogViewer(QWidget* owner, const std::string& logPath);

// The record a dropped file belongs to: the file's path with ".qdx" for its extension, else,
// moving back through the path, the text before each earlier "." followed by ".qdx" (so a page
// inside the data folder "site.files" of a save finds "site.qdx"). "" when none exists.
std::string FindRelatedQdx(const std::string& filePath);
// "DropHtmlCutAdv": what to do with a dropped HTML file.
QDialog* CreateDropHtmlDialog(QWidget* owner, const std::string& filePath, const std::string& programFolder);

// "OutDomainSelectDlg": the job's links to other sites with their titles (fetched in the
// background); OK keeps the ticked ones in the job. The close box keeps them all.
QDialog* CreateOutDomainSelectDialog(QWidget* owner, engine::SaveJob& job);

// "AnalysisLit": the kind of a URL that is no HTML page (args.url) and what can be done with
// it, through the URL-kind handlers; their steps reach the input view through args.fields.
// `options` lets tests point the handlers elsewhere.
QDialog* CreateAnalysisLitDialog(QWidget* owner, engine::SaveJob& job, const DialogArgs& args,
                                 const app::UrlHandlerOptions& options = {});
// "AnalysisStd": the analysis comment (message), its advice, the main objects to choose from.
QDialog* CreateAnalysisStdDialog(QWidget* owner, const DialogArgs& args);

}  // namespace appqt
