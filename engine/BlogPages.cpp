#include "engine/BlogPages.h"

#include <functional>
#include <thread>

#include "engine/LinkScanner.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"

namespace engine {

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr int kDownloadTimeoutSec = 60;

// A name beside `path` that no other thread writes to: pages fetched side by side share
// their skins, and each fetch of one writes its own copy before moving it into place.
std::string OwnTemporaryName(const std::string& path) {
    // It ends like every staging name, so a save cut short leaves nothing a later one keeps.
    return path + "." + std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id()) % 1000000007u) + ".part";
}

// A downloaded file arrives under a temporary name, so that a broken transfer never leaves
// a half file under the real one. Failures are left for the caller to ignore.
bool DownloadTo(const std::string& url, const std::string& temp) {
    platform::HttpRequest request;
    request.url = url;
    request.followRedirects = true;
    request.connectTimeoutSec = kDownloadTimeoutSec;
    request.receiveTimeoutSec = kDownloadTimeoutSec;
    platform::HttpSession http;
    if (http.FetchToFile(request, temp).result == platform::HttpOk) return true;
    platform::DiscardTemporary(temp);
    return false;
}

bool Download(const std::string& url, const std::string& path) {
    const std::string temp = OwnTemporaryName(path);
    if (!DownloadTo(url, temp)) return false;
    if (platform::RenameFile(temp, path)) return true;
    platform::DiscardTemporary(temp);
    return false;
}

// A skin is made local (its pictures fetched, its links pointed at them) before it takes its
// name, so that a page never finds a half-treated skin.
void DownloadSkin(const std::string& url, const std::string& path) {
    const std::string temp = OwnTemporaryName(path);
    if (!DownloadTo(url, temp)) return;
    (void)LocaliseCssFile(temp, url, platform::FolderOf(path));
    if (!platform::RenameFile(temp, path)) platform::DiscardTemporary(temp);
}

// A path taken from a page stays inside its folder: no empty, "." or ".." element.
bool IsSafeRelativePath(std::string_view rest) {
    if (rest.empty() || rest.front() == '/') return false;
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(rest.find_first_of("/\\", start), rest.size());
        const std::string_view element = rest.substr(start, end - start);
        if (element.empty() || element == "." || element == "..") return false;
        if (end == rest.size()) return true;
        start = end + 1;
    }
}

// The scheme written in front of a skin occurrence ("http://", "https://" or "//"), so that
// the whole link is replaced and not only its host part.
size_t SchemeStart(std::string_view text, size_t hit) {
    for (std::string_view scheme : {"https://", "http://", "//"}) {
        if (hit >= scheme.size() && platform::EqualsI(text.substr(hit - scheme.size(), scheme.size()), scheme))
            return hit - scheme.size();
    }
    return hit;
}

// An image named in a style sheet, made absolute against the sheet's own URL.
std::string ResolveAgainst(std::string_view link, std::string_view base) {
    if (IsAbsoluteUrl(link)) return std::string(link);
    const size_t scheme = SchemeEnd(base);
    if (scheme == npos) return {};
    if (link.starts_with("//")) return std::string(base.substr(0, scheme - 2)) + std::string(link.substr(2));
    if (link.starts_with("/")) {
        const size_t host = std::min(base.find('/', scheme), base.size());
        return std::string(base.substr(0, host)) + std::string(link);
    }
    return std::string(platform::UpToLast(base, '/')) + std::string(link);
}

std::string_view Trimmed(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

int IsBlogUrl(std::string_view url) {
    return platform::ContainsI(url, hosts::kBlogServiceB) || platform::ContainsI(url, hosts::kBlogServiceA) ? 1 : 0;
}

int IsBlogSaveUrl(std::string_view url) {
    if (IsBlogUrl(url)) return 1;
    return platform::ContainsI(url, hosts::kBlogHostingC) && platform::ContainsI(url, "blog") ? 1 : 0;
}

int IsBlogServiceA(std::string_view url) { return platform::ContainsI(url, hosts::kBlogServiceA) ? 1 : 0; }

std::string NotFoundPage() {
    return "<html><head>\r\n"
           "<title>NotFound</title>\r\n"
           "</head><body>\r\n"
           "<H1>Not Found</H1>\r\n"
           "Sitrova failed to save this page because the page had no article.<P>\r\n"
           "</body>\r\n"
           "</html>\r\n";
}

int CheckBlogPage(const std::string& url, const std::string& path) {
    const auto treat = [&url, &path](std::string& text) {
        if (!IsBlogServiceA(url))
            return platform::ContainsI(url, hosts::kBlogServiceB) && CorrectPageFolderLinksText(text, url);
        if (platform::ContainsI(text, "class=\"error\"")) {
            text = NotFoundPage();
            return true;
        }
        return LocaliseSkins(text, platform::FolderOf(path));
    };
    return platform::RewriteFileInPlace(path, treat, platform::Durability::Fast);
}

bool LocaliseSkins(std::string& text, const std::string& pageFolder, std::string_view skinPrefix) {
    const std::string skinFolder = pageFolder + std::string(kSkinFolder);
    std::string out;
    size_t copied = 0, pos = 0;
    bool changed = false;
    for (;;) {
        const size_t hit = platform::FindI(text, skinPrefix, pos);
        if (hit == npos) break;
        const size_t restStart = hit + skinPrefix.size();
        const size_t end = text.find('"', restStart);
        if (end == npos) break;  // a link without its closing quote is left as written
        pos = end;
        const std::string_view link = std::string_view(text).substr(restStart, end - restStart);
        const std::string_view rest = link.substr(0, link.find_first_of("?#"));
        if (!IsSafeRelativePath(rest)) continue;
        const size_t start = SchemeStart(text, hit);
        const std::string local = skinFolder + "/" + std::string(rest);
        if (!platform::FileExists(local) && platform::CreateFolderChain(platform::FolderOf(local))) {
            std::string url = start == hit ? "http://" : "";
            url += std::string_view(text).substr(start, end - start);
            if (url.starts_with("//")) url.insert(0, "http:");
            DownloadSkin(url, local);
        }
        out.append(text, copied, start - copied);
        out += kSkinFolder;
        out += '/';
        out += rest;
        copied = end;
        changed = true;
    }
    if (!changed) return false;
    out.append(text, copied, std::string::npos);
    text.swap(out);
    return true;
}

int LocaliseCssFile(const std::string& cssPath, const std::string& cssUrl, const std::string& folder) {
    std::string css;
    if (!platform::ReadWholeFile(cssPath, css)) return 0;
    std::string out;
    size_t copied = 0, pos = 0;
    for (;;) {
        const size_t hit = platform::FindI(css, "url(", pos);
        if (hit == npos) break;
        const size_t valueStart = hit + 4;
        const size_t end = css.find(')', valueStart);
        if (end == npos) break;
        pos = end;
        const std::string_view value = Trimmed(std::string_view(css).substr(valueStart, end - valueStart));
        if (value.empty() || platform::StartsWithI(value, "data:")) continue;
        const std::string_view path = value.substr(0, value.find_first_of("?#"));
        const std::string name(platform::AfterLast(path, '/'));
        if (!IsSafeRelativePath(name) || name.find('\\') != std::string::npos) continue;
        const std::string imageUrl = ResolveAgainst(value, cssUrl);
        const std::string local = folder + name;
        if (!imageUrl.empty() && !platform::FileExists(local)) (void)Download(imageUrl, local);
        out.append(css, copied, valueStart - copied);
        out += name;
        copied = end;
    }
    if (copied == 0) return 1;
    out.append(css, copied, std::string::npos);
    (void)platform::WriteFileReplacing(cssPath, out, platform::Durability::Fast);
    return 1;
}

}  // namespace engine
