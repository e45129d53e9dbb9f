// Pages written in place of pages that were not saved, so that links to them still open
// something that says what happened and where the page lives.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// The head that marks a failed-download page; a file starting with it is no saved copy.
constexpr std::string_view kFailedPageHead = "<html><head><title>Failed Download</title></head><body>";
constexpr std::string_view kCanceledPageHead = "<html><head><title>Canceled Download</title></head><body>";

// Both write Shift-JIS bytes with CR LF; the URL is inserted as found, except that a double
// quote or an angle bracket in it is written in its percent form. Return 1 when written.
[[nodiscard]] int WriteFailedPage(std::string_view url, const std::string& path);
[[nodiscard]] int WriteCanceledPage(std::string_view url, const std::string& path);

// 1 when the file at path is the cancelled-download page: a page not followed once, which a
// later visit that follows it may replace.
int IsCanceledPage(const std::string& path);

// 1 when a real saved copy exists at path. A failed-download page found there is deleted
// (it must not hide the page from the next fetch) and counts as no copy.
int IsSavedCopy(const std::string& path);
// The same test on a page's text: false when it is a failed-download page.
bool IsSavedCopyText(std::string_view text);

}  // namespace engine
