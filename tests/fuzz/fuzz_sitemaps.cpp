// Sitemaps of any shape, plain or gzip-compressed: the reader never fails, keeps within the
// bounds of one file, says when it did not read the file whole, and takes only addresses.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/SitemapReader.h"
#include "platform/ByteString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const engine::SitemapContents read = engine::ReadSitemap(bytes);
    if (read.malformed == read.problem.empty()) std::abort();
    if (read.pages.size() + read.sitemaps.size() > engine::kSitemapMaxEntries) std::abort();
    for (const auto* list : {&read.pages, &read.sitemaps}) {
        for (const std::string& url : *list) {
            if (url.size() > engine::kSitemapMaxUrl) std::abort();
            if (!platform::StartsWithI(url, "http://") && !platform::StartsWithI(url, "https://")) std::abort();
            for (char c : url)
                if (static_cast<unsigned char>(c) <= 0x20) std::abort();
        }
    }
    return 0;
}
