// What the crawl tells the save's history index about each page and embedded file it
// fetched or failed to fetch. Nothing is hashed or written when the records keep no history.
// Worker thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

class SaveJob;
struct FetchOrigin;

// Whether the save's records keep a history, and so want the content hash of each file.
bool KeepsHistory(SaveJob& job);

// A page read into memory before its links were rewritten: `text` is its body as it came
// (empty when it could not be read; the fetched file at `fetched` is then hashed).
void NoteFetchedPage(SaveJob& job, const std::string& url, const std::string& path, const FetchOrigin& origin,
                     std::string_view text, bool readable, const std::string& fetched);
// A hash in `origin` (worked out while the file was fetched) is taken as it is.
// An embedded file in its place, of `size` bytes (-1: looked up here).
void NoteFetchedFile(SaveJob& job, const std::string& url, const std::string& path, const FetchOrigin& origin,
                     int64_t size = -1);
void NoteFetchFailed(SaveJob& job, const std::string& url, const std::string& path, bool page,
                     const FetchOrigin* origin);

}  // namespace engine
