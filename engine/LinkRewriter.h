// Edits of saved pages after their links were classified.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/LinkTable.h"

namespace engine {

class SaveJob;

// Step of the page where its links are rewritten to local form: files embedded from other
// sites are relocated into the page's ".files" folder (their kinds become 10, with the local
// path and the level below the page, or 30). Returns 1 when the page file was rewritten.
// All of these run on the worker thread and write the page only when its text changed.
int RewritePageLinks(SaveJob& job, const std::string& pagePath, const std::string& pageUrl, int32_t pageLevel,
                     LinkTable& table);
int RelocateOutDomainEmbeds(const std::string& pagePath, const std::string& pageUrl, int32_t pageLevel,
                            LinkTable& table);

// Double-quoted links to folders point at their index.html when that file was saved. 0 when
// the page could not be read or written (it stays as it was), else 1.
[[nodiscard]] int FixDirectoryLinks(const std::string& pageUrl, const std::string& pagePath,
                                    const std::vector<std::string>& dirUrls, const std::vector<std::string>& dirPaths);
// Query links get their local names (first occurrence of each recorded tail).
void FixDynamicLinks(SaveJob& job, const std::string& pagePath, const std::vector<std::string>& originals,
                     const std::vector<std::string>& newNames);

}  // namespace engine
