// The checks that the site adapters of a job make on every file its save fetches: blog saves
// have their pages treated for their service, saves from the web archive have the archive's
// error pages replaced by pages of their own.
#pragma once

#include <string>

namespace engine {

class SaveJob;

// True when files fetched for the job go through an adapter's check.
bool HasSiteChecks(const SaveJob& job);

// The checks of the job's adapters on a fetched file at `path` (fetched from `url`); they
// may rewrite it. 1 keep the file, 0 refuse it (the caller deletes it and the fetch fails),
// 2 (platform::RewriteNotWritten) the rewrite failed on the disk and errno says why; the
// file is as unusable as a refused one.
// Runs on the thread of the fetch.
[[nodiscard]] int CheckFetchedFile(const SaveJob& job, const std::string& url, const std::string& path);

}  // namespace engine
