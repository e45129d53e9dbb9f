#include "records/ShortcutPage.h"

#include <cstdio>

#include "platform/FileUtil.h"
#include "platform/ShiftJisText.h"

namespace records {

namespace {

constexpr const char* kTitleEnd = "</title>\r\n";

// A relative path as a link: characters that a browser reads as URL syntax ("%", "#", "?")
// are percent-encoded so that the link names the file itself.
std::string LinkTarget(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '%' || c == '#' || c == '?') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return platform::EscapeMarkup(out);
}

}  // namespace

std::string DataFolderShortcutTitle() { return std::string("保存基点ページへのショートカット") + kTitleEnd; }

std::string LevelShortcutTitle(const std::string& saveName) {
    return platform::EscapeMarkup(saveName) + "へのショートカット" + kTitleEnd;
}

std::string ShortcutPageBytes(const std::string& target, const std::string& title) {
    const std::string link = LinkTarget(target);
    std::string page;
    page += "<html>\r\n<head><title>";
    page += title;
    page += "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"0;URL=" + link + "\">\r\n";
    page += "</head>\r\n<body bgcolor=white><br>\r\n";
    page += "移動しない場合は<a href=\"" + link + "\">こちら</a>をクリックしてください。\r\n";
    page += "</body>\r\n</html>\r\n";
    return platform::ToShiftJis(page, platform::Unmappable::CharacterReference);
}

int WriteShortcutFile(const std::string& path, const std::string& target, const std::string& title) {
    return platform::WriteFileReplacing(path, ShortcutPageBytes(target, title)) ? 1 : 0;
}

std::string LevelShortcutName(const std::string& saveName) { return "「" + saveName + "」へのショートカット.htm"; }

}  // namespace records
