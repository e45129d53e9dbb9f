// The start of a save from a web archive: the archive the job names is read once, and the
// job's HTTP sessions then answer from it instead of the network.
#pragma once

#include <string>

namespace engine {
class SaveJob;
}

namespace app {

// True for the names of the archives a save can be made from (.warc, .warc.gz, .wacz).
bool IsWebArchiveName(const std::string& path);

// Reads the archive at `path` for the save `job`. False with `message` (for the user) when it
// cannot be read or holds no usable record; the records it had to leave out go to the job's
// log.
[[nodiscard]] bool OpenJobArchive(const std::string& path, engine::SaveJob& job, std::string& message);

}  // namespace app
