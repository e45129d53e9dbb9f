#include "engine/SiteAdapters.h"

#include "engine/ArchivePages.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"

namespace engine {

bool HasSiteChecks(const SaveJob& job) { return job.Has(mode::WebArchiveSite); }

int CheckFetchedFile(const SaveJob& job, const std::string& url, const std::string& path) {
    if (job.Has(mode::WebArchiveSite) && CheckArchivePage(url, path) != 1) return 0;
    return 1;
}

}  // namespace engine
