// Whole pages of any shape through the ad rules: the walk over their markup moves forward and
// stays inside the text, script elements do not overlap, and the rules only ever take text
// away.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "filters/AdRules.h"
#include "filters/PageMarkup.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    filters::MarkupWalk walk(page);
    filters::MarkupItem item;
    size_t behind = 0;
    while (walk.Next(item)) {
        Check(item.begin >= behind && item.end > item.begin && item.end <= page.size());
        behind = item.end;
    }
    behind = 0;
    for (const filters::TextSpan& script : filters::ScriptElements(page)) {
        Check(script.begin >= behind && script.end > script.begin && script.end <= page.size());
        behind = script.end;
    }
    filters::TextSpan end;
    if (filters::DocumentEndTag(page, end)) Check(end.begin < end.end && end.end <= page.size());

    std::string text = page;
    (void)filters::ApplyAdRules(text);
    Check(text.size() <= page.size());
    return 0;
}
