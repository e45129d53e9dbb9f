// What the catalogue shows of a saved site's updates: the date and counts of its last update
// run, whether an update changed it lately, and its newest change report. Read from the
// site's history index without ever writing it; a site without a sound index reads as one
// that was never updated.
#pragma once

#include <cstdint>
#include <string>

namespace suite {

struct UpdateSummary {
    bool updated = false;           // an update run has ended
    int64_t ended = 0;              // when the last one ended (seconds since the epoch)
    int64_t counts[5] = {};         // its new, changed, unchanged, gone, failed
    int64_t lastChange = 0;         // when the last update that found new or changed pages ended
    std::string report;             // the newest change report ("" when there is none)
};

// Worker thread. `dataFolder` holds the saved-site log (with or without "/").
UpdateSummary ReadUpdateSummary(const std::string& dataFolder);

// The update column: "2026/12/08 新1 変2 同40 消1 失0", "" before the first update.
std::string UpdateColumnText(const UpdateSummary& summary);

// True when an update found new or changed pages within the last `days` days before `now`.
bool ChangedWithin(const UpdateSummary& summary, int days, int64_t now);

}  // namespace suite
