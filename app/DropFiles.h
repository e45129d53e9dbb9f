// Files dropped on the main window: Internet shortcuts, record files and HTML pages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

bool IsQdxName(std::string_view path);
bool IsHtmlName(std::string_view path);
bool IsShortcutName(std::string_view path);  // an Internet shortcut (".url")

// Several record files dropped at once: each is read; readable ones are to be opened, one
// whose saved site is gone has been deleted by the reader, the rest failed.
struct QdxDropResult {
    std::vector<std::string> readable;
    std::vector<std::string> deleted;
    std::vector<std::string> errors;  // each: the path, CR LF, the reader's message, CR LF
};
QdxDropResult ReadDroppedQdxFiles(const std::vector<std::string>& paths);
// The one message that reports deleted records and errors; "" when there is nothing to tell.
std::string QdxDropReport(const QdxDropResult& result);

}  // namespace app
