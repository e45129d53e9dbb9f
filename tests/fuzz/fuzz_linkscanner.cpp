// Whole pages of any shape: the scanner takes at most a table's worth of links, each one
// non-empty, bounded in length and listed once; the rewriting passes keep the page whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "engine/LinkScanner.h"
#include "platform/ByteString.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

constexpr std::string_view kPageUrl = "http://example.com/a/b/page.html";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    engine::LinkTable table;
    table.capacity = size > 0 && data[0] < 16 ? 2 + data[0] : engine::kLinkSlots;
    const int next = engine::ExtractLinks(text, table);
    Check(next == table.Count() + 1);
    Check(table.Count() <= table.capacity - 1);
    Check(table.urls.size() == table.paths.size() && table.kinds.size() == table.urls.size());
    std::unordered_set<std::string> seen;
    for (int i = 1; i <= table.Count(); ++i) {
        const std::string& url = table.urls[i];
        Check(!url.empty() && url.size() <= engine::kLinkMax);
        Check(seen.insert(platform::AsciiLowerCopy(url)).second);
        std::string relative = url;
        if (engine::MakeRelative(relative, kPageUrl)) Check(relative.size() <= url.size() + kPageUrl.size());
    }

    // Normalising is done once: scanning the normalised text finds the same links.
    engine::LinkTable again;
    again.capacity = table.capacity;
    std::string normalised = text;
    (void)engine::ExtractLinks(normalised, again);
    Check(normalised == text);
    Check(again.urls == table.urls);

    std::string rewritten = text;
    (void)engine::CorrectRootLinksText(rewritten, kPageUrl);
    (void)engine::MakeAbsoluteLinksRelative(rewritten, kPageUrl);
    return 0;
}
