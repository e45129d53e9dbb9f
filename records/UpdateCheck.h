// The update check of a saved site: every page listed in the earlier saved-site log is
// fetched again and compared by size with its stored copy; changed and new pages are saved
// again by the new-site crawl.
#pragma once

#include <string>

namespace engine {
class SaveHost;
class SaveJob;
}  // namespace engine

namespace records {

enum UpdateCheckResult : int {
    NoPageChanged = 2,      // "更新されたページは存在しません。"
    ChangedPagesSaved = 4,  // "更新されたページのコンプリート保存に成功しました。"
    SomePageFailed = 8,     // a check or a new save failed
};

// Worker thread. Walks logFolder + "SitrovSaveInfo.log.tmp" entry by entry. Every entry is
// recorded again in the job's new log, by this walk or by the crawl that saves it. When the
// job is asked to stop, the entries not yet checked are carried over unchanged and the result
// is 8. `startPath` and `startUrl` are the manager's; the walk uses the log alone.
int CheckSavedSite(engine::SaveHost& host, engine::SaveJob& job, const std::string& startPath,
                   const std::string& startUrl);

}  // namespace records
