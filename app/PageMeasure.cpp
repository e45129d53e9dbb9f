#include "app/PageMeasure.h"

#include <cmath>

#include "app/PictureSize.h"
#include "engine/Fetcher.h"
#include "engine/LinkKind.h"
#include "engine/LinkScanner.h"
#include "engine/LinkTable.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/PrivateTempFolder.h"
#include "records/PageTitleFetch.h"

namespace app {

namespace {

constexpr size_t kPictureHeadBytes = 64 * 1024;

// Plain first, then with the agent string (which marks the analysis as needing it).
bool Fetch(engine::SaveJob& job, const std::string& url, const std::string& path, uint8_t& agentStatus,
           const std::stop_token& stop) {
    if (engine::FetchUrlToFile(job, url, path) == 1) return true;
    engine::SaveJob agentJob;
    agentJob.SetLogFolder(job.LogFolder());
    agentJob.SetModeBits(engine::mode::agent);
    std::stop_callback cancel(stop, [&agentJob] { (void)agentJob.StopWorker(0); });
    if (engine::FetchUrlToFile(agentJob, url, path) == 1) {
        agentStatus = std::max<uint8_t>(agentStatus, NeedsAgent);
        return true;
    }
    return false;
}

uint32_t PictureMeasure(engine::SaveJob& job, const std::string& url, const std::string& path, uint8_t& agentStatus,
                        const std::stop_token& stop) {
    // A picture that cannot be fetched at all is simply missing: it says nothing about the
    // agent string the site needs.
    if (!Fetch(job, url, path, agentStatus, stop)) return 0;
    std::string head;
    uint32_t width = 0, height = 0;
    const bool known = platform::ReadFileHead(path, head, kPictureHeadBytes) && PictureSize(head, width, height);
    (void)platform::RemoveFile(path);
    return known ? static_cast<uint32_t>(std::sqrt(static_cast<double>(width) * height)) : 0;
}

void Measure(const std::string& url, PageAnalysis& page, const std::stop_token& stop, bool frames) {
    page.url = url;
    platform::PrivateTempFolder temp("sitrova-analysis-");
    if (temp.Path().empty()) {
        page.agentStatus = NotFetched;
        return;
    }
    engine::SaveJob job;
    job.SetLogFolder(temp.Path());
    // The job's stop request cuts its transfers short.
    std::stop_callback cancel(stop, [&job] { (void)job.StopWorker(0); });
    const auto stopped = [&stop] { return stop.stop_requested(); };
    const std::string pagePath = temp.Path() + "page.html";
    if (!Fetch(job, url, pagePath, page.agentStatus, stop)) {
        page.agentStatus = NotFetched;
        return;
    }
    std::string text;
    (void)platform::ReadWholeFile(pagePath, text);
    page.isFramePage = platform::ContainsI(text, "<frame");
    engine::LinkTable table;
    (void)engine::ExtractLinks(text, table);
    for (int i = 1; i <= table.Count() && !stopped(); ++i) {
        AnalysedLink link;
        const std::string written = table.urls[i];
        std::string resolved = written, localPath;
        (void)engine::ResolveLinkInside(temp.Path(), pagePath, url, 0, 0, localPath, resolved, link.kind, link.level);
        link.url = resolved;
        if (link.kind == engine::NotFollowed && link.level < 0) link.kind = engine::LinkPage;
        if (link.kind == engine::LinkPage) {
            link.value = !written.empty() && written.front() == '/' ? 1 : 0;
            link.title = records::FetchPageTitle(link.url, stopped);
        } else if (link.kind == engine::EmbedData || link.kind == engine::OutDomainEmbed) {
            link.kind = RefineEmbedKind(link.url, link.kind);
            if (link.kind == KindPicture) {
                link.value = PictureMeasure(job, link.url, temp.Path() + "picture", page.agentStatus, stop);
            } else {
                link.value = static_cast<uint32_t>(std::max<int32_t>(0, engine::ProbeStatus(link.url)));
            }
        }
        page.links.push_back(link);
        page.frames.emplace_back();
        if (frames && page.isFramePage && link.kind == engine::LinkPage) {
            page.frames.back() = std::make_unique<PageAnalysis>();
            Measure(link.url, *page.frames.back(), stop, false);
        }
    }
    SummariseLinks(page);
}

}  // namespace

void AnalysePage(const std::string& url, PageAnalysis& page, std::stop_token stop) {
    Measure(url, page, stop, true);
}

}  // namespace app
