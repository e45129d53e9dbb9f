// Help pages and the read-me file, opened in the browser from the program's folder.
#include "app/shell/Shell.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/UiText.h"

namespace appshell {

namespace {

struct Topic {
    std::string page;    // file name inside the help folder ("" when not a plain name)
    std::string anchor;  // without "#"
};

// Accepts "/page.htm", "page.htm#part" and the old "HelpTool.chm::/page.htm" form.
Topic ParseTopic(const std::string& topic) {
    std::string text = topic;
    size_t sep = text.find("::");
    if (sep != std::string::npos) text = text.substr(sep + 2);
    while (!text.empty() && text.front() == '/') text.erase(0, 1);
    Topic parsed;
    size_t hash = text.find('#');
    if (hash != std::string::npos) {
        parsed.anchor = text.substr(hash + 1);
        text.resize(hash);
    }
    if (text.empty()) text = kHelpIndexPage;
    // Pages lie flat in the help folder; anything else would reach outside it.
    if (text.find('/') == std::string::npos && text != "." && text != "..") parsed.page = text;
    return parsed;
}

std::string ProgramFolderSlash(const std::string& programFolder) {
    return !programFolder.empty() && programFolder.back() == '/' ? programFolder : programFolder + "/";
}

int OpenFile(const std::string& path, const std::string& shownName, const std::string& anchor,
             std::string* message, const Opener& open) {
    if (message) message->clear();
    if (!platform::IsRegularFile(path) || !open || open(FileUrl(path) + (anchor.empty() ? "" : "#" + anchor)) != 1) {
        if (message) *message = platform::TrArgs("%1  が開けません。", {shownName});
        return 0;
    }
    return 1;
}

int ShellOpener(const std::string& target) { return platform::ShellOpen(target); }

}  // namespace

std::string FileUrl(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

std::string HelpTopicPath(const std::string& programFolder, const std::string& topic) {
    const Topic parsed = ParseTopic(topic);
    return parsed.page.empty() ? std::string() : ProgramFolderSlash(programFolder) + "help/" + parsed.page;
}

int OpenHelpTopic(const std::string& programFolder, const std::string& topic, std::string* message) {
    return OpenHelpTopic(programFolder, topic, message, ShellOpener);
}

int OpenHelpTopic(const std::string& programFolder, const std::string& topic, std::string* message,
                  const Opener& open) {
    const Topic parsed = ParseTopic(topic);
    const std::string shown = parsed.page.empty() ? topic : parsed.page;
    return OpenFile(HelpTopicPath(programFolder, topic), shown, parsed.anchor, message, open);
}

int OpenReadMe(const std::string& programFolder, std::string* message) {
    return OpenReadMe(programFolder, message, ShellOpener);
}

int OpenReadMe(const std::string& programFolder, std::string* message, const Opener& open) {
    return OpenFile(ProgramFolderSlash(programFolder) + kReadMeName, kReadMeName, {}, message, open);
}

}  // namespace appshell
