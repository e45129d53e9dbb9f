// Conversion of a saved page, extraction of its links and their classification.
// Everything here runs on the worker thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/LinkTable.h"

namespace engine {

class SaveJob;

// Rewrites the saved page in place: alias correction (with `arias`) and same-site absolute
// links made relative. Appends its progress marks to the job's log. The page is read once
// and written back only when its text changed.
void ConvertPage(SaveJob& job, const std::string& pagePath, const std::string& pageUrl);
// The same on the page's text in memory (same log lines); true when the text changed.
bool ConvertPageText(SaveJob& job, std::string& text, const std::string& pageUrl);

// The base against which a page's links are made relative: the page URL, or for an archived
// page of the web archive the archived page's own URL.
std::string ConvertBase(const SaveJob& job, const std::string& pageUrl);

// The in-memory passes of ConvertPage; true when the text changed.
bool CorrectRootLinksText(std::string& text, std::string_view base);
bool MakeAbsoluteLinksRelative(std::string& text, std::string_view base);
// The root-link pass for the page's own folder alone: links written from the server root
// into that folder become relative; links to other folders stay as written.
bool CorrectPageFolderLinksText(std::string& text, std::string_view base);
// The absolute-to-relative rewrite alone, on a file (the pages of other sites use it).
// 1 when the page was rewritten, 0 when it was left as it was.
int MakePageLinksRelative(const std::string& pagePath, const std::string& base);

// Reads the page and extracts its links into table.urls[1..n]; the page's text is kept but
// for its line ends. Returns n.
int ScanLinks(SaveJob& job, const std::string& pagePath, LinkTable& table);
// The same on the page's text in memory: its line ends are normalised in place
// (`lineEndsChanged` says whether that changed it). Returns n.
int ScanLinksText(std::string& text, LinkTable& table, bool& lineEndsChanged);

// In-memory passes (the text is normalised in place). Each returns the next free index;
// at most table.capacity - 1 links are taken, and the others found are counted in
// table.leftOnline.
int ExtractLinks(std::string& text, LinkTable& table);
int ExtractAttribute(std::string_view text, std::string_view attribute, bool isScript, LinkTable& table, int index);
int ExtractCssUrls(std::string_view text, LinkTable& table, int index);
// The targets of <meta http-equiv="refresh" content="N; url=...">; returns the next free index.
int ExtractRefreshTargets(std::string_view text, LinkTable& table);
// Every candidate URL of a srcset value, in order.
std::vector<std::string> SrcsetUrls(std::string_view value);
int CleanLink(std::string& link);
int UrlFromScript(std::string_view text, std::string& value);
int MakeRelative(std::string& url, std::string_view pageUrl);

// Resolves one link of the page (ResolveLink) and applies the rule for links to other
// sites. Returns LinkAbsolute, LinkTaken or LinkNotTaken as ResolveLink does. A link whose
// local path would leave the job's data folder is not taken, and the log says why.
[[nodiscard]] int ClassifyLink(SaveJob& job, const std::string& pagePath, const std::string& pageUrl,
                               int32_t pageLevel, std::string& outPath, std::string& link, int32_t& outKind,
                               int32_t& outLevel);

}  // namespace engine
