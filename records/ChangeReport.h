// The change report of an update run: "更新レポート_<date>.html" in the data folder, a page
// that needs neither a network nor scripts. It counts what the run found (new, changed,
// unchanged, gone, failed; pages and files apart), lists each with a link to its copy, and
// shows for a changed page how its visible text differs from the version the run kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/HistoryIndex.h"

namespace records {

constexpr const char* kChangeReportPrefix = "更新レポート_";
constexpr const char* kChangeReportSuffix = ".html";
// Changed pages whose text is compared at most; the others are listed without it.
constexpr size_t kMaxDiffedPages = 100;
// Bytes of a page read for the comparison at most.
constexpr size_t kMaxComparedPageBytes = 4u << 20;
// Entries listed at most under one heading.
constexpr size_t kMaxListedEntries = 5000;

// "更新レポート_20261208-090503.html" for a run that ended at `ended` (local time).
std::string ChangeReportName(int64_t ended);

// Writes the report of `run` from the entries the run met (paths relative to `folder`, the
// data folder with "/"). The page is complete before it takes its name. 1 written (`path`
// receives where), 0 failed (`error` says why).
[[nodiscard]] int WriteChangeReport(const std::string& folder, const HistoryRun& run,
                                    const std::vector<HistoryEntry>& entries, std::string& path,
                                    std::string* error = nullptr);

// The page of the report alone (what WriteChangeReport writes).
std::string ChangeReportHtml(const std::string& folder, const HistoryRun& run,
                             const std::vector<HistoryEntry>& entries);

// The newest report in the data folder `folder`; "" when there is none.
std::string NewestChangeReport(const std::string& folder);

}  // namespace records
