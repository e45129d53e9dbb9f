// The save manager and the start of a save job.
#pragma once

#include <string>

namespace engine {

class SaveHost;
class SaveJob;

// Worker thread. Runs a new save or the update check of an earlier one, then the step for
// links to other sites. New save: 1 when every page was saved, else 0; update check: 2, 4, 8.
int CompCopyDlFormatManager(SaveHost& host, SaveJob& job);

// Worker thread entry: gives the worker its HTTP session and runs the manager.
int SaveWorker(SaveHost& host, SaveJob& job);

// Window thread, before the progress view is built: takes the target through the job's
// records, lays it out, marks an index page whose name was not in the URL, and opens the
// logs. 1 ready; 0 when the target is taken by another save (`refusal` says so, nothing
// was touched and the save must not start).
[[nodiscard]] int PrepareSaveStart(SaveJob& job, std::string* refusal = nullptr);

// Window thread, last step of the start: takes the start time and starts the worker.
void StartSaveWorker(SaveHost& host, SaveJob& job);

// Text of the summary shown at the top of the progress view and in the description log.
std::string BuildJobSummary(const SaveJob& job);
// The same summary in the user's language, as the progress views show it.
std::string ShownJobSummary(const SaveJob& job);

// "3分7秒" for the elapsed time of a whole save.
std::string MinutesSecondsText(uint64_t seconds);

}  // namespace engine
