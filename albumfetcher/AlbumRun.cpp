#include "albumfetcher/AlbumRun.h"

#include <algorithm>
#include <deque>

#include "albumfetcher/AlbumPages.h"
#include "albumfetcher/CodeConverter.h"
#include "download/FileDownloader.h"
#include "platform/ByteSize.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"

namespace album {

namespace {

constexpr int kPageTimeoutSec = 60;
// The downloader's agent: the bare "Mozilla/4.0 " prefix; the Referer is a whole header line.
constexpr uint32_t kAlbumAgent = 1;
constexpr uint32_t kRefererAsGiven = 0;

std::string SizeText(int64_t bytes) {
    return platform::FormatByteSize(static_cast<uint64_t>(std::max<int64_t>(0, bytes)));
}

// Pages are read into memory: nothing of them is left in any folder.
int ReadPage(const std::string& url, std::string& page, std::stop_token stop) {
    platform::HttpSession http;
    platform::HttpRequest request;
    request.url = url;
    request.agent = "Mozilla/4.0";
    request.connectTimeoutSec = kPageTimeoutSec;
    request.receiveTimeoutSec = kPageTimeoutSec;
    request.stopRequested = [stop] { return stop.stop_requested(); };
    const platform::HttpResponse response = http.FetchToMemory(request, page);
    if (response.result != platform::HttpOk) return 0;
    CleanZeroBytes(page);
    return 1;
}

// Marks the photo before as saved once the next one starts: the row in transfer says "取得中".
void MarkLastSaved(download::SessionJob& job) {
    if (!job.rows.empty() && job.rows.back()[2] == "取得中") job.rows.back()[2] = "保存済み";
}

// One run, on the session's worker thread.
class AlbumRun {
public:
    AlbumRun(download::SerialSession& session, AlbumSetup setup, std::stop_token stop)
        : m_session(session), m_setup(std::move(setup)), m_stop(stop) {}

    void Run() {
        std::string page;
        std::deque<AlbumPhoto> queue;
        if (ReadPage(m_setup.albumUrl, page, m_stop)) {
            for (AlbumPhoto& photo : ParseAlbumList(page, ViewPagePrefix(m_setup.albumUrl)))
                queue.push_back(std::move(photo));
        }
        if (m_stop.stop_requested()) return;
        m_total = static_cast<int>(queue.size());
        m_session.Update([this](download::SessionJob& job) { job.total = m_total; });
        if (queue.empty()) return m_session.End(AlbumNoPhoto);
        while (!queue.empty()) {
            const AlbumPhoto photo = queue.front();
            queue.pop_front();
            const int outcome = FetchPhoto(photo);
            if (m_stop.stop_requested()) return;
            if (outcome != AlbumDone) return m_session.End(outcome);
            ++m_done;
        }
        m_session.Update([this](download::SessionJob& job) {
            MarkLastSaved(job);
            if (m_total > 0) job.totalBar = m_done * 100 / m_total;
        });
        m_session.End(AlbumDone);
    }

private:
    // AlbumDone when the photo was tried (a failed picture is marked and the album goes on).
    int FetchPhoto(const AlbumPhoto& photo) {
        std::string page;
        PhotoFound found;
        if (!ReadPage(HighResolutionUrl(photo.viewUrl), page, m_stop) || !FindPhoto(page, photo.title, found))
            return AlbumNoPhoto;
        if (!platform::CreateFolderChain(m_setup.folder.substr(0, m_setup.folder.size() - 1))) return AlbumNoFolder;
        const std::string stem = SafeFileStem(ConvertTitle(m_setup.programFolder, found.name));
        const std::string path = UniquePhotoPath(m_setup.folder, stem);
        download::FileDownloader downloader(found.imageUrl, path);
        downloader.SetAgent(kAlbumAgent, "");
        downloader.SetHeaders(kRefererAsGiven, "Referer: " + TopPageUrl(m_setup.albumUrl));
        m_fileSize = 0;
        m_session.Update([&path](download::SessionJob& job) {
            MarkLastSaved(job);
            job.rows.push_back({path.substr(path.rfind('/') + 1), "", "取得中"});
        });
        const int result = m_session.Fetch(
            downloader, [this](int code, int64_t value) { OnCode(code, value); }, m_stop);
        if (m_stop.stop_requested()) return AlbumStopped;
        const int64_t received = downloader.Received();
        m_session.Update([&](download::SessionJob& job) {
            if (result == download::DownloadSaved) {
                if (job.rows.back()[1].empty()) job.rows.back()[1] = SizeText(received);
                ++job.savedCount;
                job.lastSaved = path;
            } else {
                job.rows.back()[2] = "取得失敗";
            }
        });
        return AlbumDone;
    }

    // On the downloader's thread.
    void OnCode(int code, int64_t value) {
        if (code == download::CodeProbed) {
            m_fileSize = value;
            if (value > 0) m_session.Update([value](download::SessionJob& job) { job.rows.back()[1] = SizeText(value); });
            return;
        }
        if (code != download::CodeProgress) return;
        const double part = m_fileSize > 0 ? std::min(1.0, static_cast<double>(value) / m_fileSize) : 0.0;
        m_session.Update([&](download::SessionJob& job) {
            job.fileBar = static_cast<int>(part * 100);
            job.fileCounter = SizeText(value);
            if (m_total > 0) job.totalBar = static_cast<int>((m_done + part) / m_total * 100);
            job.totalCounter = std::to_string(m_done + 1) + " / " + std::to_string(m_total);
        });
    }

    download::SerialSession& m_session;
    const AlbumSetup m_setup;
    std::stop_token m_stop;
    int m_total = 0;
    int m_done = 0;
    int64_t m_fileSize = 0;  // written and read on the downloader's thread only
};

}  // namespace

download::SerialSession::Plan AlbumPlan(AlbumSetup setup) {
    return [setup = std::move(setup)](download::SerialSession& session, std::stop_token stop) {
        AlbumRun(session, setup, stop).Run();
    };
}

}  // namespace album
