#include "engine/FillJob.h"

#include "engine/LinkText.h"
#include "engine/SaveJob.h"

namespace engine {

void FillJob(SaveJob& job, const JobInput& input) {
    std::string url = WithRootPath(input.url);
    uint32_t bits = input.modeBits;
    if (input.appendIndex) bits |= AppendIndexPage(url);
    job.SetModeBits(bits);
    job.SetStartUrl(url);
    if (!input.savePath.empty()) job.SetSaveTarget(input.savePath);
    job.SetLankLimit(input.lankLimit);
}

}  // namespace engine
