// robots.txt of any shape: the reader never fails, keeps within its read limit and bound, and
// its rules answer for any path, the file's own patterns included.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/RobotsRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const engine::RobotsRules rules = engine::ParseRobots(text);
    if (rules.crawlDelayMs > static_cast<int64_t>(engine::kRobotsMaxCrawlDelayMs)) std::abort();
    if (rules.malformed == rules.problem.empty()) std::abort();
    (void)rules.Allows(text.substr(0, 200));
    for (const engine::RobotsRule& rule : rules.rules) (void)rules.Allows(rule.pattern);
    (void)engine::RobotsPathOf(text);
    return 0;
}
