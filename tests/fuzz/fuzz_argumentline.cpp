// Argument lines of any shape fill the job without crashing, and a complete-save line built
// from any URL and path (without double quotes) parses back to the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ArgumentLine.h"
#include "engine/LinkText.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    {
        engine::SaveJob job;
        const app::ParsedArguments parsed = app::ParseArgumentLine(line, job);
        Check(!parsed.qdxArgument || parsed.qdxPath.size() <= line.size());
        (void)job.StartUrl();
        (void)job.StartPath();
        Check(job.LankLimit() >= 0);
    }

    // Round trip: the input split at its first NUL into URL and path.
    if (line.find('"') != std::string::npos) return 0;
    const size_t cut = line.find('\0');
    const std::string url = line.substr(0, cut);
    const std::string path = cut == std::string::npos ? std::string() : line.substr(cut + 1);
    if (url.empty() || path.empty() || path.find('\0') != std::string::npos) return 0;
    engine::SaveJob job;
    (void)app::ParseArgumentLine(app::SomeCompleteArgument(url, path, 0x301, "2", 3), job);
    Check(job.Has(engine::mode::ModeSomeComplete) && job.Has(0x200) && !job.Has(engine::mode::ModeNormal));
    // A start URL without a path means the host's root.
    const std::string start = engine::WithRootPath(url);
    const bool indexAppended = start.back() == '/';
    Check(job.StartUrl() == (indexAppended ? start + "index.html" : start) ||
          (indexAppended && job.StartUrl() == start));
    Check(job.SaveFolder() + job.ChosenSaveName() == path);
    Check(job.LankLimit() == 2);
    return 0;
}
