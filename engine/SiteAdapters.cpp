#include "engine/SiteAdapters.h"

#include "engine/ArchivePages.h"
#include "engine/BlogPages.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

// The adapters treat pages and style sheets. A file larger than this is neither (a video, an
// archive) and is kept without being read into memory whole.
constexpr int64_t kLargestExaminedFile = 32 << 20;

}  // namespace

bool HasSiteChecks(const SaveJob& job) { return job.Has(mode::BlogSite | mode::WebArchiveSite); }

int CheckFetchedFile(const SaveJob& job, const std::string& url, const std::string& path) {
    if (platform::FileSize(path) > kLargestExaminedFile) return 1;
    if (job.Has(mode::BlogSite))
        if (const int checked = CheckBlogPage(url, path); checked != 1) return checked;
    if (job.Has(mode::WebArchiveSite)) return CheckArchivePage(url, path);
    return 1;
}

}  // namespace engine
