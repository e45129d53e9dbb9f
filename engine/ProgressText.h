// The texts of the progress view's status line and title.
#pragma once

#include <cstdint>
#include <string>

#include "engine/SaveJob.h"

namespace engine {

// "予想残り時間：R　／　経過時間：E" for the seconds elapsed and the part done p (0..1).
std::string TimeEstimate(uint64_t elapsedSeconds, double partDone);
std::string ElapsedText(uint64_t elapsedSeconds);
std::string RemainingText(uint64_t elapsedSeconds, double partDone);

// The two lines of the status text for a snapshot of the job, taken at tick `now`.
std::string StatusText(const JobSnapshot& snapshot, uint64_t now);
// "Sitrova - " + the time estimate.
std::string ProgressTitle(const JobSnapshot& snapshot, uint64_t now);

// The completion report of a job that ended with `result`. A save that found an earlier
// log of the same site ran the update check and gets its texts, however it was started.
std::string CompletionText(uint32_t modeFlags, bool updateCheck, const std::string& chosenSaveName, int result);

// The same report in the user's language, as a window or the console shows it (the
// description log keeps CompletionText).
std::string ShownCompletionText(uint32_t modeFlags, bool updateCheck, const std::string& chosenSaveName, int result);

// Unattended report: summary, rule, result text and the local date and time.
std::string DescriptionText(const std::string& jobSummary, const std::string& resultText,
                            const std::string& date, const std::string& time);

}  // namespace engine
