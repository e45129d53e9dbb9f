// The download of a web file that the link window registers as a related file. The file
// downloader sits above the record windows, so the program hands them a starter for it
// (downloadqt::InstallRelatedFileDownload); without one the window reports that it cannot
// download.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace engine {
class SaveJob;
}

namespace recordsqt {

enum RelatedFileCode : int { RelatedFileSaved = 1, RelatedFileFailed = 2, RelatedFileProgress = 3 };

class RelatedFileFetch {
public:
    // Stops a fetch still running and waits for its worker.
    virtual ~RelatedFileFetch() = default;
    // The size the server announced; 0 or less when unknown.
    virtual int64_t ExpectedSize() const = 0;
};

// Runs on the fetch's worker thread: a RelatedFileCode and the bytes received so far.
using RelatedFileNotify = std::function<void(int code, int64_t value)>;
// Starts fetching `url` into `path` with the job's download settings; null when it cannot start.
using RelatedFileStart = std::function<std::unique_ptr<RelatedFileFetch>(
    const std::string& url, const std::string& path, const engine::SaveJob& job, RelatedFileNotify notify)>;

void SetRelatedFileStart(RelatedFileStart start);
const RelatedFileStart& RelatedFileStarter();

}  // namespace recordsqt
