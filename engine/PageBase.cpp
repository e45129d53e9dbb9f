#include "engine/PageBase.h"

#include <fstream>

#include "engine/LinkScanner.h"
#include "engine/LinkText.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// Where the first <base ...> tag's "href" name starts, and its tag's end; false when none.
bool FindBaseHref(std::string_view text, size_t& hrefAt, size_t& tagEnd) {
    for (size_t pos = 0;;) {
        const size_t tag = platform::FindI(text, "<base", pos);
        if (tag == platform::npos) return false;
        pos = tag + 5;
        if (pos >= text.size() || !(IsBlank(text[pos]) || text[pos] == '>')) continue;
        tagEnd = text.find('>', pos);
        if (tagEnd == std::string_view::npos) return false;
        const size_t href = platform::FindI(text.substr(0, tagEnd), "href", pos);
        if (href == platform::npos || !IsBlank(text[href - 1])) continue;
        hrefAt = href;
        return true;
    }
}

}  // namespace

std::string BaseHrefOf(std::string_view text) {
    size_t hrefAt = 0, tagEnd = 0;
    if (!FindBaseHref(text, hrefAt, tagEnd)) return {};
    std::string_view rest = text.substr(hrefAt + 4, tagEnd - hrefAt - 4);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    if (rest.empty() || rest.front() != '=') return {};
    rest.remove_prefix(1);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
        const size_t close = rest.find(rest.front(), 1);
        rest = rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    } else {
        size_t end = 0;
        while (end < rest.size() && !IsBlank(rest[end])) ++end;
        rest = rest.substr(0, end);
    }
    return DecodeAttributeValue(rest);
}

std::string BaseHrefOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(kBaseHeadBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount() > 0 ? in.gcount() : 0));
    return BaseHrefOf(head);
}

void RebaseLinks(LinkTable& table, const std::string& base, const std::string& pageUrl) {
    const std::string origin = platform::AsciiLowerCopy(SchemeAndHost(pageUrl));
    if (origin.empty() || !IsAbsoluteUrl(base)) return;
    for (int i = 1; i <= table.Count(); ++i) {
        std::string& link = table.urls[i];
        if (link.empty() || link[0] == '#' || IsAbsoluteUrl(link) || IsOtherScheme(link)) continue;
        std::string absolute = JoinUrl(base, link);
        if (platform::AsciiLowerCopy(SchemeAndHost(absolute)) == origin) (void)MakeRelative(absolute, pageUrl);
        link = std::move(absolute);
    }
}

bool DisableBaseHref(std::string& text) {
    size_t hrefAt = 0, tagEnd = 0;
    if (!FindBaseHref(text, hrefAt, tagEnd)) return false;
    text.insert(hrefAt, "data-");
    return true;
}

}  // namespace engine
