// A link found in a page becomes a URL, a local path below the page's folder, a kind and a
// level. Everything a link names is checked before any folder is made for it.
#include "engine/ChosenHosts.h"
#include "engine/LinkKind.h"
#include "engine/LinkScanner.h"
#include "engine/LinkTable.h"
#include "engine/LinkText.h"
#include "engine/SafeLocalPath.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

constexpr std::string_view kIndexName = "index.html";

// The URL folder of a page (with its "/"), taken from the path alone: a "/" inside the
// query or anchor names no folder.
std::string UrlFolderOf(std::string_view pageUrl) {
    std::string_view path = pageUrl.substr(0, pageUrl.find_first_of("?#"));
    const size_t scheme = SchemeEnd(path);
    if (scheme != std::string_view::npos && path.find('/', scheme) == std::string_view::npos)
        return std::string(path) + "/";
    return std::string(platform::UpToLast(path, '/'));
}

// Index of the "/" that starts the path of an absolute URL; the "../" walk never cuts
// below it. 0 for a URL without scheme.
size_t PathRootOf(std::string_view pageUrl) {
    const size_t scheme = SchemeEnd(pageUrl);
    if (scheme == std::string_view::npos) return 0;
    const size_t root = pageUrl.find('/', scheme);
    return root == std::string_view::npos ? pageUrl.size() : root;
}

struct Resolution {
    std::string* why;
    std::string& outPath;
    int32_t& outKind;
};

int Refuse(Resolution& r, PathProblem problem) {
    r.outKind = NotFollowed;
    r.outPath.clear();
    if (r.why && problem != PathProblem::None) *r.why = PathProblemText(problem);
    return LinkNotTaken;
}

// Folder names of the link's path part (all but the last name) and its file name, each with
// its escapes decoded, as a browser reading the copy decodes them; the first problem found.
PathProblem SplitNames(std::string_view path, std::vector<std::string>& folders, std::string& file) {
    size_t start = 0;
    std::string name;
    for (size_t slash; (slash = path.find('/', start)) != std::string_view::npos; start = slash + 1) {
        if (!DecodePercentName(path.substr(start, slash - start), name)) return PathProblem::BadName;
        if (PathProblem p = CheckNameFromLink(name); p != PathProblem::None) return p;
        folders.push_back(name);
    }
    if (!DecodePercentName(path.substr(start), file)) return PathProblem::BadName;
    return CheckNameFromLink(file);
}

// The local name of a file whose URL has a query: the query joins the name the way query
// pages are named, in front of the extension, so that the copy never holds a "?".
std::string QueryFileName(const std::string& file, std::string_view query) {
    if (query.empty()) return file;
    const size_t dot = file.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0 && file.size() - dot <= 6;
    std::string name = hasExtension ? file.substr(0, dot) : file;
    name += "__q_";
    for (char c : query.substr(1)) {
        switch (c) {
        case '&': name += "__a_"; break;
        case '*': name += "__t"; break;
        case ',': name += "__r_"; break;
        case ':': name += "__k_"; break;
        case ';': name += "__s_"; break;
        case '?': name += "__q_"; break;
        default: name += c; break;
        }
    }
    if (hasExtension) name += file.substr(dot);
    return QueryAsNamePart(name);
}

// Links a browser resolves from the server root ("/dir/x.html") or by host ("//host/x.html")
// become absolute, and when they stay on the page's host, relative to the page again, so that
// they pass the same level rules as any relative link.
void RootLinkToRelative(std::string& link, const std::string& pageUrl) {
    const std::string origin = SchemeAndHost(pageUrl);
    if (origin.empty() || link.empty() || link[0] != '/') return;
    std::string absolute = JoinUrl(pageUrl, link);
    if (!IsAbsoluteUrl(absolute)) return;
    if (platform::EqualsI(SchemeAndHost(absolute), origin)) (void)MakeRelative(absolute, pageUrl);
    link = std::move(absolute);
}

bool IsBareHost(std::string_view url) {
    const size_t scheme = SchemeEnd(url);
    return scheme != std::string_view::npos && url.find_first_of("/?#", scheme) == std::string_view::npos;
}

}  // namespace

int ResolveLink(const std::string& pagePath, const std::string& pageUrl, int32_t pageLevel, int32_t lankLimit,
                std::string& outPath, std::string& link, int32_t& outKind, int32_t& outLevel, std::string* why) {
    return ResolveLinkInside({}, pagePath, pageUrl, pageLevel, lankLimit, outPath, link, outKind, outLevel, why);
}

int ResolveLinkInside(std::string_view dataFolder, const std::string& pagePath, const std::string& pageUrl,
                      int32_t pageLevel, int32_t lankLimit, std::string& outPath, std::string& link,
                      int32_t& outKind, int32_t& outLevel, std::string* why,
                      std::unordered_set<std::string>* madeFolders) {
    Resolution r{why, outPath, outKind};
    outKind = NotFollowed;
    outPath.clear();
    outLevel = pageLevel;
    if (why) why->clear();
    if (link.size() > kLinkMax) link.resize(kLinkMax);

    std::string localFolder(platform::UpToLast(pagePath, '/'));
    std::string urlFolder = UrlFolderOf(pageUrl);

    // An anchor of the page itself and links of other schemes are nothing to fetch.
    if (!link.empty() && (link[0] == '#' || IsOtherScheme(link))) return LinkNotTaken;
    // The anchor never goes to the server and names no file.
    if (const size_t hash = link.find('#'); hash != std::string::npos) link.resize(hash);
    RootLinkToRelative(link, pageUrl);
    // "http://host" is that host's start page.
    if (IsBareHost(link)) {
        outKind = OutDomainPage;
        return LinkAbsolute;
    }

    // "." and ".." name folders, as "./" and "../" do.
    if (link == "." || link == ".." || link.ends_with("/.") || link.ends_with("/..")) link += '/';
    if (link.empty()) link = kIndexName;
    else if (link.back() == '/') {
        if (link.size() + kIndexName.size() > kLinkMax) return Refuse(r, PathProblem::TooLong);
        link += kIndexName;
    }

    outKind = LinkKindOfName(link);
    if (outKind == NotFollowed) return LinkNotTaken;
    if (IsAbsoluteUrl(link)) {
        // Another host's link that does not say what it names stays online, as it always has.
        if (outKind == AnswerDecides) {
            outKind = NotFollowed;
            return LinkNotTaken;
        }
        outKind = outKind == EmbedData ? OutDomainEmbed : OutDomainPage;
        return LinkAbsolute;
    }

    // Only the path part names folders; the query and anchor stay part of the file name.
    // `link` receives the URL below; the names are read from this copy.
    const std::string given = link;
    const size_t tailAt = given.find_first_of("?#");
    std::string_view path = std::string_view(given).substr(0, tailAt);
    const std::string_view tail = tailAt == std::string::npos ? std::string_view() : std::string_view(given).substr(tailAt);
    // "//host/..." and "scheme:..." would turn a host into a local folder.
    if (path.substr(0, 2) == "//" || path.substr(0, path.find('/')).find(':') != std::string_view::npos ||
        path.substr(0, 1) == "/")
        return Refuse(r, PathProblem::Outside);

    // Each leading "../" goes one folder up, on the server and on disk alike.
    int32_t level = pageLevel;
    if (!localFolder.empty()) localFolder.pop_back();
    if (!urlFolder.empty()) urlFolder.pop_back();
    const size_t urlRoot = PathRootOf(urlFolder + "/");
    while (path.substr(0, 3) == "../") {
        --level;
        path.remove_prefix(3);
        const size_t urlCut = urlFolder.rfind('/');
        const size_t localCut = localFolder.rfind('/');
        if (urlCut == std::string::npos || localCut == std::string::npos || urlCut < urlRoot)
            return Refuse(r, PathProblem::Outside);
        urlFolder.resize(urlCut);
        localFolder.resize(localCut);
    }
    // A page name without any folder gets none added (never the root folder).
    if (!urlFolder.empty() || pageUrl.find('/') != std::string::npos) urlFolder += '/';
    if (!localFolder.empty() || pagePath.find('/') != std::string::npos) localFolder += '/';
    if (path.substr(0, 2) == "./") path.remove_prefix(2);

    std::vector<std::string> folders;
    std::string file;
    if (PathProblem p = SplitNames(path, folders, file); p != PathProblem::None) return Refuse(r, p);
    const std::string fileName = QueryFileName(file, tail);
    if (fileName.empty()) return Refuse(r, PathProblem::BadName);
    if (PathProblem p = CheckNameFromLink(fileName); p != PathProblem::None) return Refuse(r, p);

    const std::string url = urlFolder + EncodeRequestPath(path) + EncodeRequestPath(tail);
    link = url.size() > kLinkMax ? url.substr(0, kLinkMax) : url;
    outLevel = level + static_cast<int32_t>(folders.size());
    if (level + lankLimit < 0) return Refuse(r, PathProblem::None);
    if (url.size() > kLinkMax) return Refuse(r, PathProblem::TooLong);
    if (!dataFolder.empty() && !IsInsideFolder(localFolder, dataFolder)) return Refuse(r, PathProblem::Outside);

    std::string target = localFolder;
    for (const std::string& name : folders) {
        if (name.empty()) continue;  // "a//b" adds a level but no folder
        target += name;
        target += '/';
    }
    target += fileName;
    // Until its answer says otherwise such a link is a page, stored under a name a browser
    // opens as one; beside a folder of the same name ("blog" and "blog/") it never collides.
    if (outKind == AnswerDecides) target += ".html";
    if (target.size() > kLinkMax) return Refuse(r, PathProblem::TooLong);

    // Every check has passed: only now are the link's folders made.
    // Folders this save has made or found already are not asked for again.
    const auto known = [madeFolders](const std::string& f) { return madeFolders && madeFolders->count(f) > 0; };
    const auto note = [madeFolders](const std::string& f) {
        if (madeFolders) madeFolders->insert(f);
    };
    std::string folder = localFolder;
    for (const std::string& name : folders) {
        if (name.empty()) continue;
        folder += name;
        if (!known(folder)) {
            if (!platform::CreateFolder(folder)) return Refuse(r, PathProblem::None);
            note(folder);
        }
        folder += '/';
    }
    if (!known(folder)) {
        if (!IsDirectory(folder)) return Refuse(r, PathProblem::None);
        note(folder);
    }
    if (url.size() > 24 && (platform::StartsWithI(url, kWebArchiveHost) ||
                            platform::StartsWithI(url, hosts::kWebArchiveHostHttps)) &&
        platform::ContainsI(target, "/collections/web"))
        return Refuse(r, PathProblem::None);

    outPath = target;
    return LinkTaken;
}

}  // namespace engine
