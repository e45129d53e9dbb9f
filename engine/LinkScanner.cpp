// The textual link scanner: it searches the page for a fixed list of attribute names and for
// style-sheet "url(" forms and takes whatever value follows. No HTML is parsed.
#include "engine/LinkScanner.h"

#include <algorithm>
#include <unordered_set>

#include "engine/LinkKind.h"
#include "engine/LinkText.h"
#include "engine/ModeFlags.h"
#include "engine/SafeLocalPath.h"
#include "engine/PageFile.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

using platform::FindI;
using platform::StartsWithI;

namespace {

struct Pass {
    std::string_view attribute;
    bool isScript;
};

constexpr Pass kPasses[] = {
    {"href=", false},   {"src=", false},        {"background=", false},
    {"onClick=", true}, {"onDblClick=", true},  {"window.open(", true},
    {"value=", false},  {".load(", true},       {"@import ", true},
    // Pictures and media of today's pages; "src=" above also finds "data-src=".
    {"srcset=", false}, {"poster=", false},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// A line feed without its carriage return gets one.
bool NormaliseLineEnds(std::string& text) {
    const auto bareAt = [&text](size_t i) { return i == 0 || text[i - 1] != '\r'; };
    size_t first = text.find('\n');
    while (first != std::string::npos && !bareAt(first)) first = text.find('\n', first + 1);
    if (first == std::string::npos) return false;
    // Room for a carriage return at every line feed from the first bare one on.
    std::string out;
    size_t feeds = 0;  // counted line by line: a byte-wise count cost as much as the copy
    for (size_t i = first; i != std::string::npos; i = text.find('\n', i + 1)) ++feeds;
    out.reserve(text.size() + feeds);
    size_t copied = 0;
    for (size_t i = first; i != std::string::npos; i = text.find('\n', i + 1)) {
        if (!bareAt(i)) continue;
        out.append(text, copied, i - copied);
        out += '\r';
        copied = i;
    }
    out.append(text, copied, std::string::npos);
    text.swap(out);
    return true;
}

// " = " becomes "=" and then " =" becomes "=", repeated until none is left: the blanks in
// front of an equals sign go, and as many behind it as there were in front.
// `out` receives the text so mended.
void EqualsNormalised(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t equals = text.find('=', i);
        out.append(text, i, equals == std::string::npos ? std::string::npos : equals - i);
        if (equals == std::string::npos) break;
        size_t before = 0;
        while (!out.empty() && out.back() == ' ') {
            out.pop_back();
            ++before;
        }
        out += '=';
        i = equals + 1;
        for (size_t after = 0; after < before && i < text.size() && text[i] == ' '; ++after) ++i;
    }
}

bool NormaliseEquals(std::string& text) {
    if (text.find(" =") == std::string::npos) return false;
    std::string out;
    EqualsNormalised(text, out);
    text.swap(out);
    return true;
}

bool NormalisePageText(std::string& text) {
    const bool lines = NormaliseLineEnds(text);
    const bool equals = NormaliseEquals(text);
    return lines || equals;
}

// The table's links so far, in lower case, so that a repeat costs one hash look-up.
class StoredLinks {
public:
    explicit StoredLinks(const LinkTable& table) {
        for (int i = 1; i <= table.Count(); ++i) m_seen.insert(platform::AsciiLowerCopy(table.urls[i]));
    }
    // Steps 5 to 7 of a value: empty, refused or repeated values are dropped. The value is
    // taken as HTML means it (references decoded, blanks trimmed); the table keeps the text
    // as written too, for the rewrite of the page.
    void Offer(std::string written, LinkTable& table, bool onlyByName = false) {
        std::string value = DecodeAttributeValue(written);
        if (value.empty() || value.size() > kLinkMax || !CleanLink(value) || value.empty()) return;
        std::string lower = platform::AsciiLowerCopy(value);
        if (table.Full()) {
            // Counted for the log, once each, and never one the table holds.
            if (!m_seen.count(lower)) table.leftOnline.insert(std::move(lower));
            return;
        }
        if (!m_seen.insert(std::move(lower)).second) return;
        table.Add(std::move(value), std::move(written), onlyByName);
    }

private:
    std::unordered_set<std::string> m_seen;
};

void RemoveEscapedQuotes(std::string& value) {
    if (value.find('\\') == std::string::npos) return;
    platform::ReplaceAll(value, "\\\"", "");
    platform::ReplaceAll(value, "\\'", "");
}

// Where attribute values end. A mark that is missing once is missing for every later value
// too, and a mark found serves every value that starts before it, so a page full of
// unclosed values is still read in one sweep.
class ValueEnds {
public:
    enum Mark { Quote, Apostrophe, QuotEntity, Bare, kMarks };
    explicit ValueEnds(std::string_view text) : m_text(text) {}

    size_t Find(Mark mark, size_t from) {
        Cached& c = m_cache[mark];
        if (c.valid && from >= c.from && from <= c.at) return c.at;  // c.at may be npos
        c = {true, from, Search(mark, from)};
        return c.at;
    }

private:
    struct Cached {
        bool valid = false;
        size_t from = 0;
        size_t at = platform::npos;
    };
    size_t Search(Mark mark, size_t from) const {
        switch (mark) {
        case Quote: return m_text.find('"', from);
        case Apostrophe: return m_text.find('\'', from);
        case QuotEntity: return FindI(m_text, "&quot", from);
        default: break;
        }
        // An unquoted value ends at ">" or at any blank (a line end included).
        for (size_t i = from; i < m_text.size(); ++i)
            if (m_text[i] == '>' || IsBlank(m_text[i])) return i;
        return platform::npos;
    }

    std::string_view m_text;
    Cached m_cache[kMarks];
};

int NextIndex(const LinkTable& table) { return table.Count() + 1; }

int AttributeValues(std::string_view text, std::string_view attribute, bool isScript, LinkTable& table,
                    StoredLinks& stored);
int CssUrls(std::string_view text, LinkTable& table, StoredLinks& stored);
int RefreshTargets(std::string_view text, LinkTable& table, StoredLinks& stored);

// The passes, each adding to the table the one before left. They share one set of the links
// stored so far: a page with many links would otherwise have it built again for every pass.
int RunPasses(std::string_view text, LinkTable& table) {
    StoredLinks stored(table);
    for (const Pass& pass : kPasses) (void)AttributeValues(text, pass.attribute, pass.isScript, table, stored);
    (void)CssUrls(text, table, stored);
    return RefreshTargets(text, table, stored);
}

}  // namespace

int ExtractLinks(std::string& text, LinkTable& table) {
    (void)NormalisePageText(text);
    return RunPasses(text, table);
}

int ExtractAttribute(std::string_view text, std::string_view attribute, bool isScript, LinkTable& table, int) {
    StoredLinks stored(table);
    return AttributeValues(text, attribute, isScript, table, stored);
}

namespace {

int AttributeValues(std::string_view text, std::string_view attribute, bool isScript, LinkTable& table,
                    StoredLinks& stored) {
    ValueEnds ends(text);
    size_t pos = 0;
    for (;;) {
        const size_t hit = FindI(text, attribute, pos);
        if (hit == platform::npos) break;
        const size_t begin = hit + attribute.size();
        size_t valueAt = begin, valueEnd = platform::npos, next = begin;
        if (begin < text.size() && (text[begin] == '"' || text[begin] == '\'')) {
            valueAt = begin + 1;
            valueEnd = ends.Find(text[begin] == '"' ? ValueEnds::Quote : ValueEnds::Apostrophe, valueAt);
            next = valueEnd + 1;
        } else if (StartsWithI(text.substr(begin), "&quot;")) {
            valueAt = begin + 6;
            valueEnd = ends.Find(ValueEnds::QuotEntity, valueAt);
            next = valueEnd + 5;
        } else {
            valueEnd = next = ends.Find(ValueEnds::Bare, begin);
        }
        if (valueEnd == platform::npos) {
            pos = begin;
            continue;
        }
        pos = next;
        const std::string_view found = text.substr(valueAt, valueEnd - valueAt);
        if (found.size() > kLinkMax && !isScript) continue;  // a cut value would be another link
        std::string value(found.substr(0, kLinkMax));
        if (isScript || platform::ContainsI(value, "javascript:")) {
            std::string url;
            if (UrlFromScript(value, url)) {
                value = std::move(url);
            } else {
                // In window.open('x'), .load("x") and @import "x" the quotes that ended the
                // value were the string's own: the value is the address itself.
                const bool quotedArgument = valueAt != begin && (attribute.back() == '(' || attribute == "@import ");
                if (!quotedArgument || StartsWithI(value, "javascript:")) continue;
            }
        }
        RemoveEscapedQuotes(value);
        if (attribute == "srcset=") {
            for (std::string& candidate : SrcsetUrls(value)) stored.Offer(std::move(candidate), table);
        } else {
            stored.Offer(std::move(value), table, attribute == "value=");
        }
    }
    return NextIndex(table);
}

}  // namespace

std::vector<std::string> SrcsetUrls(std::string_view value) {
    // "a.png 1x, b.png 2x": each candidate is a URL and an optional width or density.
    std::vector<std::string> urls;
    size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && (IsBlank(value[i]) || value[i] == ',')) ++i;
        const size_t begin = i;
        while (i < value.size() && !IsBlank(value[i])) ++i;
        std::string_view url = value.substr(begin, i - begin);
        // A comma that ends the URL itself belongs to the list.
        bool listComma = false;
        while (!url.empty() && url.back() == ',') {
            url.remove_suffix(1);
            listComma = true;
        }
        if (!url.empty()) urls.emplace_back(url);
        if (!listComma)
            while (i < value.size() && value[i] != ',') ++i;
    }
    return urls;
}

int ExtractRefreshTargets(std::string_view text, LinkTable& table) {
    StoredLinks stored(table);
    return RefreshTargets(text, table, stored);
}

int ExtractCssUrls(std::string_view text, LinkTable& table, int) {
    StoredLinks stored(table);
    return CssUrls(text, table, stored);
}

namespace {

int RefreshTargets(std::string_view text, LinkTable& table, StoredLinks& stored) {
    // <meta http-equiv="refresh" content="5; url=next.html">
    for (size_t pos = 0;;) {
        const size_t hit = FindI(text, "refresh", pos);
        if (hit == platform::npos) break;
        pos = hit + 7;
        const size_t tagStart = text.rfind('<', hit);
        const size_t tagEnd = text.find('>', hit);
        if (tagStart == std::string_view::npos || tagEnd == std::string_view::npos) continue;
        const std::string_view tag = text.substr(tagStart, tagEnd - tagStart);
        if (!StartsWithI(tag, "<meta") || FindI(tag, "http-equiv") == platform::npos) continue;
        const size_t url = FindI(tag, "url=");
        if (url == platform::npos) continue;
        std::string_view value = tag.substr(url + 4);
        if (!value.empty() && (value.front() == '\'' || value.front() == '"') && value.size() > 1) {
            const size_t close = value.find(value.front(), 1);
            value = value.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        }
        value = value.substr(0, value.find_first_of("\"'>"));
        stored.Offer(std::string(value), table);
    }
    return NextIndex(table);
}

int CssUrls(std::string_view text, LinkTable& table, StoredLinks& stored) {
    size_t pos = 0;
    for (;;) {
        const size_t hit = FindI(text, "url(", pos);
        if (hit == platform::npos) break;
        const size_t close = text.find(')', hit + 4);
        if (close == std::string_view::npos) break;
        pos = close + 1;
        std::string_view value = text.substr(hit + 4, close - hit - 4);
        while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
        while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
        if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
            value.remove_prefix(1);
            if (!value.empty()) value.remove_suffix(1);
        }
        stored.Offer(std::string(value), table);
    }
    return NextIndex(table);
}

}  // namespace

int CleanLink(std::string& link) {
    if (StartsWithI(link, "file:/")) return 0;
    if (link.size() >= 2 && link[1] == ':' && platform::AsciiLower(link[0]) >= 'a' && platform::AsciiLower(link[0]) <= 'z')
        return 0;
    if (ContainsReservedDeviceName(link)) return 0;
    if (size_t p = FindI(link, ".html#"); p != platform::npos) link.resize(p + 5);
    else if (size_t q = FindI(link, ".htm#"); q != platform::npos) link.resize(q + 4);
    else if (size_t h = link.find('#'); h != std::string::npos && h > 0 && link.find('?') > h) {
        // A page of a site with clean URLs linked at an anchor ("os#os.getcwd") is the page
        // "os", as "os.html#os.getcwd" is "os.html".
        const std::string_view before(link.data(), h);
        if (LinkKindOfName(before.substr(before.rfind('/') + 1)) == AnswerDecides) link.resize(h);
    }
    if (link.compare(0, 2, "./") == 0) link.erase(0, 2);
    return 1;
}

int UrlFromScript(std::string_view text, std::string& value) {
    for (char quote : {'\'', '"'}) {
        const size_t open = text.find(quote);
        if (open == std::string_view::npos) continue;
        const size_t close = text.find(quote, open + 1);
        if (close == std::string_view::npos) continue;
        std::string_view found = text.substr(open + 1, close - open - 1);
        if (StartsWithI(found, "javascript:")) return 0;
        value.assign(found);
        return 1;
    }
    return 0;
}

int ScanLinksText(std::string& text, LinkTable& table, bool& lineEndsChanged) {
    // The saved page keeps its own text but for its line ends: the blanks around "=" are
    // taken out of a copy for the scan alone, so that "1 + 1 = 2" and a script's strings
    // stay as the site wrote them.
    lineEndsChanged = NormaliseLineEnds(text);
    if (text.find(" =") == std::string::npos) return RunPasses(text, table) - 1;
    // Made from the text in one go: a copy mended in place would hold three texts at once,
    // which on a large script (a site's search index) is the save's peak of memory.
    std::string scanned;
    EqualsNormalised(text, scanned);
    return RunPasses(scanned, table) - 1;
}

int ScanLinks(SaveJob& job, const std::string& pagePath, LinkTable& table) {
    std::string text;
    if (!platform::ReadWholeFile(pagePath, text)) return 0;
    bool lineEndsChanged = false;
    const int n = ScanLinksText(text, table, lineEndsChanged);
    if (lineEndsChanged) WritePageText(job, pagePath, text);
    return n;
}

int ClassifyLink(SaveJob& job, const std::string& pagePath, const std::string& pageUrl, int32_t pageLevel,
                 std::string& outPath, std::string& link, int32_t& outKind, int32_t& outLevel) {
    const std::string found = link;
    const std::string dataFolder = job.LogFolder();
    std::string why;
    int result;
    if (dataFolder.empty()) {
        // Without a data folder there is nothing a local path could safely be bound to.
        outPath.clear();
        outKind = NotFollowed;
        outLevel = pageLevel;
        result = LinkNotTaken;
        why = PathProblemText(PathProblem::Outside);
    } else {
        result = ResolveLinkInside(dataFolder, pagePath, pageUrl, pageLevel, job.LankLimit(), outPath, link, outKind,
                                   outLevel, &why, &job.MadeFolders());
    }
    if (result == LinkTaken && !IsInsideFolder(outPath, dataFolder)) {
        outPath.clear();
        outKind = NotFollowed;
        result = LinkNotTaken;
        why = PathProblemText(PathProblem::Outside);
    }
    if (!why.empty()) job.AppendLog("  リンク先を保存しません（" + why + "）: " + found);

    if (outKind == OutDomainPage) {
        // A query URL that already carries its local name ("__php__") is as dynamic as before.
        const bool dynamic = IsDynamicName(link) || link.find("__php__") != std::string::npos;
        if (job.Has(mode::OutDomainAll | mode::OutDomainSelect) && !dynamic)
            job.AddOutDomainLink(link, pagePath);
        outKind = NotFollowed;
        result = LinkNotTaken;
    }
    return result;
}

}  // namespace engine
