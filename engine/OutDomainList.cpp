// The list of links to other sites is not built yet: the job says so in its log instead of
// pretending, and leaves no link folder behind (a later run then builds it).
#include "engine/OutDomainList.h"

#include "engine/SaveJob.h"

namespace engine {

void BuildOutDomainList(SaveHost&, SaveJob& job) {
    std::vector<std::string> urls, paths;
    job.TakeOutDomainLinks(urls, paths);
    if (urls.empty()) return;
    job.AppendLog("  外部ドメインのリンクページの保存は、このバージョンでは行いません。(" + std::to_string(urls.size()) +
                  "件)");
}

int SaveOutDomainPage(SaveJob&, const std::string&, const std::string&) { return 0; }

}  // namespace engine
