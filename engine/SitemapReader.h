// A sitemap file read into the addresses it lists: a <urlset> (pages), a <sitemapindex>
// (further sitemaps), or a plain list of URLs, one a line; gzip-compressed or not. Only bytes
// in, addresses out: the fetching is the caller's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The bounds a sitemap file keeps: bytes read (after unpacking) and addresses read. What lies
// beyond them is left unread.
inline constexpr size_t kSitemapMaxBytes = 50u * 1024 * 1024;
inline constexpr size_t kSitemapMaxEntries = 50000;
// The longest address taken from a sitemap.
inline constexpr size_t kSitemapMaxUrl = 2048;

enum class SitemapKind { None, UrlSet, Index, Text };

struct SitemapContents {
    SitemapKind kind = SitemapKind::None;
    std::vector<std::string> pages;     // <url><loc> of a urlset, or the lines of a text list
    std::vector<std::string> sitemaps;  // <sitemap><loc> of an index
    // Set when the file was not all readable (binary, past a bound, not UTF-8, not
    // well-formed, not a sitemap, entries that are no http(s) address); `problem` says what
    // first went wrong, for the log. The addresses read up to there still count.
    bool malformed = false;
    std::string problem;
};

// Reads a sitemap as it came from the server. Never fails.
SitemapContents ReadSitemap(std::string_view bytes);

}  // namespace engine
