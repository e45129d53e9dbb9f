// The embedded files of a saved site (pictures, sounds, other files its pages show) in an
// update: each one the history index knows is asked for again, with its validators, and
// replaced when it changed; one whose download failed before is tried again. Worker thread.
#pragma once

#include <string>

namespace engine {
class SaveJob;
}

namespace records {

class KeptVersions;
class SaveHistory;

struct FilesChecked {
    bool changed = false;  // a file was replaced or saved for the first time
    bool failed = false;   // the check of a file that had a copy failed
};

// Checks the files the run has not met yet; stops between files when the job is asked to.
FilesChecked CheckSavedFiles(engine::SaveJob& job, const std::string& logFolder, SaveHistory& history,
                             KeptVersions& versions);

}  // namespace records
