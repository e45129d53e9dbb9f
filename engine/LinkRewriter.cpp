// Edits of a saved page once its links are classified. Each edit changes the page's text in
// memory; the file forms read the page once and write it back only when something changed.
#include "engine/LinkRewriter.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_set>

#include "engine/LinkKind.h"
#include "engine/PageFile.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

// Longer directory links are never matched.
constexpr size_t kDirectoryLinkMax = 254;
constexpr std::string_view kIndexName = "index.html";
// Free hosts whose pages carry their banner pictures: a page whose only foreign pictures are
// these banners gets no ".files" folder for them.
constexpr std::array<std::string_view, 3> kHostingFragments = {"geocities.", "isweb.", "fc2.com"};

std::string_view HostOf(std::string_view url) {
    const size_t scheme = url.find("://");
    if (scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
    return url.substr(0, url.find_first_of("/?#"));
}

bool OnHostingService(std::string_view url) {
    const std::string_view host = HostOf(url);
    return std::any_of(kHostingFragments.begin(), kHostingFragments.end(),
                       [host](std::string_view fragment) { return platform::ContainsI(host, fragment); });
}

// A link to a folder names its index page when that page lies in the copy.
bool ShouldFixDirectoryLink(bool novelSite, const std::string& link, const std::string& localPath,
                            const FileKnown& exists) {
    if (exists ? exists(localPath) : platform::FileExists(localPath)) return true;
    // The novel site's chapter folders are linked before their index pages are saved; only
    // links that climb out of the page's folder are left alone.
    return novelSite && (link.size() < 4 || !link.starts_with("../"));
}

// "news.html" → "news.files"; a name without an extension keeps its whole name.
std::string FilesFolderOf(const std::string& pagePath) {
    const size_t dot = pagePath.rfind('.');
    const size_t slash = pagePath.rfind('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? pagePath.substr(0, dot) : pagePath) + ".files";
}

// Two pictures of the same name from different places must not share one local file.
std::string UniqueName(std::string name, std::unordered_set<std::string>& used) {
    if (name.empty() || name == "." || name == "..") name = "file";
    if (used.insert(name).second) return name;
    const size_t dot = name.rfind('.');
    const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    for (int n = 2;; ++n) {
        std::string candidate = base + "_" + std::to_string(n) + ext;
        if (used.insert(candidate).second) return candidate;
    }
}

int DropEmbeds(LinkTable& table, const std::vector<int>& embeds) {
    for (int i : embeds) table.kinds[i] = NotFollowed;
    return 0;
}

std::vector<int> OutDomainEmbedsOf(const LinkTable& table) {
    std::vector<int> embeds;
    for (int i = 1; i <= table.Count(); ++i)
        if (table.kinds[i] == OutDomainEmbed) embeds.push_back(i);
    return embeds;
}

}  // namespace

int RewritePageLinks(SaveJob&, std::string& text, const std::string& pagePath, const std::string&, int32_t pageLevel,
                     LinkTable& table) {
    return RelocateOutDomainEmbedsText(text, pagePath, pageLevel, table) ? 1 : 0;
}

bool RelocateOutDomainEmbedsText(std::string& text, const std::string& pagePath, int32_t pageLevel,
                                 LinkTable& table) {
    const std::vector<int> embeds = OutDomainEmbedsOf(table);
    if (std::all_of(embeds.begin(), embeds.end(), [&](int i) { return OnHostingService(table.urls[i]); }))
        return DropEmbeds(table, embeds);
    const std::string folder = FilesFolderOf(pagePath);
    if (!platform::CreateFolder(folder)) return DropEmbeds(table, embeds);
    const std::string prefix = platform::NameOf(folder) + "/";

    std::vector<std::string> newLinks;
    std::unordered_set<std::string> used;
    for (int i : embeds)
        newLinks.push_back(prefix + UniqueName(std::string(platform::AfterLast(table.urls[i], '/')), used));

    // Longest URL first, so that a URL which begins a longer one does not cut that one up.
    std::vector<size_t> order(embeds.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return table.urls[embeds[a]].size() > table.urls[embeds[b]].size();
    });
    size_t replaced = 0;
    for (size_t k : order) replaced += platform::ReplaceAll(text, table.urls[embeds[k]], newLinks[k], true);

    const std::string pageFolder = platform::FolderOf(pagePath);
    for (size_t k = 0; k < embeds.size(); ++k) {
        const int i = embeds[k];
        table.paths[i] = pageFolder + newLinks[k];
        table.kinds[i] = EmbedData;
        table.levels[i] = pageLevel + 1;
    }
    return replaced > 0;
}

int RelocateOutDomainEmbeds(const std::string& pagePath, const std::string&, int32_t pageLevel, LinkTable& table) {
    const std::vector<int> embeds = OutDomainEmbedsOf(table);
    std::string text;
    if (!platform::ReadWholeFile(pagePath, text)) return DropEmbeds(table, embeds);
    if (!RelocateOutDomainEmbedsText(text, pagePath, pageLevel, table)) return 0;
    if (!platform::WriteFileReplacing(pagePath, text, platform::Durability::Fast)) return DropEmbeds(table, embeds);
    return 1;
}

bool FixDirectoryLinksText(const std::string& pageUrl, std::string& text, const std::vector<std::string>& dirUrls,
                           const std::vector<std::string>& dirPaths, const FileKnown& exists) {
    const bool novelSite = IsNovelSiteUrl(pageUrl);
    bool changed = false;
    for (size_t i = 0; i < dirUrls.size() && i < dirPaths.size(); ++i) {
        const std::string& link = dirUrls[i];
        // An empty link would match every empty attribute and string of the page.
        if (link.empty() || !ShouldFixDirectoryLink(novelSite, link, dirPaths[i], exists)) continue;
        const std::string pattern = "\"" + link.substr(0, kDirectoryLinkMax) + "\"";
        for (size_t at = platform::FindI(text, pattern); at != platform::npos;
             at = platform::FindI(text, pattern, at + pattern.size() + kIndexName.size())) {
            text.insert(at + pattern.size() - 1, kIndexName);
            changed = true;
        }
    }
    return changed;
}

int FixDirectoryLinks(const std::string& pageUrl, const std::string& pagePath,
                      const std::vector<std::string>& dirUrls, const std::vector<std::string>& dirPaths) {
    std::string text;
    if (!platform::ReadWholeFile(pagePath, text)) return 0;
    if (!FixDirectoryLinksText(pageUrl, text, dirUrls, dirPaths)) return 1;
    return platform::WriteFileReplacing(pagePath, text, platform::Durability::Fast) ? 1 : 0;
}

bool FixDynamicLinksText(std::string& text, const std::vector<std::string>& originals,
                         const std::vector<std::string>& newNames) {
    bool changed = false;
    for (size_t i = 0; i < originals.size() && i < newNames.size(); ++i) {
        const size_t at = platform::FindI(text, originals[i]);
        if (originals[i].empty() || at == platform::npos) continue;
        text.replace(at, originals[i].size(), newNames[i]);
        changed = true;
    }
    return changed;
}

void FixDynamicLinks(SaveJob& job, const std::string& pagePath, const std::vector<std::string>& originals,
                     const std::vector<std::string>& newNames) {
    if (!job.Has(mode::FollowDynamicPages)) return;
    std::string text;
    if (!platform::ReadWholeFile(pagePath, text)) return;
    if (FixDynamicLinksText(text, originals, newNames)) WritePageText(job, pagePath, text);
}

}  // namespace engine
