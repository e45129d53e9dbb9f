// The last edit of a saved page: every link in it either reaches a file of the copy or the
// file's address online, as the page's reader would expect of a copy.
#include <algorithm>
#include <unordered_map>

#include "engine/LinkKind.h"
#include "engine/LinkRewriter.h"
#include "engine/LinkScanner.h"
#include "engine/LinkText.h"
#include "engine/PageBase.h"
#include "engine/SafeLocalPath.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A value found in the text, [begin, end).
struct Span {
    size_t begin;
    size_t end;
};

// The value behind `at` ("=" and blanks may come first); false when there is none.
bool ValueAfter(std::string_view text, size_t at, Span& out) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at >= text.size() || text[at] != '=') return false;
    ++at;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at >= text.size()) return false;
    if (text[at] == '"' || text[at] == '\'') {
        const size_t close = text.find(text[at], at + 1);
        if (close == std::string_view::npos) return false;
        out = {at + 1, close};
        return true;
    }
    if (platform::StartsWithI(text.substr(at), "&quot;")) {
        const size_t close = platform::FindI(text, "&quot;", at + 6);
        if (close == platform::npos) return false;
        out = {at + 6, close};
        return true;
    }
    if (text[at] == '<' || text[at] == '&') return false;
    size_t end = at;
    while (end < text.size() && text[end] != '>' && !IsBlank(text[end])) ++end;
    out = {at, end};
    return end > at;
}

// The spans of a srcset value's candidate URLs.
void SrcsetSpans(std::string_view text, Span value, std::vector<Span>& out) {
    size_t i = value.begin;
    while (i < value.end) {
        while (i < value.end && (IsBlank(text[i]) || text[i] == ',')) ++i;
        const size_t begin = i;
        while (i < value.end && !IsBlank(text[i])) ++i;
        size_t end = i;
        bool listComma = false;
        while (end > begin && text[end - 1] == ',') {
            --end;
            listComma = true;
        }
        if (end > begin) out.push_back({begin, end});
        if (!listComma)
            while (i < value.end && text[i] != ',') ++i;
    }
}

// Every link value of the page that a reader's browser follows or loads.
std::vector<Span> LinkValues(std::string_view text) {
    std::vector<Span> spans;
    for (std::string_view name : {"href", "src", "background", "poster", "srcset"}) {
        for (size_t pos = 0;;) {
            const size_t hit = platform::FindI(text, name, pos);
            if (hit == platform::npos) break;
            pos = hit + name.size();
            // An attribute follows a blank inside its tag ("-" for data-src); "href=" in a page's
            // text, such as a code sample, is no link of the page.
            if (hit == 0 || IsNameChar(text[hit - 1]) || std::string_view(" \t\r\n\f\"'-/").find(text[hit - 1]) == std::string_view::npos)
                continue;
            Span value{};
            if (!ValueAfter(text, pos, value)) continue;
            if (name == "srcset") SrcsetSpans(text, value, spans);
            else spans.push_back(value);
            pos = value.end;
        }
    }
    for (size_t pos = 0;;) {
        const size_t hit = platform::FindI(text, "url(", pos);
        if (hit == platform::npos) break;
        size_t at = hit + 4;
        pos = at;
        while (at < text.size() && IsBlank(text[at])) ++at;
        const char quote = at < text.size() && (text[at] == '"' || text[at] == '\'') ? text[at] : 0;
        if (quote) ++at;
        const size_t end = quote ? text.find(quote, at) : text.find(')', at);
        if (end == std::string_view::npos) continue;
        size_t last = end;
        if (!quote)
            while (last > at && IsBlank(text[last - 1])) --last;
        if (last > at) spans.push_back({at, last});
        pos = end;
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    return spans;
}

bool IsTakenKind(int32_t kind) {
    return kind == EmbedData || kind == LinkPage || kind == CssData || kind == ScriptData || kind == PlayList ||
           kind == AnswerDecides;
}

class CopyLinks {
public:
    CopyLinks(const std::string& pagePath, const std::string& pageUrl, std::string_view dataFolder,
              const LinkTable& table, const WillBeSaved& willBeSaved, const FileKnown& exists)
        : m_pagePath(pagePath), m_pageUrl(pageUrl), m_dataFolder(dataFolder), m_table(table),
          m_willBeSaved(willBeSaved), m_exists(exists) {
        for (int i = table.Count(); i >= 1; --i) {
            m_byText[table.found[i]] = i;
            if (!table.paths[i].empty()) m_byLocal[table.paths[i]] = i;
            if (IsAbsoluteUrl(table.urls[i])) m_byUrl[platform::AsciiLowerCopy(table.urls[i])] = i;
        }
    }

    // The text that replaces a value as written; false when it stays.
    bool Replacement(std::string_view written, std::string& out) const {
        const std::string value = DecodeAttributeValue(written);
        if (value.empty() || value[0] == '#' || IsAbsoluteUrl(value) || IsOtherScheme(value)) return false;
        if (value.size() >= 2 && value[1] == ':') return false;  // a drive, dropped by the scanner too
        const size_t hash = value.find('#');
        const std::string anchor = hash == std::string::npos ? "" : value.substr(hash);
        const std::string local = LocalTarget(value);

        // The link as written, or another spelling of the same address (another anchor, say).
        int i = 0;
        if (auto found = m_byText.find(written); found != m_byText.end()) i = found->second;
        else if (auto same = m_byText.find(value); same != m_byText.end()) i = same->second;
        else i = SlotByUrl(value.substr(0, hash));
        if (i > 0) {
            const std::string& path = m_table.paths[i];
            // A page still waiting in the run's list needs no look at the disk.
            if (IsTakenKind(m_table.kinds[i]) && !path.empty() && (m_willBeSaved(m_table.urls[i]) || Exists(path))) {
                if (local == path) return false;
                out = LinkTo(path) + anchor;
                return true;
            }
        }
        if (!local.empty() && Exists(local)) return false;
        // A file embedded from another site is linked beside the page; when its fetch
        // failed, its own address takes the link's place.
        if (const auto relocated = m_byLocal.find(local);
            relocated != m_byLocal.end() && IsAbsoluteUrl(m_table.urls[relocated->second])) {
            out = m_table.urls[relocated->second];
            return true;
        }
        const std::string online = JoinUrl(m_pageUrl, value);
        if (!IsAbsoluteUrl(online)) return false;
        out = EncodeRequestPath(online);
        return true;
    }

private:
    // Asked once per file: nothing is saved while the page is rewritten, and a page may link
    // one missing file at a thousand anchors.
    bool Exists(const std::string& path) const {
        const auto [known, inserted] = m_fileKnown.try_emplace(path, false);
        if (inserted) known->second = m_exists ? m_exists(path) : platform::FileExists(path);
        return known->second;
    }

    // The slot of the table's link to the address that `link` (without its anchor) names, or 0.
    // A page links the same file at many anchors, so each spelling is worked out once.
    int SlotByUrl(const std::string& link) const {
        if (m_byUrl.empty()) return 0;
        const auto [known, inserted] = m_slotByLink.try_emplace(link, 0);
        if (!inserted) return known->second;
        if (const auto url = m_byUrl.find(platform::AsciiLowerCopy(EncodeRequestPath(JoinUrl(m_pageUrl, link))));
            url != m_byUrl.end())
            known->second = url->second;
        return known->second;
    }

    // The page's link to the file of the copy at `path`; worked out once per file.
    const std::string& LinkTo(const std::string& path) const {
        const auto [known, inserted] = m_linkTo.try_emplace(path);
        if (inserted) known->second = EncodeLocalLink(RelativeLocalLink(m_pagePath, path));
        return known->second;
    }

    // The local file the value names when the saved page is opened from disk ("" when none).
    std::string LocalTarget(const std::string& value) const {
        std::string path = value.substr(0, value.find_first_of("?#"));
        std::string decoded;
        if (path.empty() || path[0] == '/' || !DecodePercentName(path, decoded)) return {};
        const std::string target = NormaliseLocalPath(platform::FolderOf(m_pagePath) + decoded);
        if (!IsInsideFolder(target, m_dataFolder)) return {};
        return target;
    }

    const std::string& m_pagePath;
    const std::string& m_pageUrl;
    std::string_view m_dataFolder;
    const LinkTable& m_table;
    const WillBeSaved& m_willBeSaved;
    const FileKnown& m_exists;
    // Keyed by the table's own texts, which outlive the rewrite: a page with thousands of
    // links would otherwise copy each of them for its keys.
    std::unordered_map<std::string_view, int> m_byText;
    std::unordered_map<std::string_view, int> m_byLocal;
    std::unordered_map<std::string, int> m_byUrl;
    mutable std::unordered_map<std::string, bool> m_fileKnown;
    mutable std::unordered_map<std::string, int> m_slotByLink;
    mutable std::unordered_map<std::string, std::string> m_linkTo;
};

}  // namespace

bool PointLinksAtCopyText(std::string& text, const std::string& pagePath, const std::string& pageUrl,
                          std::string_view dataFolder, const LinkTable& table, const WillBeSaved& willBeSaved,
                          const FileKnown& exists) {
    const CopyLinks links(pagePath, pageUrl, dataFolder, table, willBeSaved, exists);
    std::string out;
    size_t copied = 0;
    bool changed = false;
    std::string with;
    for (const Span& span : LinkValues(text)) {
        if (span.begin < copied) continue;
        if (!links.Replacement(std::string_view(text).substr(span.begin, span.end - span.begin), with)) continue;
        // Sized once: a big page is then held twice at most, not three times while the copy grows.
        if (!changed) out.reserve(text.size() + text.size() / 8);
        out.append(text, copied, span.begin - copied);
        out += with;
        copied = span.end;
        changed = true;
    }
    if (!changed) return false;
    out.append(text, copied, std::string::npos);
    text.swap(out);
    return true;
}

namespace {

// A link of a saved page that points online at its own site and would lead to a file of the
// copy once that file is saved: its span, the file and the anchor to keep.
struct RelinkCandidate {
    Span span;
    std::string target;
    std::string anchor;
    std::string page;  // for a name that does not say what it is: its name as a saved page

    // The file of the copy the link leads to ("" when none is saved yet); `saved` answers
    // whether a file lies at a path.
    template <typename IsSaved>
    const std::string& Saved(IsSaved saved) const {
        static const std::string none;
        if (saved(target)) return target;
        return !page.empty() && saved(page) ? page : none;
    }
};

// What the walk below does after a candidate.
enum class Next { Skip, Used, Stop };

// Calls `take` for each such link in the page's order. A span that overlaps one used before
// is passed over; Stop ends the walk.
template <typename Take>
void ForEachRelinkCandidate(std::string_view text, const std::string& pagePath, const std::string& pageUrl,
                            std::string_view dataFolder, Take take) {
    const std::string origin = platform::AsciiLowerCopy(SchemeAndHost(pageUrl));
    if (origin.empty()) return;
    size_t after = 0;
    for (const Span& span : LinkValues(text)) {
        if (span.begin < after) continue;
        const std::string value = DecodeAttributeValue(text.substr(span.begin, span.end - span.begin));
        if (!IsAbsoluteUrl(value) || platform::AsciiLowerCopy(SchemeAndHost(value)) != origin) continue;
        const size_t hash = value.find('#');
        std::string link = value.substr(0, hash);
        if (link.find('?') != std::string::npos || !MakeRelative(link, pageUrl)) continue;
        std::string decoded;
        if (link.empty() || link[0] == '/' || !DecodePercentName(link, decoded)) continue;
        if (!decoded.empty() && decoded.back() == '/') decoded += "index.html";
        RelinkCandidate candidate{span, NormaliseLocalPath(platform::FolderOf(pagePath) + decoded),
                                  hash == std::string::npos ? std::string() : value.substr(hash), {}};
        if (!IsInsideFolder(candidate.target, dataFolder)) continue;
        if (LinkKindOfName(link) == AnswerDecides) candidate.page = candidate.target + ".html";
        const Next next = take(candidate);
        if (next == Next::Stop) return;
        if (next == Next::Used) after = span.end;
    }
}

}  // namespace

bool RelinkTargets(std::string_view text, const std::string& pagePath, const std::string& pageUrl,
                   std::string_view dataFolder, size_t most, std::vector<std::string>& targets) {
    targets.clear();
    bool complete = true;
    ForEachRelinkCandidate(text, pagePath, pageUrl, dataFolder, [&](const RelinkCandidate& c) {
        for (const std::string* t : {&c.target, &c.page}) {
            if (t->empty()) continue;
            if (targets.size() == most) {
                complete = false;
                targets.clear();
                return Next::Stop;
            }
            targets.push_back(*t);
        }
        return Next::Skip;
    });
    return complete;
}

int RelinkToSavedFiles(const std::string& pagePath, const std::string& pageUrl, std::string_view dataFolder) {
    std::string text;
    if (!platform::ReadWholeFile(pagePath, text)) return 0;
    std::string out;
    size_t copied = 0;
    // Each file is looked for once: a page may link the same missing file at many anchors.
    std::unordered_map<std::string, bool> found;
    const auto isSaved = [&found](const std::string& path) {
        const auto [known, inserted] = found.try_emplace(path, false);
        if (inserted) known->second = platform::IsRegularFile(path);
        return known->second;
    };
    ForEachRelinkCandidate(text, pagePath, pageUrl, dataFolder, [&](const RelinkCandidate& c) {
        const std::string& saved = c.Saved(isSaved);
        if (saved.empty()) return Next::Skip;
        out.append(text, copied, c.span.begin - copied);
        out += EncodeLocalLink(RelativeLocalLink(pagePath, saved));
        out += c.anchor;
        copied = c.span.end;
        return Next::Used;
    });
    if (copied == 0) return 0;
    out.append(text, copied, std::string::npos);
    return platform::WriteFileReplacing(pagePath, out, platform::Durability::Fast) ? 1 : 0;
}

}  // namespace engine
