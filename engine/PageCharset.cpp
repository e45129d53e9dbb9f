#include "engine/PageCharset.h"

#include <algorithm>

#include "platform/ByteString.h"
#include "platform/Codepage.h"

namespace engine {

namespace {

PageCharset CharsetNamed(std::string_view name) {
    if (platform::StartsWithI(name, "utf-8") || platform::StartsWithI(name, "utf8")) return PageCharset::Utf8;
    for (std::string_view sjis : {"shift_jis", "shift-jis", "sjis", "x-sjis", "windows-31j", "cp932", "ms932"})
        if (platform::StartsWithI(name, sjis)) return PageCharset::ShiftJis;
    if (platform::StartsWithI(name, "euc-jp") || platform::StartsWithI(name, "x-euc-jp")) return PageCharset::EucJp;
    return PageCharset::Unknown;
}

}  // namespace

PageCharset CharsetOfPage(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") return PageCharset::Utf8;
    // The declaration belongs in the head: the first few kilobytes.
    const std::string_view head = text.substr(0, 4096);
    for (size_t pos = 0;;) {
        const size_t hit = platform::FindI(head, "charset=", pos);
        if (hit == platform::npos) return PageCharset::Unknown;
        pos = hit + 8;
        size_t at = pos;
        while (at < head.size() && (head[at] == '"' || head[at] == '\'' || head[at] == ' ')) ++at;
        const PageCharset found = CharsetNamed(head.substr(at, 16));
        if (found != PageCharset::Unknown) return found;
    }
}

PageCharset CharsetOfContentType(std::string_view contentType) {
    const size_t hit = platform::FindI(contentType, "charset=", 0);
    if (hit == platform::npos) return PageCharset::Unknown;
    size_t at = hit + 8;
    while (at < contentType.size() && (contentType[at] == '"' || contentType[at] == '\'' || contentType[at] == ' ')) ++at;
    return CharsetNamed(contentType.substr(at, 16));
}

PageCharset CharsetOfText(std::string_view text, std::string_view contentType) {
    const std::string_view head = text.substr(0, kCharsetHeadBytes);
    if (head.substr(0, 3) == "\xEF\xBB\xBF") return PageCharset::Utf8;
    const PageCharset declared = CharsetOfContentType(contentType);
    return declared != PageCharset::Unknown ? declared : CharsetOfPage(head);
}

void LinkPathsToUtf8(LinkTable& table, PageCharset charset) {
    if (charset != PageCharset::ShiftJis && charset != PageCharset::EucJp) return;
    for (int i = 1; i <= table.Count(); ++i) {
        std::string& url = table.urls[i];
        const size_t end = std::min(url.find('?'), url.size());
        const std::string_view path = std::string_view(url).substr(0, end);
        if (platform::IsAscii(path)) continue;
        std::string utf8;
        const int ok = charset == PageCharset::ShiftJis ? platform::Cp932ToUtf8(path, utf8)
                                                        : platform::EucJpToUtf8(path, utf8);
        if (ok == platform::CodepageOk) url = utf8 + url.substr(end);
    }
}

}  // namespace engine
