// How the catalogue window reaches the desktop: starting Sitrova, opening files, folders and
// URLs. Tests pass their own to record what would have been opened.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace suiteqt {

struct SuiteHooks {
    // Starts a program with arguments (working folder: the program's folder). 1 started.
    std::function<int(const std::string& program, const std::vector<std::string>& args)> startProgram;
    // Opens a file or folder with the desktop's default handler. 1 started.
    std::function<int(const std::string& target)> openFile;
    // Opens a URL with the browser rule of "Sitrov.ini". 1 started.
    std::function<int(const std::string& url)> openUrl;
};

SuiteHooks DefaultSuiteHooks(const std::string& programFolder);

// Opens a local file or folder through the hooks; a failure is shown under the caption
// "ファイルが開けません" with the text that names its cause.
void OpenLocal(QWidget* parent, const SuiteHooks& hooks, const std::string& path);

}  // namespace suiteqt
