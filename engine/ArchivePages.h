// Saves that start in the web archive: recognising its URLs, and the pages that stand in for
// the archive's own error pages (an archived page that is not indexed, or a failure of the
// archive's storage), which would otherwise be saved as if they were the site's pages.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// 1 when the URL begins with the archive's prefix for archived pages (http or https, any
// case), else 0.
int IsWebArchiveUrl(std::string_view url);

// Which of the archive's error pages a fetched text is, if any.
enum class ArchiveError { None, PathIndex, FailedConnection };
ArchiveError ArchiveErrorOf(std::string_view text);

// The page that replaces an archive error page fetched from `url`, in Shift-JIS with CR LF;
// empty for ArchiveError::None.
std::string ArchiveReplacementPage(ArchiveError kind, std::string_view url);

// The check of a file fetched for a web-archive save: an archive error page is replaced by
// its stand-in page. A platform::RewriteResult: 1 keep the file (also when it was empty or
// replaced), 0 refuse it (it cannot be read), 2 the stand-in could not be written (the disk's
// reason is in errno). May run on several threads at once, each on a file of its own.
[[nodiscard]] int CheckArchivePage(const std::string& url, const std::string& path);

}  // namespace engine
