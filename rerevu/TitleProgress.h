// The title fetch behind a small progress window: the fetch runs on a worker; when it takes
// longer than half a second and the calling process runs a Qt application, the window
// "ページタイトルを取得中" is shown (from the companion library Qdx6_RerEvu_Qt.so) until the
// fetch ends or the user closes it. Without Qt the call simply waits for the fetch.
#pragma once

#include <string>

namespace rerevu {

inline constexpr const char* kQtCompanionName = "Qdx6_RerEvu_Qt.so";
inline constexpr const char* kQtShowProgressExport = "RerEvuShowTitleProgress";
// The companion's export: shows the window owned by `owner` (a QWidget*, may be null) and
// returns 1 when it closed because `finished(context)` became 1, 0 when the user closed it,
// -1 when no window could be shown. `english` 1: the window speaks English (its texts come
// from the translations beside the companion), else Japanese.
using ShowProgressFn = int (*)(void* owner, int (*finished)(void*), void* context, int english);

// Mode 1 runs the manga-site variant, anything else the ordinary fetch. Returns the title
// length (title in `title`, at most `maxBytes` bytes), 0 on failure or cancel, and 0 at once
// when another title fetch of this process is still running.
size_t FetchTitleWithProgress(void* owner, const std::string& url, int mode, size_t maxBytes, std::string& title);

}  // namespace rerevu
