// The batch: queued parameter files in the folder "BatTask" beside the program (or in the
// user's data place, platform/UserPlaces.h), and the script that runs them one after the
// other through SitrovaCui /some.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace engine {
class SaveJob;
}

namespace app {

constexpr const char* kBatchFolderName = "BatTask";
constexpr const char* kBatchScriptName = "QdxBatTask.sh";
// Locked by the running script; the file itself stays.
constexpr const char* kBatchLockName = "QdxBatTask.lock";

std::string BatchFolder(const std::string& programFolder);

// Queues the job: writes BatTask/<save name without extension>.xml from the template, filled
// with the job's URL, save path and, for a complete save, its options. When that name is
// queued already, the job gets "<name>(2).xml", "<name>(3).xml" and so on: a queued job is
// never replaced. 1 on success; on failure `error` tells why.
[[nodiscard]] int WriteParameterFile(const engine::SaveJob& job, bool completeSave, std::string* error = nullptr);

enum BatchResult : int { BatchRunning = -1, BatchEmpty = 0, BatchNotStarted = -2 };

// The queued files, oldest first (the order in which they were added).
std::vector<std::string> QueuedFiles(const std::string& programFolder);

// The script that runs `files` (names inside the batch folder) one after the other while it
// holds the batch lock, deletes each one that SitrovaCui ran to its end, then itself. A
// signal stops the running job and the script; the files not run stay queued.
std::string BatchScript(const std::string& programFolder, const std::vector<std::string>& files);

// Runs the batch: BatchRunning while a script holds the batch lock (or was started moments
// ago and is about to take it), BatchEmpty when nothing is queued, BatchNotStarted when the
// script could not be written or started, else the number of files. The script runs in a terminal when a desktop is there, otherwise by itself.
[[nodiscard]] int RunBatch(const std::string& programFolder, bool desktop,
                           const std::function<int(const std::string&, const std::vector<std::string>&)>& start);

// The text shown for a result of RunBatch.
std::string BatchResultMessage(int result);

}  // namespace app
