// The pages of other sites that the saved site links to: each is saved once, as a single
// page with its embedded files, into the link folder, and listed in the list document.
#include "engine/OutDomainList.h"

#include <algorithm>
#include <map>

#include "engine/FailureReason.h"
#include "engine/Fetcher.h"
#include "engine/LinkScanner.h"
#include "engine/LinkTable.h"
#include "engine/OutDomainDocument.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

constexpr size_t kTitleBytes = 512;

// The last component of the URL's path, without query or fragment; "index.html" for a
// folder. A name that could leave the folder is not a name.
std::string LastComponent(const std::string& url) {
    std::string path = url.substr(0, url.find_first_of("?#"));
    const size_t scheme = SchemeEnd(path);
    const size_t hostEnd = path.find('/', scheme == std::string::npos ? 0 : scheme);
    if (hostEnd == std::string::npos) return "index.html";
    std::string name(platform::AfterLast(path.substr(hostEnd), '/'));
    if (name.empty() || name == "." || name == ".." || name.find('\\') != std::string::npos) return "index.html";
    return name;
}

std::string FreeName(const std::string& folder, const std::string& name) {
    if (!platform::FileExists(folder + name)) return name;
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    for (unsigned n = 1;; ++n) {
        std::string candidate = stem + "(" + std::to_string(n) + ")" + (ext.empty() ? "" : "." + ext);
        if (!platform::FileExists(folder + candidate)) return candidate;
    }
}

bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// The saved page's title in UTF-8 (pages of other sites come in UTF-8 or Shift-JIS).
std::string SavedTitle(const std::string& path) {
    std::string head, title, utf8;
    if (!platform::ReadFileHead(path, head, 64 * 1024) || !PageTitle(head, title, kTitleBytes)) return {};
    if (IsUtf8(title)) return title;
    if (platform::Cp932ToUtf8(title, utf8) == platform::CodepageOk) return utf8;
    return {};
}

// A link of a page as a URL: absolute, from the root, or relative to the page's folder.
std::string ResolveAgainst(const std::string& pageUrl, const std::string& link) {
    if (IsAbsoluteUrl(link)) return link;
    const size_t scheme = SchemeEnd(pageUrl);
    if (scheme == std::string::npos) return {};
    if (link.rfind("//", 0) == 0) return pageUrl.substr(0, pageUrl.find("//")) + link;
    const size_t hostEnd = pageUrl.find('/', scheme);
    const std::string origin = hostEnd == std::string::npos ? pageUrl : pageUrl.substr(0, hostEnd);
    std::string path = link.front() == '/' ? link
                                           : (hostEnd == std::string::npos ? "/" : std::string(platform::UpToLast(
                                                                                       pageUrl.substr(hostEnd), '/'))) +
                                                 link;
    // Dot segments.
    std::vector<std::string> parts;
    size_t b = 1;
    while (b <= path.size()) {
        size_t e = path.find('/', b);
        if (e == std::string::npos) e = path.size();
        const std::string seg = path.substr(b, e - b);
        if (seg == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (seg != ".") {
            parts.push_back(seg);
        }
        b = e + 1;
    }
    std::string out = origin;
    for (const std::string& p : parts) out += "/" + p;
    return out;
}

struct ListedLink {
    std::string url;
    std::vector<std::string> sources;
};

// The links in list order, each once, with every page that links to it.
std::vector<ListedLink> GroupLinks(const std::vector<std::string>& urls, const std::vector<std::string>& paths) {
    std::vector<ListedLink> links;
    std::map<std::string, size_t> at;
    for (size_t i = 0; i < urls.size(); ++i) {
        auto [it, added] = at.emplace(urls[i], links.size());
        if (added) links.push_back({urls[i], {}});
        ListedLink& link = links[it->second];
        const std::string source = i < paths.size() ? paths[i] : std::string();
        if (!source.empty() && std::find(link.sources.begin(), link.sources.end(), source) == link.sources.end())
            link.sources.push_back(source);
    }
    return links;
}

}  // namespace

int SaveOutDomainPage(SaveJob& job, const std::string& url, const std::string& path) {
    if (platform::FileExists(path)) return 0;
    if (FetchUrlToFile(job, url, path) != 1) return 0;
    std::string scan;
    if (!platform::ReadWholeFile(path, scan)) return 1;
    LinkTable table;
    table.capacity = 256;
    (void)ExtractLinks(scan, table);
    const std::string stem = platform::NameOf(path).substr(0, platform::NameOf(path).rfind('.'));
    const std::string folderName = stem + ".files";
    const std::string folder = platform::FolderOf(path) + folderName + "/";
    std::map<std::string, std::string> localOf;
    for (int i = 1; i <= table.Count() && !job.StopRequested(); ++i) {
        const std::string& link = table.urls[i];
        const int32_t kind = LinkKindOfName(link);
        if (link.empty() || localOf.count(link) || (kind != 10 && kind != 40 && kind != 60)) continue;
        const std::string target = ResolveAgainst(url, link);
        if (target.empty() || !platform::CreateFolder(folder)) continue;
        const std::string name = FreeName(folder, LastComponent(target));
        if (FetchUrlToFile(job, target, folder + name) == 1) localOf[link] = folderName + "/" + name;
    }
    const auto localise = [&localOf](std::string& text) {
        bool changed = false;
        for (const auto& [link, local] : localOf)
            for (const char quote : {'"', '\''})
                changed |= platform::ReplaceAll(text, quote + link + quote, quote + local + quote) > 0;
        return changed;
    };
    // A page whose links still lead away is no offline copy: the list must not offer it as one.
    if (platform::RewriteFileInPlace(path, localise, platform::Durability::Fast) == platform::RewriteNotWritten) {
        job.AppendLog("  ！" + platform::NameOf(path) + "を書き込めませんでした。(" +
                      FailureText(platform::LastFileFailure()) + ")");
        return 0;
    }
    return 1;
}

void BuildOutDomainList(SaveHost&, SaveJob& job) {
    std::vector<std::string> urls, paths;
    job.TakeOutDomainLinks(urls, paths);
    const std::string logFolder = job.LogFolder();
    const std::string folder = logFolder + kOutDomainFolderName + "/";
    // A folder left by an earlier run means the list was made then.
    if (platform::IsDirectory(folder) || !platform::CreateFolder(folder)) return;
    job.AppendLog("外部ドメインのリンクページの保存を開始します。");
    const std::vector<ListedLink> links = GroupLinks(urls, paths);
    job.AddFound(static_cast<uint32_t>(links.size()));
    std::vector<OutDomainItem> items;
    for (const ListedLink& link : links) {
        if (job.StopRequested()) break;
        job.AppendLog(link.url);
        job.AppendSimpleLog(link.url);
        OutDomainItem item;
        item.url = link.url;
        item.localName = FreeName(folder, LastComponent(link.url));
        item.saved = SaveOutDomainPage(job, link.url, folder + item.localName) == 1;
        constexpr std::string_view kIndex = "index.html";
        if (!item.saved && platform::EndsWithI(link.url, kIndex)) {
            const std::string cut = link.url.substr(0, link.url.size() - kIndex.size());
            item.saved = SaveOutDomainPage(job, cut, folder + item.localName) == 1;
            if (item.saved) item.url = cut;
        }
        job.AppendLog(item.saved ? "　･･･保存を完了。" : "　･･･ダウンロードに失敗。");
        job.LinkDone(1);
        if (item.saved) item.title = SavedTitle(folder + item.localName);
        for (const std::string& source : link.sources)
            item.sources.push_back(source.rfind(logFolder, 0) == 0 ? source.substr(logFolder.size()) : source);
        items.push_back(std::move(item));
    }
    if (!platform::WriteFileReplacing(folder + kOutDomainListName, MarkupToCp932(OutDomainDocumentText(items)),
                                      platform::Durability::Fast))
        job.AppendLog("  ！" + std::string(kOutDomainListName) + "を書き込めませんでした。");
    job.AppendLog("外部ドメインのリンクページの保存を終了しました。");
}

}  // namespace engine
