#include "engine/PlaceholderPages.h"

#include "platform/Codepage.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

// The fixed texts are ours and all have codes in CP932. Should the conversion still fail
// (no CP932 table on this machine), the page is not written rather than written in UTF-8.
bool AppendSjis(std::string& text, std::string_view utf8) {
    std::string sjis;
    if (platform::Utf8ToCp932(utf8, sjis) != platform::CodepageOk) return false;
    text += sjis;
    return true;
}

// A URL taken from a page may hold characters that would end the attribute or open a tag
// in the placeholder. They are never valid in a URL as such, so their percent forms name
// the same address.
std::string SafeUrl(std::string_view url) {
    std::string out;
    out.reserve(url.size());
    for (char c : url) {
        switch (c) {
        case '"': out += "%22"; break;
        case '<': out += "%3C"; break;
        case '>': out += "%3E"; break;
        default: out += c; break;
        }
    }
    return out;
}

// The failure head counts only within the page's first bytes.
constexpr size_t kSavedCopyHeadBytes = 512;

}  // namespace

int WriteFailedPage(std::string_view rawUrl, const std::string& path) {
    const std::string url = SafeUrl(rawUrl);
    std::string text;
    text += kFailedPageHead;
    text += "\r\n";
    if (!AppendSjis(text, "このページはダウンロードできませんでした。<br>\r\nBy Sitrova<br>\r\n")) return 0;
    text += "<br>\r\n<a href=\"";
    text += url;
    text += "\">";
    text += url;
    text += "</a>\r\n";
    text += "</body>\r\n</html>\r\n";
    return platform::WriteFileReplacing(path, text, platform::Durability::Fast) ? 1 : 0;
}

int WriteCanceledPage(std::string_view rawUrl, const std::string& path) {
    const std::string url = SafeUrl(rawUrl);
    std::string text;
    text += kCanceledPageHead;
    text += "\r\n";
    if (!AppendSjis(text, "このページのダウンロードはユーザーによりキャンセルされました。<br>\r\n")) return 0;
    text += "By Sitrova<br>\r\n";
    text += "<br>\r\n";
    text += "<a href=\"";
    text += url;
    text += "\">\r\n";
    text += url;
    text += "\r\n</a>\r\n</body>\r\n</html>\r\n";
    return platform::WriteFileReplacing(path, text, platform::Durability::Fast) ? 1 : 0;
}

int IsCanceledPage(const std::string& path) {
    std::string head;
    if (!platform::ReadFileHead(path, head, kCanceledPageHead.size())) return 0;
    return head == kCanceledPageHead ? 1 : 0;
}

int IsSavedCopy(const std::string& path) {
    // A folder of the page's name is in the way of the page, not a copy of it.
    if (!platform::IsRegularFile(path)) return 0;
    std::string head;
    if (!platform::ReadFileHead(path, head, kSavedCopyHeadBytes)) return 1;
    if (!IsSavedCopyText(head)) {
        platform::DiscardTemporary(path);
        return 0;
    }
    return 1;
}

bool IsSavedCopyText(std::string_view text) {
    return text.substr(0, kSavedCopyHeadBytes).find(kFailedPageHead) == std::string_view::npos;
}

}  // namespace engine
