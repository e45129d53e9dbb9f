// Page titles for save names: the ordinary fetch that reads the head of a page, and the
// variant for a manga site whose title tag only names the site.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace rerevu {

// Bytes read for each kind of fetch; the title must stand within them.
inline constexpr size_t kTitleHeadBytes = 1024;
inline constexpr size_t kMangakanHeadBytes = 7168;
inline constexpr int kTitleTimeoutSec = 30;

// The referring page sent with the title request: the URL up to its last "/" behind the host.
std::string TitleRefererOf(std::string_view url);

// Fetches the head of `url` and places its title (UTF-8, at most `maxBytes` bytes, cut at a
// character boundary) in `title`. Returns the title's length, 0 on failure or when `stop` was
// set. Runs on any thread.
size_t FetchPageTitle(const std::string& url, std::string& title, size_t maxBytes, const std::atomic<bool>* stop);
size_t FetchMangakanTitle(const std::string& url, std::string& title, size_t maxBytes, const std::atomic<bool>* stop);

// The manga site's rules on a page already read: the work's title, normalised.
std::string MangakanTitleFromPage(std::string_view page, size_t maxBytes);
// Words capitalised after their leading digits and slashes, joined without blanks; cut at a
// "(" that opens a volume or date note.
std::string NormaliseMangakanTitle(std::string_view title);

// `text` cut to at most `maxBytes` bytes without splitting a UTF-8 character.
std::string CutUtf8(std::string_view text, size_t maxBytes);

}  // namespace rerevu
