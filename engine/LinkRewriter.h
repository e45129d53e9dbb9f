// Edits of saved pages after their links were classified.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/LinkTable.h"

namespace engine {

class SaveJob;

// Whether a page not yet on disk will still be saved in this run (by its URL).
using WillBeSaved = std::function<bool(const std::string& url)>;
// Whether a file lies at a local path; a caller that remembers the files it saved answers
// for those without asking the disk. Empty: the disk is asked.
using FileKnown = std::function<bool(const std::string& path)>;

// Step of the page where its links are rewritten to local form: files embedded from other
// sites are relocated into the page's ".files" folder (their kinds become 10, with the local
// path and the level below the page, or 30). Returns 1 when the page file was rewritten.
// All of these run on the worker thread and write the page only when its text changed.
// `text` is the page's text, changed in place (returns 1 when it changed).
int RewritePageLinks(SaveJob& job, std::string& text, const std::string& pagePath, const std::string& pageUrl,
                     int32_t pageLevel, LinkTable& table);
bool RelocateOutDomainEmbedsText(std::string& text, const std::string& pagePath, int32_t pageLevel,
                                 LinkTable& table);
// The same on the saved file (1 when it was rewritten).
int RelocateOutDomainEmbeds(const std::string& pagePath, const std::string& pageUrl, int32_t pageLevel,
                            LinkTable& table);

// Double-quoted links to folders point at their index.html when that file was saved. 0 when
// the page could not be read or written (it stays as it was), else 1.
[[nodiscard]] int FixDirectoryLinks(const std::string& pageUrl, const std::string& pagePath,
                                    const std::vector<std::string>& dirUrls, const std::vector<std::string>& dirPaths);
bool FixDirectoryLinksText(const std::string& pageUrl, std::string& text, const std::vector<std::string>& dirUrls,
                           const std::vector<std::string>& dirPaths, const FileKnown& exists = {});
// Query links get their local names (first occurrence of each recorded tail).
bool FixDynamicLinksText(std::string& text, const std::vector<std::string>& originals,
                         const std::vector<std::string>& newNames);
void FixDynamicLinks(SaveJob& job, const std::string& pagePath, const std::vector<std::string>& originals,
                     const std::vector<std::string>& newNames);

// At the end of a save: links of the page that were pointed online because their file was
// not saved yet, and that the copy now holds, point at the file again. 1 when it changed.
int RelinkToSavedFiles(const std::string& pagePath, const std::string& pageUrl, std::string_view dataFolder);
// The files that RelinkToSavedFiles would point the page of this text at once they are saved
// (it changes the page only when one of them is). False, with the list left empty, when there
// are more than `most`.
bool RelinkTargets(std::string_view text, const std::string& pagePath, const std::string& pageUrl,
                   std::string_view dataFolder, size_t most, std::vector<std::string>& targets);
// The last edit of a saved page or style sheet: each link whose target is in the copy (or
// will be) points at its local file, relative to the page; each other link that is not
// absolute yet gets its absolute address online, so that nothing in the copy leads nowhere.
// Anchors, other schemes and absolute links stay as written. True when the text changed.
bool PointLinksAtCopyText(std::string& text, const std::string& pagePath, const std::string& pageUrl,
                          std::string_view dataFolder, const LinkTable& table, const WillBeSaved& willBeSaved,
                          const FileKnown& exists = {});

}  // namespace engine
