// The pages the start host's sitemaps list, which the walk takes up besides the links of the
// start page: the host's /sitemap.xml and the sitemaps its robots.txt names. Each sitemap is
// fetched once per save, through the save's session, its waits and its robots.txt rules.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace engine {

class SaveJob;

// Sitemap indexes are followed this many files deep (an index, its sitemaps, and one more
// level for sites whose indexes name indexes); a save reads at most kSitemapMaxFiles
// sitemaps and takes at most kSitemapMaxPages pages from them.
inline constexpr int kSitemapMaxNesting = 3;
inline constexpr size_t kSitemapMaxFiles = 500;
inline constexpr size_t kSitemapMaxPages = 200000;

// The addresses of the pages on the start URL's host that its sitemaps list, each once, in
// the order read; none when the save does not ask for sitemaps. A sitemap that cannot be
// fetched or read whole costs one log line, and the save goes on. Worker thread only.
std::vector<std::string> SitemapPages(SaveJob& job, const std::string& startUrl);

}  // namespace engine
