// The links of the start page offered for the link trace selection, grouped by the folder
// they lie in. A chosen folder is a URL part: below the first level of the save, only pages
// whose URL contains a chosen part are followed. Nothing here touches a window.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The start page is read as a browser of its time would ask for it.
constexpr std::string_view kTraceAgent = "Mozilla/4.0";

// One folder of the start page's links.
struct TraceFolder {
    std::string prefix;             // "http://host/dir/": what a followed URL must contain
    std::vector<std::string> urls;  // the start page's links into it, in page order
};

// The page links of a page's text: resolved against `pageUrl`, without their fragment, on the
// page's own scheme and host, pages and folders only (no pictures, scripts or style sheets),
// without the page itself, each once, in page order.
std::vector<std::string> TraceLinksOfPage(std::string text, const std::string& pageUrl);

// The folder part of a URL: up to and with the last "/" before any query.
std::string TraceFolderOf(std::string_view url);

// The links grouped by folder, the folders in the order of their first link.
std::vector<TraceFolder> GroupTraceLinks(const std::vector<std::string>& links);

// Fetches the start page (any thread) and gathers its page links; `stopRequested` (may be
// empty) cancels the transfer. 1 with at least one link; 0 when the page could not be read
// or links to no page of its site.
[[nodiscard]] int GatherTraceLinks(const std::string& startUrl, std::vector<std::string>& links,
                                   const std::function<bool()>& stopRequested);

}  // namespace engine
