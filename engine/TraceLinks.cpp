#include "engine/TraceLinks.h"

#include <algorithm>

#include "engine/LinkKind.h"
#include "engine/LinkScanner.h"
#include "engine/LinkTable.h"
#include "engine/LinkText.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/HttpClient.h"

namespace engine {

namespace {

constexpr int kTimeoutSec = 60;
constexpr size_t kPageBytes = 8u << 20;

// Pages and folders, as the save would follow them.
bool IsTracedPage(std::string_view url) {
    const std::string_view path = url.substr(0, url.find('?'));
    if (!path.empty() && path.back() == '/') return true;
    const int32_t kind = LinkKindOfName(url);
    return kind == LinkPage || kind == DynamicPage;
}

}  // namespace

std::vector<std::string> TraceLinksOfPage(std::string text, const std::string& pageUrl) {
    LinkTable table;
    (void)ExtractLinks(text, table);
    const std::string site = SchemeAndHost(pageUrl);
    const std::string self = WithRootPath(pageUrl.substr(0, pageUrl.find('#')));
    std::vector<std::string> links;
    for (int i = 1; i <= table.Count(); ++i) {
        std::string link = table.urls[i];
        if (link.empty() || link[0] == '#' || IsOtherScheme(link) || !CleanLink(link)) continue;
        std::string url = EncodeRequestPath(JoinUrl(pageUrl, link));
        url = url.substr(0, url.find('#'));
        if (SchemeEnd(url) == std::string::npos || !platform::EqualsI(SchemeAndHost(url), site)) continue;
        url = WithRootPath(url);
        if (url == self || !IsTracedPage(url)) continue;
        if (std::find(links.begin(), links.end(), url) == links.end()) links.push_back(std::move(url));
    }
    return links;
}

std::string TraceFolderOf(std::string_view url) {
    const std::string_view path = url.substr(0, url.find('?'));
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(0, slash + 1));
}

std::vector<TraceFolder> GroupTraceLinks(const std::vector<std::string>& links) {
    std::vector<TraceFolder> folders;
    for (const std::string& url : links) {
        const std::string prefix = TraceFolderOf(url);
        auto it = std::find_if(folders.begin(), folders.end(),
                               [&](const TraceFolder& f) { return f.prefix == prefix; });
        if (it == folders.end()) it = folders.insert(folders.end(), TraceFolder{prefix, {}});
        it->urls.push_back(url);
    }
    return folders;
}

int GatherTraceLinks(const std::string& startUrl, std::vector<std::string>& links,
                     const std::function<bool()>& stopRequested) {
    links.clear();
    platform::HttpRequest request;
    request.url = EncodeRequestPath(startUrl);
    request.agent = std::string(kTraceAgent);
    request.connectTimeoutSec = kTimeoutSec;
    request.receiveTimeoutSec = kTimeoutSec;
    request.stopRequested = stopRequested;
    platform::HttpSession http;
    std::string page;
    const platform::HttpResponse response = http.FetchToMemory(request, page, kPageBytes);
    if (response.result != platform::HttpOk) return 0;
    // Links are read as the browser read them: against the address the page really came from.
    const std::string base = response.effectiveUrl.empty() ? startUrl : response.effectiveUrl;
    links = TraceLinksOfPage(std::move(page), base);
    return links.empty() ? 0 : 1;
}

}  // namespace engine
