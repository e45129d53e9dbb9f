// How URLs and links map to local paths, kinds and levels.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/ChosenHosts.h"

namespace engine {

// Results of ResolveLink.
enum ResolveResult : int { LinkAbsolute = 0, LinkTaken = 1, LinkNotTaken = 2 };

// The web archive: its host, and the form of its archived pages (host, "web/", a time
// stamp, "/" and the archived page's own URL).
constexpr std::string_view kWebArchiveHost = hosts::kWebArchiveHost;
constexpr std::string_view kWebArchivePrefix = hosts::kWebArchivePrefix;

// Kind of a link by its name alone: 10, 20, 30, 40, 50, 60, 90, or 100 when only the
// answer can tell.
int32_t LinkKindOfName(std::string_view name);

// Resolves `link` (as found in the page at pagePath/pageUrl, level pageLevel) to its URL
// (written back into `link`), its local path, kind and level. Creates the folders of the
// local path. Returns LinkAbsolute, LinkTaken or LinkNotTaken. When a link is refused for
// safety, `why` (if given) receives a short reason for the log. Runs on the worker thread.
[[nodiscard]] int ResolveLink(const std::string& pagePath, const std::string& pageUrl, int32_t pageLevel,
                              int32_t lankLimit, std::string& outPath, std::string& link, int32_t& outKind,
                              int32_t& outLevel, std::string* why = nullptr);

// ResolveLink that also refuses, before creating anything, every local path outside
// `dataFolder` (empty: no such bound). `madeFolders` (when given) holds the folders made or
// found so far; they are not made again, and the ones made here are added.
[[nodiscard]] int ResolveLinkInside(std::string_view dataFolder, const std::string& pagePath,
                                    const std::string& pageUrl, int32_t pageLevel, int32_t lankLimit,
                                    std::string& outPath, std::string& link, int32_t& outKind, int32_t& outLevel,
                                    std::string* why = nullptr,
                                    std::unordered_set<std::string>* madeFolders = nullptr);

// The local ".html" name of a query URL; 0 when the URL gets none. Records the URL's tail
// and the new name's tail in the two lists.
size_t DynamicLocalName(std::string_view url, std::string& out, std::vector<std::string>& originals,
                        std::vector<std::string>& newNames);

bool IsDynamicName(std::string_view name);  // ".php", ".asp" or ".shtml" in it
bool IsCgiName(std::string_view name);      // a "cgi-bin" folder or a ".cgi" name in its path
bool IsPageUrl(std::string_view url);
// Whether the page at `path` got its name from `url` as a link whose name did not say what it
// was: the URL's last name (no query) with ".html" added.
bool IsAnswerNamedPage(std::string_view path, std::string_view url);
bool IsPageName(std::string_view name);
bool IsSwfName(std::string_view name);
bool IsDirectory(const std::string& path);
bool ContainsReservedDeviceName(std::string_view urlOrPath);
std::string EncodeUrl(std::string_view text);

// "http://" or "https://" at the start (any case): the link is absolute.
bool IsAbsoluteUrl(std::string_view url);
// Index just behind "http://" or "https://", or npos when the URL has neither.
size_t SchemeEnd(std::string_view url);

// Pages of a certain web novel site get a long wait before their second try.
bool IsNovelSiteUrl(const std::string& url);

}  // namespace engine
