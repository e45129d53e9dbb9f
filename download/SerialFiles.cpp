#include "download/SerialFiles.h"

#include <algorithm>

#include "download/FileDownloader.h"
#include "download/SerialName.h"
#include "engine/Fetcher.h"
#include "platform/ByteSize.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace download {

namespace {

using platform::Tr;

// Nobody watches an unattended run: a server that stays busy for this many pauses ends it
// instead of keeping the program alive for ever.
constexpr int kUnattendedBusyPauses = 20;

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }
std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string SizeText(int64_t bytes) { return platform::FormatByteSize(static_cast<uint64_t>(bytes)); }

std::string SavedSizeText(const std::string& path) {
    const int64_t size = platform::FileSize(path);
    return size > 0 ? SizeText(size) : platform::Tr("サイズ不明");
}

// A progress line with why its download failed appended in brackets.
std::string WithReason(const std::string& line, const std::string& reason) {
    return reason.empty() ? line : line + " [" + reason + "]";
}

int Percent(int64_t received, int64_t expected) {
    return static_cast<int>(std::min<int64_t>(100, received * 100 / expected));
}

// One run of the plan, on the session's worker thread.
class SerialRun {
public:
    SerialRun(SerialSession& session, SerialSetup setup, std::stop_token stop)
        : m_session(session), m_setup(std::move(setup)), m_stop(stop) {}

    void Run() {
        if (!SaveFirst()) return;
        std::string next;
        const int found = NextSerialUrl(m_setup.firstUrl, next, Probe());
        if (Stopped()) return;
        if (!found) return m_session.End(SerialSingleDone);
        if (!m_setup.unattended && m_session.Ask(QuestionSeries, m_stop) != AnswerGoOn) {
            if (Stopped()) return;
            return m_session.End(SerialSingleDone);
        }
        RunSeries(next);
    }

private:
    bool Stopped() const { return m_stop.stop_requested(); }

    ExistsProbe Probe() const {
        return [stop = m_stop](const std::string& url) {
            return engine::ProbeStatusUnlessStopped(url, [&stop] { return stop.stop_requested(); });
        };
    }

    // Fetches one file; `series` picks the words its codes are shown with.
    int FetchFile(const std::string& url, const std::string& path, bool series) {
        m_session.Update([](SessionJob& job) { job.fileBar = 0; });
        FileDownloader downloader(url, path);
        SetUpUserDownload(downloader, m_setup.iniPath, m_setup.programFolder);
        const int result = m_session.Fetch(
            downloader,
            [this, series, &downloader](int code, int64_t value) {
                if (code == CodeProgress) return ShowProgress(value, downloader.ExpectedSize());
                if (series) return SeriesCode(code, value);
                SingleCode(code, value);
            },
            m_stop);
        m_reason = downloader.Reason();
        m_shownReason = downloader.ShownReason();
        return result;
    }

    void ShowProgress(int64_t received, int64_t expected) {
        if (expected > 0) m_session.Update([&](SessionJob& job) { job.fileBar = Percent(received, expected); });
    }

    void SingleCode(int code, int64_t value) {
        switch (code) {
        case CodeProbed:
            if (value == -1) return m_session.AddLine(Tr("[Error]ファイルサイズが取得できません。"));
            if (value == -503)
                return m_session.AddLine(Tr("[Error]ファイルサイズが取得できません。(File size is unknow because 503)"));
            m_session.AddLine(platform::TrArgs("ファイルサイズは %1 です。", {SizeText(value)}));
            return m_session.AddLine(Tr("サーバーに接続しています･･･"));
        case CodeConnected:
            m_session.AddLine(Tr("サーバーに接続しました。"));
            return m_session.AddLine(Tr("URLに接続しています･･･"));
        case CodeOpened:
            m_session.AddLine(Tr("URLに接続しました。"));
            return m_session.AddLine(Tr("ダウンロードしています･･･"));
        case CodeRetrying:
            return m_session.AddLine(Tr("[Error]何らかのエラーが発生しました。一定秒数待機後にリジュームを試みます･･･"));
        default: return;
        }
    }

    void SeriesCode(int code, int64_t value) {
        switch (code) {
        case CodeProbed:
            return SetStatus(value == -1 ? Tr("サイズ不明") : value == -503 ? Tr("応答無し") : Tr("取得中"));
        case CodeConnected: return SetStatus(Tr("接続中"));
        case CodeOpened: return SetStatus(Tr("保存中"));
        case CodeRetrying: return SetStatus(Tr("応答待機中"));
        default: return;
        }
    }

    // A broken connection is worth another try while somebody watches; nobody waits for it
    // in an unattended run.
    bool WorthWaiting(int result) const {
        return result == DownloadBusy || (result == DownloadBroken && !m_setup.unattended);
    }

    // False when the run is to end instead: stopped, or busy too often with nobody watching.
    bool PauseForBusyServer() {
        if (m_setup.unattended && ++m_busyPauses > kUnattendedBusyPauses) return false;
        return m_session.PauseFor(m_setup.busyPauseMs, m_stop);
    }

    bool SaveFirst() {
        for (;;) {
            const int result = FetchFile(m_setup.firstUrl, m_setup.firstPath, false);
            if (Stopped()) return false;
            if (result == DownloadSaved) {
                m_session.Update([this](SessionJob& job) {
                    job.fileBar = 100;
                    job.lines.push_back(Tr("ダウンロードに成功しました。"));
                    ++job.savedCount;
                    job.lastSaved = m_setup.firstPath;
                });
                m_busyPauses = 0;
                return true;
            }
            if (WorthWaiting(result)) {
                m_session.AddLine(WithReason(
                    platform::TrArgs("[Error]サーバーが応答しません。(503 Service Temporarily Unavailable / Link Down) "
                                     "%1秒間待機後に再試行します･･･",
                                     {std::to_string(m_setup.busyPauseMs / 1000)}),
                    m_shownReason));
                if (PauseForBusyServer()) continue;
                if (!Stopped()) m_session.End(SerialNoAnswer);
                return false;
            }
            if (result == DownloadNotFound) {
                m_session.AddLine(WithReason(Tr("[Error]指定されたファイルは存在しません。(404 Not Found.)"), m_shownReason));
                m_session.End(SerialNotFound, m_reason, m_shownReason);
                return false;
            }
            // The file was there but could not be kept: a disk error, a body past the size
            // bound, or a connection that broke on every try. Asking for the URL again would
            // not help.
            m_session.AddLine(WithReason(Tr("[Error]ファイルを保存できませんでした。"), m_shownReason));
            m_session.End(SerialNotSaved, m_reason, m_shownReason);
            return false;
        }
    }

    void RunSeries(std::string url) {
        const std::string firstSize = SavedSizeText(m_setup.firstPath);
        m_session.Update([&](SessionJob& job) {
            job.stage = StageSeries;
            job.rows.push_back({UrlFileName(m_setup.firstUrl), NameOf(m_setup.firstPath), firstSize});
        });
        for (;;) {
            const std::string name = SerialLocalName(m_setup.saveName, url);
            const std::string path = FolderOf(m_setup.firstPath) + name;
            m_session.Update([&](SessionJob& job) { job.rows.push_back({UrlFileName(url), name, ""}); });
            const int result = FetchFile(url, path, true);
            if (Stopped()) return;
            if (result == DownloadSaved) {
                SeriesFileSaved(path);
                std::string next;
                (void)NextSerialUrl(url, next, Probe());
                if (Stopped()) return;
                url = next;
                continue;
            }
            if (WorthWaiting(result)) {
                SetStatus(Tr("一時停止中"));
                if (!PauseForBusyServer()) {
                    if (Stopped()) return;
                    SetStatus(Tr("応答無し"));
                    return EndSeries({}, {});
                }
                // The row comes back when the file is tried again.
                m_session.Update([](SessionJob& job) { job.rows.pop_back(); });
                continue;
            }
            if (result == DownloadNotFound) {
                SetStatus(WithReason(Tr("見つかりません"), m_shownReason));
                return EndSeries({}, {});
            }
            // The series cannot go on behind a file it could not keep (a full disk, above all).
            SetStatus(Tr("保存失敗"));
            if (m_reason.empty()) return EndSeries("ファイルを保存できませんでした", Tr("ファイルを保存できませんでした"));
            return EndSeries(m_reason, m_shownReason);
        }
    }

    void SeriesFileSaved(const std::string& path) {
        const std::string size = SavedSizeText(path);
        m_busyPauses = 0;
        m_session.Update([&](SessionJob& job) {
            ++job.savedCount;
            job.lastSaved = path;
            job.rows.back()[1] = NameOf(path);
            job.rows.back()[2] = size;
            job.fileBar = 0;
            job.fileCounter = Tr("待機中");
        });
    }

    // `failure` (empty at the end of the numbering) says why the series was broken off;
    // `shownFailure` says it in the user's language.
    void EndSeries(const std::string& failure, const std::string& shownFailure) {
        m_session.Update([&](SessionJob& job) {
            // The row of the file that is not there goes: the list shows what was saved.
            if (!job.rows.empty()) job.rows.pop_back();
            // Not the end of the numbering: the run was broken off, and the log says why.
            if (!failure.empty())
                job.lines.push_back(WithReason(Tr("[Error]連番ファイルの保存を中断しました。"), shownFailure));
        });
        m_session.End(SerialSeriesDone, failure, shownFailure);
    }

    void SetStatus(const std::string& word) {
        m_session.Update([&](SessionJob& job) {
            if (!job.rows.empty()) job.rows.back()[2] = word;
        });
    }

    SerialSession& m_session;
    const SerialSetup m_setup;
    std::stop_token m_stop;
    std::string m_reason;       // for the record (the description log of an unattended run)
    std::string m_shownReason;  // for the window
    int m_busyPauses = 0;
};

}  // namespace

SerialSession::Plan SerialFilesPlan(SerialSetup setup) {
    return [setup = std::move(setup)](SerialSession& session, std::stop_token stop) {
        SerialRun(session, setup, stop).Run();
    };
}

}  // namespace download
