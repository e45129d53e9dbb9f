// The earlier versions of what an update replaces, kept under the data folder:
// "_history/<run>/<the same relative path>", one folder per update run, the newest few runs
// kept. A run writes into "<run>.incomplete" and gives the folder its name when it ends, so
// a run that was killed leaves a folder the next run recognises and completes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace records {

constexpr const char* kKeptVersionsFolder = "_history";
constexpr const char* kIncompleteSuffix = ".incomplete";

class KeptVersions {
public:
    // `folder`: the data folder (with "/"); `runName`: the run's folder name; `limit`: how many
    // runs keep their versions (0: none is kept, and earlier ones are removed at the end).
    KeptVersions(std::string folder, std::string runName, int64_t limit);

    // Copies the file at `path` (inside the data folder) into the run's folder before it is
    // replaced; the first version a run meets is the one it keeps. False when the copy failed.
    [[nodiscard]] bool Keep(const std::string& path);
    // The end of the run: its folder takes its name, and the runs beyond the limit go.
    // Returns the name of the run's folder ("" when it kept nothing).
    std::string Finish();

    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
    std::string m_runName;
    int64_t m_limit;
    bool m_kept = false;
};

// "20261208-061954" for now, local time.
std::string VersionRunName();

// Completes the folders of runs that did not end ("<run>.incomplete"): their half-copied
// files are removed and the folder gets its run's name. Returns the number completed.
int CompleteInterruptedVersions(const std::string& folder);

// Removes the oldest run folders beyond `limit`. Returns the number removed.
int PruneVersions(const std::string& folder, int64_t limit);

// The run folders under "_history", oldest first.
std::vector<std::string> VersionRuns(const std::string& folder);

}  // namespace records
