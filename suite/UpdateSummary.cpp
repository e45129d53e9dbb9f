#include "suite/UpdateSummary.h"

#include "platform/Clock.h"
#include "platform/UiText.h"
#include "records/ChangeReport.h"
#include "records/HistoryIndex.h"

namespace suite {

namespace {

constexpr const char* kUpdateKind = "update";
constexpr int64_t kSecondsPerDay = 24 * 60 * 60;

}  // namespace

UpdateSummary ReadUpdateSummary(const std::string& dataFolder) {
    UpdateSummary summary;
    const std::string folder = dataFolder.empty() || dataFolder.back() == '/' ? dataFolder : dataFolder + "/";
    if (folder.empty()) return summary;
    summary.report = records::NewestChangeReport(folder);
    records::HistoryIndex index;
    if (!index.OpenReadOnly(folder + records::kHistoryIndexName)) return summary;
    for (const records::HistoryRun& run : index.Runs()) {
        // A run that was killed has no end and no counts worth showing.
        if (run.kind != kUpdateKind || run.ended <= 0) continue;
        summary.updated = true;
        summary.ended = run.ended;
        for (int i = 0; i < 5; ++i) summary.counts[i] = run.counts[i];
        if (run.counts[0] + run.counts[1] > 0) summary.lastChange = run.ended;
    }
    return summary;
}

std::string UpdateColumnText(const UpdateSummary& summary) {
    if (!summary.updated) return {};
    const std::string when = platform::LocalDateTimeText(summary.ended);
    std::string counts[5];
    for (int i = 0; i < 5; ++i) counts[i] = std::to_string(summary.counts[i]);
    return platform::TrArgs("%1 新%2 変%3 同%4 消%5 失%6",
                            {when.substr(0, when.find(' ')), counts[0], counts[1], counts[2], counts[3], counts[4]});
}

bool ChangedWithin(const UpdateSummary& summary, int days, int64_t now) {
    return summary.lastChange > 0 && days >= 0 && summary.lastChange >= now - static_cast<int64_t>(days) * kSecondsPerDay;
}

}  // namespace suite
