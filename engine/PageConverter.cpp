// Conversion of a saved page before its scan: links written from the server root (with
// alias correction) and absolute links into the same site become page-relative, so that the
// saved copy reaches its neighbours on disk.
#include "engine/ChosenHosts.h"
#include "engine/LinkScanner.h"

#include <algorithm>

#include "engine/LinkTable.h"
#include "engine/ModeFlags.h"
#include "engine/PageFile.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

constexpr size_t npos = std::string_view::npos;
// Where a link written in the text ends. Blanks end it too, so that a link never runs over
// a line end into the next one.
constexpr std::string_view kLinkEnd = "> )\"'\t\r\n";

// End of the host part: the first "/", "?" or "#" behind the scheme, or the end.
size_t HostEnd(std::string_view url, size_t schemeEnd) {
    const size_t end = url.find_first_of("/?#", schemeEnd);
    return end == npos ? url.size() : end;
}

size_t CountSlashes(std::string_view text) {
    size_t n = 0;
    for (char c : text) n += c == '/';
    return n;
}

std::string ArchivedPageBase(std::string_view pageUrl) {
    size_t prefix = 0;
    if (platform::StartsWithI(pageUrl, kWebArchivePrefix)) prefix = kWebArchivePrefix.size();
    else if (platform::StartsWithI(pageUrl, hosts::kWebArchivePrefixHttps)) prefix = hosts::kWebArchivePrefixHttps.size();
    if (prefix == 0) return std::string(pageUrl);
    const size_t slash = pageUrl.find('/', prefix);
    if (slash == npos) return std::string(pageUrl);
    // Archived URLs come both as ".../<stamp>/www.host/..." and ".../<stamp>/http://www.host/...".
    std::string_view own = pageUrl.substr(slash + 1);
    if (IsAbsoluteUrl(own)) return std::string(own);
    return "http:/" + std::string(pageUrl.substr(slash));
}

// Builds a new text from an old one by replacing some of its runs, left to right; the old
// text is kept as it is when nothing was replaced.
class Splice {
public:
    void Replace(const std::string& text, size_t from, size_t to, const std::string& with) {
        m_out.append(text, m_copied, from - m_copied);
        m_out += with;
        m_copied = to;
        m_changed = true;
    }
    // Puts the new text in place; false when nothing changed.
    bool Finish(std::string& text) {
        if (!m_changed) return false;
        m_out.append(text, m_copied, std::string::npos);
        text.swap(m_out);
        return true;
    }

private:
    std::string m_out;
    size_t m_copied = 0;
    bool m_changed = false;
};

// One root-link pass for the folder URL `dirUrl` (ending in "/"); its path starts at `root`.
bool RootLinkPass(std::string& text, std::string_view dirUrl, size_t root, std::string_view base) {
    const std::string_view path = dirUrl.substr(root);
    const std::string_view schemeHost = dirUrl.substr(0, root);
    Splice splice;
    size_t pos = 0;
    for (;;) {
        const size_t hit = platform::FindI(text, path, pos);
        if (hit == npos) break;
        pos = hit + path.size();
        if (hit == 0 || (text[hit - 1] != '=' && text[hit - 1] != '"' && text[hit - 1] != '\'')) continue;
        // "//host/..." names another host, not a path of this one.
        if (text.compare(hit, 2, "//") == 0) continue;
        const size_t end = text.find_first_of(kLinkEnd, hit);
        if (end == npos) break;
        pos = end;
        if (end - hit > kLinkMax - 1) continue;
        // The "/" of a self-closing tag behind a quoted value (src="a.gif"/>) is no link.
        if (end == hit + 1 && text[end] == '>' && text[hit - 1] != '=') continue;
        std::string url(schemeHost);
        url.append(text, hit, end - hit);
        if (!MakeRelative(url, base)) continue;
        splice.Replace(text, hit, end, url);
    }
    return splice.Finish(text);
}

}  // namespace

int MakeRelative(std::string& url, std::string_view pageUrl) {
    if (url.size() < 9 || pageUrl.size() < 9) return 0;
    const size_t urlScheme = SchemeEnd(url), pageScheme = SchemeEnd(pageUrl);
    if (urlScheme == npos || pageScheme == npos) return 0;
    // The same host under http and https is the same site.
    const size_t urlHost = HostEnd(url, urlScheme), pageHost = HostEnd(pageUrl, pageScheme);
    if (!platform::EqualsI(std::string_view(url).substr(urlScheme, urlHost - urlScheme),
                           pageUrl.substr(pageScheme, pageHost - pageScheme)))
        return 0;

    std::string_view page = pageHost < pageUrl.size() && pageUrl[pageHost] == '/' ? pageUrl.substr(pageHost + 1) : std::string_view();
    page = page.substr(0, page.find_first_of("?#"));
    std::string_view link = std::string_view(url).substr(urlHost);
    if (!link.empty() && link.front() == '/') link.remove_prefix(1);
    const size_t linkPathEnd = std::min(link.find_first_of("?#"), link.size());

    std::string result;
    size_t p = 0, l = 0;
    for (;;) {
        const size_t pageSlash = page.find('/', p);
        if (pageSlash == npos) {
            result.assign(link.substr(l));
            break;
        }
        size_t linkSlash = link.find('/', l);
        if (linkSlash >= linkPathEnd) linkSlash = npos;
        if (linkSlash == npos || !platform::EqualsI(page.substr(p, pageSlash - p), link.substr(l, linkSlash - l))) {
            for (size_t up = CountSlashes(page.substr(p)); up > 0; --up) result += "../";
            result.append(link.substr(l));
            break;
        }
        p = pageSlash + 1;
        l = linkSlash + 1;
    }
    // A link to the page's own folder would otherwise become empty and reload the page.
    if (result.empty()) result = "index.html";
    url = std::move(result);
    return 1;
}

std::string ConvertBase(const SaveJob& job, const std::string& pageUrl) {
    return job.Has(mode::WebArchiveSite) ? ArchivedPageBase(pageUrl) : pageUrl;
}

bool CorrectRootLinksText(std::string& text, std::string_view base) {
    const size_t scheme = SchemeEnd(base);
    if (scheme == npos) return false;
    const std::string_view basePath = base.substr(0, base.find_first_of("?#"));
    const size_t root = HostEnd(basePath, scheme);
    std::string dir = root < basePath.size() ? std::string(platform::UpToLast(basePath, '/')) : std::string(basePath) + "/";
    // The folders of the base, longest first, down to the server root.
    bool changed = false;
    for (;;) {
        changed |= RootLinkPass(text, dir, root, base);
        if (dir.size() <= root + 1) break;
        dir.pop_back();
        dir.resize(dir.rfind('/') + 1);
    }
    return changed;
}

bool CorrectPageFolderLinksText(std::string& text, std::string_view base) {
    const size_t scheme = SchemeEnd(base);
    if (scheme == npos) return false;
    const std::string_view basePath = base.substr(0, base.find_first_of("?#"));
    const size_t root = HostEnd(basePath, scheme);
    if (root >= basePath.size()) return false;
    return RootLinkPass(text, platform::UpToLast(basePath, '/'), root, base);
}

bool MakeAbsoluteLinksRelative(std::string& text, std::string_view base) {
    Splice splice;
    size_t pos = 0;
    for (;;) {
        const size_t hit = platform::FindI(text, "http", pos);
        if (hit == npos) break;
        const size_t scheme = SchemeEnd(std::string_view(text).substr(hit, 8));
        if (scheme == npos) {
            pos = hit + 4;
            continue;
        }
        const size_t end = text.find_first_of(kLinkEnd, hit + scheme);
        if (end == npos) break;  // no later link has an end either
        pos = end;
        if (end - hit > kLinkMax) continue;  // too long to be a link: left as written
        std::string url = text.substr(hit, end - hit);
        if (!MakeRelative(url, base)) continue;
        splice.Replace(text, hit, end, url);
    }
    return splice.Finish(text);
}

int MakePageLinksRelative(const std::string& pagePath, const std::string& base) {
    std::string text;
    if (!platform::ReadWholeFile(pagePath, text)) return 0;
    if (!MakeAbsoluteLinksRelative(text, base)) return 0;
    return platform::WriteFileReplacing(pagePath, text, platform::Durability::Fast) ? 1 : 0;
}


bool ConvertPageText(SaveJob& job, std::string& text, const std::string& pageUrl) {
    job.AppendLog("  コードを変換＆リンク先を調査中…");
    const std::string base = ConvertBase(job, pageUrl);
    bool changed = false;
    std::string_view mark = "50％･･･";
    if (job.Has(mode::arias)) {
        changed = CorrectRootLinksText(text, base);
        job.AppendLog("_Ad_30％･･･");
        mark = "60％･･･";
    }
    if (MakeAbsoluteLinksRelative(text, base)) changed = true;
    job.AppendLog("_Ad_" + std::string(mark));
    return changed;
}

void ConvertPage(SaveJob& job, const std::string& pagePath, const std::string& pageUrl) {
    std::string text;
    // An unreadable page is converted as an empty one: the log reads the same, nothing is written.
    if (!platform::ReadWholeFile(pagePath, text)) text.clear();
    // Read once, written once, and only when something was rewritten.
    if (ConvertPageText(job, text, pageUrl)) WritePageText(job, pagePath, text);
}

}  // namespace engine
