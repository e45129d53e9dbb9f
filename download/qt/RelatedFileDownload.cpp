#include "download/qt/RelatedFileDownload.h"

#include "download/FileDownloader.h"
#include "engine/SaveJob.h"
#include "records/qt/RelatedFileFetch.h"

namespace downloadqt {

namespace {

class RelatedDownload : public recordsqt::RelatedFileFetch {
public:
    RelatedDownload(const std::string& url, const std::string& path) : downloader(url, path) {}
    int64_t ExpectedSize() const override { return downloader.ExpectedSize(); }

    download::FileDownloader downloader;
};

std::unique_ptr<recordsqt::RelatedFileFetch> StartRelated(const std::string& url, const std::string& path,
                                                          const engine::SaveJob& job,
                                                          recordsqt::RelatedFileNotify notify) {
    auto fetch = std::make_unique<RelatedDownload>(url, path);
    download::SetUpUserDownload(fetch->downloader, job.IniPath(), job.ProgramFolder());
    const int started = fetch->downloader.Start([notify = std::move(notify)](int code, int64_t value) {
        switch (code) {
        case download::CodeFinished: return notify(recordsqt::RelatedFileSaved, value);
        case download::CodeFailed: return notify(recordsqt::RelatedFileFailed, value);
        case download::CodeProgress: return notify(recordsqt::RelatedFileProgress, value);
        default: return;
        }
    });
    return started == 1 ? std::move(fetch) : nullptr;
}

}  // namespace

void InstallRelatedFileDownload() { recordsqt::SetRelatedFileStart(&StartRelated); }

}  // namespace downloadqt
