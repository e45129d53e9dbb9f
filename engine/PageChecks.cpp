// Checks on fetched files: zero bytes in pages, picture signatures, "not found" and
// "server busy" pages.
#include <algorithm>

#include "engine/Fetcher.h"
#include "platform/ByteString.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

constexpr size_t kTitleHeadBytes = 1024;
// A page may carry this many zero bytes (a stray one near the end) before it is cleaned.
constexpr size_t kZeroBytesTolerated = 256;

// Japanese marks as the page's own bytes may hold them: Shift-JIS, the code of the sites
// this program was made for, and UTF-8.
struct JapaneseMark {
    std::string utf8;
    std::string sjis;
};

JapaneseMark MakeMark(std::string_view utf8) {
    JapaneseMark mark{std::string(utf8), {}};
    // Our own fixed texts all have codes in CP932; an empty form simply never matches.
    if (platform::Utf8ToCp932(utf8, mark.sjis) != platform::CodepageOk) mark.sjis.clear();
    return mark;
}

bool ContainsMark(std::string_view text, const JapaneseMark& mark) {
    return text.find(mark.utf8) != std::string_view::npos ||
           (!mark.sjis.empty() && text.find(mark.sjis) != std::string_view::npos);
}

const JapaneseMark& ErrorMark() {
    static const JapaneseMark mark = MakeMark("エラー");
    return mark;
}

}  // namespace

bool StripZeroBytes(const std::string& path) {
    std::string text;
    if (!platform::ReadWholeFile(path, text)) return false;
    const size_t textLength = std::min(text.find('\0'), text.size());
    if (textLength + kZeroBytesTolerated >= text.size()) return true;
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return platform::WriteFileReplacing(path, text, platform::Durability::Fast);
}

bool IsPictureName(std::string_view path) {
    for (std::string_view ext : {".jpg", ".jpeg", ".gif", ".png", ".bmp"})
        if (platform::EndsWithI(path, ext)) return true;
    return false;
}

bool HasPictureSignature(const std::string& path) {
    std::string head;
    return platform::ReadFileHead(path, head, kPictureHeadBytes) && IsPictureSignature(head);
}

bool IsPictureSignature(std::string_view h) {
    return h.starts_with("\xFF\xD8") || h.starts_with("GIF") || h.starts_with("\x89PNG\r\n") ||
           h.starts_with("BM");
}

int PageTitle(std::string_view text, std::string& out, size_t size) {
    out.clear();
    size_t start = platform::FindI(text, "<title>");
    if (start == platform::npos) return 0;
    start += 7;
    while (start < text.size() && (text[start] == '\r' || text[start] == '\n')) ++start;
    size_t end = platform::FindI(text, "</title>", start);
    if (end == platform::npos) return 0;
    while (end > start && (text[end - 1] == '\r' || text[end - 1] == '\n')) --end;
    out.assign(text.substr(start, std::min(end - start, size)));
    return 1;
}

int IsNotFoundPage(const std::string& path) {
    std::string head;
    if (!platform::ReadFileHead(path, head, kTitleHeadBytes)) return 0;
    std::string title;
    if (!PageTitle(head, title, head.size())) return 0;
    if (title.find("404") != std::string::npos || ContainsMark(title, ErrorMark())) return 1;
    // This free host answers a missing page with its own page, under its own title.
    if (platform::ContainsI(title, "isweb")) {
        std::string whole;
        if (platform::ReadWholeFile(path, whole) && platform::ContainsI(whole, "404 Not Found")) return 1;
    }
    return 0;
}

bool IsServerBusyPage(std::string_view text) {
    static const JapaneseMark failure = MakeMark("<b>エラー発生！<br>");
    static const JapaneseMark bandwidth = MakeMark("お使いの帯域が割り当て数値を超えました");
    std::string title;
    if (PageTitle(text, title, text.size()) && platform::ContainsI(title, "503 Service Temporarily Unavailable"))
        return true;
    if (platform::ContainsI(text, "<h1>Service Unavailable</h1>")) return true;
    return ContainsMark(text, failure) && ContainsMark(text, bandwidth);
}

}  // namespace engine
