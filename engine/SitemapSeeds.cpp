#include "engine/SitemapSeeds.h"

#include <deque>
#include <unordered_set>

#include "engine/HostFile.h"
#include "engine/LinkText.h"
#include "engine/RobotsCheck.h"
#include "engine/SaveJob.h"
#include "engine/SitemapReader.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"

namespace engine {

namespace {

// "example.org:8080" of an absolute URL, in lower case ("" for any other text): http and
// https of one host are one site, as links between them are.
std::string HostOf(std::string_view url) {
    const size_t scheme = SchemeEnd(url);
    if (scheme == std::string_view::npos) return {};
    const size_t end = url.find_first_of("/?#", scheme);
    return platform::AsciiLowerCopy(url.substr(scheme, end == std::string_view::npos ? end : end - scheme));
}

struct SitemapFile {
    std::string url;
    int depth = 0;  // 0: named by the host or its robots.txt; n: named by an index of depth n - 1
};

// One sitemap as it came, cut one byte past the bound so that the reader sees the excess.
// False, with a log line, when it could not be fetched.
bool FetchSitemap(SaveJob& job, const std::string& url, std::string& bytes) {
    const platform::HttpResponse response = FetchHostFile(job, url, kSitemapMaxBytes + 1, bytes);
    if (response.result == platform::HttpOk) return true;
    if (response.result == platform::HttpCancelled) return false;
    const std::string why = response.result == platform::HttpStatusError ? "HTTP " + std::to_string(response.status)
                                                                          : response.error;
    job.AppendLog("  サイトマップを読めません（" + why + "）: " + url);
    return false;
}

}  // namespace

std::vector<std::string> SitemapPages(SaveJob& job, const std::string& startUrl) {
    if (!job.Named().sitemaps) return {};
    const std::string site = HostOf(startUrl);
    if (site.empty()) return {};
    const std::string origin = SchemeAndHost(startUrl);
    std::deque<SitemapFile> queue{{origin + "/sitemap.xml", 0}};
    for (const std::string& named : RobotsSitemaps(job, startUrl))
        queue.push_back({IsAbsoluteUrl(named) ? named : JoinUrl(origin + "/", named), 0});

    std::unordered_set<std::string> asked, taken;
    std::vector<std::string> pages;
    size_t filesRead = 0, elsewhere = 0;
    bool filesCapped = false, pagesCapped = false, tooDeep = false;
    while (!queue.empty() && !pagesCapped && !job.StopRequested()) {
        const SitemapFile file = std::move(queue.front());
        queue.pop_front();
        if (!asked.insert(file.url).second) continue;
        // A sitemap elsewhere is outside the save: its host is never asked.
        if (HostOf(file.url) != site) {
            job.AppendLog("  サイトマップが別のホストにあるため読みません: " + file.url);
            continue;
        }
        if (!RobotsAllowLink(job, file.url)) continue;
        std::string bytes;
        if (!FetchSitemap(job, file.url, bytes)) continue;
        ++filesRead;
        const SitemapContents contents = ReadSitemap(bytes);
        if (contents.malformed)
            job.AppendLog("  サイトマップを一部しか読めませんでした（" + contents.problem + "）: " + file.url);
        for (const std::string& page : contents.pages) {
            if (HostOf(page) != site) {
                ++elsewhere;
            } else if (pages.size() == kSitemapMaxPages) {
                pagesCapped = true;
                break;
            } else if (taken.insert(page).second) {
                pages.push_back(page);
            }
        }
        for (const std::string& named : contents.sitemaps) {
            if (file.depth + 1 >= kSitemapMaxNesting) {
                tooDeep = true;
                break;
            }
            // What could never be read is not kept either.
            if (filesRead + queue.size() >= kSitemapMaxFiles) {
                filesCapped = true;
                break;
            }
            queue.push_back({named, file.depth + 1});
        }
    }
    if (tooDeep) job.AppendLog("  入れ子が " + std::to_string(kSitemapMaxNesting) + " 段より深いサイトマップは読みません。");
    if (filesCapped) job.AppendLog("  サイトマップが " + std::to_string(kSitemapMaxFiles) + " 個を超えたため、残りは読みません。");
    if (pagesCapped)
        job.AppendLog("  サイトマップのページが " + std::to_string(kSitemapMaxPages) + " 件を超えたため、残りは辿りません。");
    if (elsewhere > 0)
        job.AppendLog("  サイトマップの " + std::to_string(elsewhere) + " 件は別のホストのページのため辿りません。");
    if (filesRead > 0) job.AppendLog("  サイトマップから " + std::to_string(pages.size()) + " ページを見つけました。");
    return pages;
}

}  // namespace engine
