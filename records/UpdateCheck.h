// The update check of a saved site: every page listed in the earlier saved-site log is
// asked for again, with the validators the history index holds for it (a 304 answer leaves
// the copy as it is); a page that comes whole is compared by its content hash with what was
// saved (by size where the index does not know it). Changed and new pages are saved again
// by the new-site crawl, after their copies were kept as earlier versions. The embedded files
// the index knows are then checked the same way, and those that failed before are tried again.
#pragma once

#include <string>

namespace engine {
class SaveHost;
class SaveJob;
}  // namespace engine

namespace records {

class SaveHistory;

enum UpdateCheckResult : int {
    NoPageChanged = 2,      // "更新されたページは存在しません。"
    ChangedPagesSaved = 4,  // "更新されたページのコンプリート保存に成功しました。"
    SomePageFailed = 8,     // a check or a new save failed
};

// Worker thread. Walks logFolder + "SitrovSaveInfo.log.tmp" entry by entry. Every entry is
// recorded again in the job's new log, by this walk or by the crawl that saves it. When the
// job is asked to stop, the entries not yet checked are carried over unchanged and the result
// is 8. `startPath` and `startUrl` are the manager's; the walk uses the log alone.
// `history` (may be null or inactive) is the job's history index.
int CheckSavedSite(engine::SaveHost& host, engine::SaveJob& job, const std::string& startPath,
                   const std::string& startUrl, SaveHistory* history = nullptr);

}  // namespace records
