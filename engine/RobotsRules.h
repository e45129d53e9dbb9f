// A site's robots.txt read into the rules that apply to us: the group for our product token
// (or else the groups for "*"), its Allow and Disallow lines, its Crawl-delay, and the
// sitemaps the file names. Only text in, rules out: the fetching is the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The product token our saves answer to in robots.txt groups.
inline constexpr std::string_view kRobotsProductToken = "Sitrova";
// Bytes of a robots.txt that are read; the rest is left unread.
inline constexpr size_t kRobotsMaxBytes = 500 * 1024;
// The longest Crawl-delay we honour: a site asking for more still gets saved.
inline constexpr uint32_t kRobotsMaxCrawlDelayMs = 10000;

struct RobotsRule {
    std::string pattern;  // normalised: percent-encoding as compared, "*" and a final "$" kept
    bool allow = false;
};

struct RobotsRules {
    std::vector<RobotsRule> rules;      // of the chosen group(s); none: everything allowed
    int64_t crawlDelayMs = -1;          // -1: none given; else at most kRobotsMaxCrawlDelayMs
    std::vector<std::string> sitemaps;  // as written, in file order
    // Set when the file was not all readable (binary, cut at kRobotsMaxBytes, not UTF-8,
    // lines that mean nothing, no group at all); `problem` says what, for the log. The
    // rules read up to there still hold.
    bool malformed = false;
    std::string problem;

    // True when `pathAndQuery` ("/a/b?c", from the URL) may be fetched.
    bool Allows(std::string_view pathAndQuery) const;
};

// Reads `text` (at most kRobotsMaxBytes of it) for `productToken`. Never fails.
RobotsRules ParseRobots(std::string_view text, std::string_view productToken = kRobotsProductToken);

// The part of an absolute URL that robots rules are matched against: path and query, "/"
// when the URL has no path.
std::string RobotsPathOf(std::string_view url);

}  // namespace engine
