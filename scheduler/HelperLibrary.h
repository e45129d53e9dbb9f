// The scheduler's calls into the helper library Qdx6_RerEvu.so, which is loaded from the
// program folder for each call and released right after it. A missing library or export
// switches the path and blog checks off (answered "no").
#pragma once

#include <string>

namespace scheduler {

// 1 when some element of the path is a reserved device name; 0 also without the library.
int PathHasReservedName(const std::string& programFolder, const std::string& path);
// 1 when the URL is a blog URL; 0 also without the library.
int UrlIsBlog(const std::string& programFolder, const std::string& url);

enum TitleResult : int { TitleFetched = 1, TitleFailed = 0, TitleNoLibrary = -1, TitleNoExport = -2 };
// The page title through the library's progress window, owned by `owner` (a QWidget*).
[[nodiscard]] int FetchTitle(const std::string& programFolder, void* owner, const std::string& url, bool makerMode,
                             std::string& title);
// The message for a title result other than TitleFetched (caption "エラー").
std::string TitleFailureMessage(int result);

}  // namespace scheduler
