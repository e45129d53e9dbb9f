// Browser programs the Qdx-file settings offer for opening saved pages.
#include <algorithm>

#include "app/shell/Shell.h"
#include "app/shell/Xdg.h"
#include "platform/FileUtil.h"
#include "records/Settings.h"

namespace appshell {

namespace {

constexpr const char* kCommonBrowsers[] = {"firefox", "firefox-esr", "chromium", "google-chrome",
                                           "google-chrome-stable", "epiphany"};

// The program of the desktop's text/html handler. The setting holds a program alone, so a
// handler that needs more words ("flatpak run …", "chromium --incognito") cannot stand for
// itself; "xdg-open" reaches it then.
std::string DefaultHtmlProgram(const xdg::Dirs& dirs) {
    const std::string file = xdg::FindDesktopFile(dirs, xdg::DefaultDesktopFor(dirs, "text/html"));
    if (file.empty()) return "xdg-open";
    std::vector<std::string> args = xdg::ExecArguments(xdg::DesktopEntryValue(file, "Exec"));
    if (!args.empty() && platform::NameOf(args.front()) == "env") {
        args.erase(args.begin());
        while (!args.empty() && args.front().find('=') != std::string::npos) args.erase(args.begin());
    }
    if (args.size() != 1) return "xdg-open";
    const std::string found = xdg::FindOnPath(args.front());
    return found.empty() ? args.front() : found;
}

}  // namespace

std::vector<std::string> BrowserCandidates(const std::string& current) {
    std::vector<std::string> candidates;
    auto add = [&](const std::string& program) {
        if (!program.empty() && std::find(candidates.begin(), candidates.end(), program) == candidates.end())
            candidates.push_back(program);
    };
    add(DefaultHtmlProgram(xdg::Dirs::FromEnvironment()));
    for (const char* name : kCommonBrowsers) add(xdg::FindOnPath(name));
    if (current != records::kBrowserAuto && current != records::kBrowserNone) add(current);
    return candidates;
}

}  // namespace appshell
