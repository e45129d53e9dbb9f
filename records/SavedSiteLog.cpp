// The writer of the saved-site log and the hand-over of an earlier log at the start of a save.
#include "records/SavedSiteLog.h"

#include <algorithm>
#include <mutex>

#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/FileLock.h"
#include "platform/FileUtil.h"
#include "platform/ProgramFolder.h"
#include "platform/ReplacingWriter.h"
#include "platform/SpoolFile.h"
#include "records/RecordCodec.h"

namespace records {

namespace {

// Entries beyond this many bytes go to the spool file, so memory stays bounded.
constexpr size_t kSpoolThreshold = 1u << 20;
constexpr size_t kCopyChunk = 1u << 16;

// Beside the log, or in the temporary folder when the log's folder refuses it.
bool OpenSpool(platform::SpoolFile& spool, const std::string& logPath) {
    return spool.Open({logPath + "Spool", platform::TempFolder() + "/SitrovLogSpool"});
}

bool HasLineBreakOrNul(std::string_view text) {
    using namespace std::string_view_literals;
    return text.find_first_of("\r\n\0"sv) != std::string_view::npos;
}

int Refuse(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return 0;
}

}  // namespace

struct SavedSiteLog::Impl {
    mutable std::mutex lock;
    std::string pending;   // entries not yet in the spool
    platform::SpoolFile spool;
    uint64_t spooled = 0;  // bytes in the spool
    uint32_t count = 0;
    bool written = false;
    platform::FileLock held;  // lock on the earlier log of an update check
    bool spoolRefused = false;

    // Moves the pending entries into the spool; on failure they stay in memory.
    void Spool(const std::string& logPath) {
        if (!spool.IsOpen() && !spoolRefused) (void)OpenSpool(spool, logPath);
        if (!spool.IsOpen()) {
            spoolRefused = true;  // no place for it: the entries stay in memory
            return;
        }
        if (spool.WriteAt(spooled, pending)) {
            spooled += pending.size();
            pending.clear();
            pending.shrink_to_fit();
        }
    }

    // Spooled entries, then the pending ones, appended to the writer.
    bool CopyEntries(platform::ReplacingWriter& out) const {
        std::string chunk(kCopyChunk, '\0');
        for (uint64_t at = 0; at < spooled;) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(kCopyChunk, spooled - at));
            const int64_t n = spool.ReadAt(at, chunk.data(), want);
            if (n <= 0 || !out.Write(std::string_view(chunk.data(), static_cast<size_t>(n)))) return false;
            at += static_cast<uint64_t>(n);
        }
        return out.Write(pending);
    }
};

SavedSiteLog::SavedSiteLog(std::string logPath) : m_logPath(std::move(logPath)), m_impl(new Impl) {}

SavedSiteLog::~SavedSiteLog() { delete m_impl; }

int SavedSiteLog::RecordPage(const std::string& path, const std::string& url, int32_t level, int64_t size,
                             std::string* error) {
    // A line break would shift every later entry of the four-line format.
    if (HasLineBreakOrNul(path) || HasLineBreakOrNul(url))
        return Refuse(error, "保存ログに改行を含むパスやURLは記録できません: " + url);
    std::string sjisPath, sjisUrl;
    if (!EncodeExact(path, sjisPath, "保存ログのパス", error) || !EncodeExact(url, sjisUrl, "保存ログのURL", error))
        return 0;
    const uint32_t storedSize = size < 0 ? 0 : static_cast<uint32_t>(static_cast<uint64_t>(size) & 0xFFFFFFFFu);
    const std::string entry = sjisPath + "\r\n" + sjisUrl + "\r\n" + std::to_string(level) + "\r\n" +
                              std::to_string(storedSize) + "\r\n";
    std::lock_guard<std::mutex> guard(m_impl->lock);
    m_impl->pending += entry;
    ++m_impl->count;
    if (m_impl->pending.size() >= kSpoolThreshold) m_impl->Spool(m_logPath);
    return 1;
}

uint32_t SavedSiteLog::EntryCount() const {
    std::lock_guard<std::mutex> guard(m_impl->lock);
    return m_impl->count;
}

int SavedSiteLog::Write(const engine::SaveJob& job, std::string* error) {
    std::string folder, name, base, leaf;
    if (!EncodeExact(job.LogFolder(), folder, "保存ログのフォルダ", error) ||
        !EncodeExact(job.SaveName(), name, "保存ログのファイル名", error) ||
        !EncodeExact(job.UrlBase(), base, "保存ログのURL", error) || !EncodeExact(job.UrlLeaf(), leaf, "保存ログのURL", error))
        return 0;
    if (HasLineBreakOrNul(folder) || HasLineBreakOrNul(name) || HasLineBreakOrNul(base) || HasLineBreakOrNul(leaf))
        return Refuse(error, "保存ログの見出しに改行を含む値は書けません: " + m_logPath);
    const uint32_t mode = job.ModeFlags() & ~engine::mode::ModeUpdateCheck;

    std::lock_guard<std::mutex> guard(m_impl->lock);
    if (m_impl->written) return 1;
    std::string header = std::string(kSavedSiteLogSignature) + "\r\n";
    for (const std::string& line : {folder, name, base, leaf, std::to_string(mode), std::to_string(job.LankLimit()),
                                    std::to_string(m_impl->count), std::string(kSavedSiteLogDummyLine)})
        header += line + "\r\n";

    // Streamed: the entries may not fit in memory.
    platform::ReplacingWriter out(m_logPath);
    if (!out.Open() || !out.Write(header) || !m_impl->CopyEntries(out) ||
        !out.Commit(platform::Durability::Durable, true))
        return Refuse(error, "保存ログを書き込めません: " + m_logPath);
    m_impl->written = true;
    return 1;
}

namespace {

// A ".tmp" log that no running check holds was left by a run that ended without closing its
// log. Left alone it would make the saved site unreadable for good. False when it stays.
bool RecoverAbandonedLog(const std::string& logPath) {
    const std::string busy = logPath + kSavedSiteLogBusySuffix;
    platform::FileLock lock;
    if (lock.TakeExistingNow(busy) != platform::FileLock::LockTaken) return !platform::FileExists(busy);
    // A log that a later save wrote is newer than the ".tmp" one.
    return platform::FileExists(logPath) ? platform::RemoveFile(busy) : platform::RenameFile(busy, logPath);
}

// The earlier log can be handed over only when its header and every entry read back whole.
bool EarlierLogWhole(const std::string& logPath, SavedSiteLogReader& earlier) {
    if (platform::FileSize(logPath) <= 0) return false;
    return ReadSavedSiteLogHeader(logPath, earlier) == LogRead && SavedSiteLogIntact(logPath);
}

bool SameSite(const SavedSiteLogReader& earlier, const engine::SaveJob& job) {
    using engine::mode::SavedOptionMask;
    return (earlier.modeWord & SavedOptionMask) == (job.ModeFlags() & SavedOptionMask) &&
           platform::EqualsI(earlier.urlBase, job.UrlBase()) && platform::EqualsI(earlier.urlLeaf, job.UrlLeaf()) &&
           earlier.lankLimit == job.LankLimit();
}

}  // namespace

SavedSiteLog* OpenSavedSiteLogForSave(engine::SaveJob& job, std::vector<std::string>* notes) {
    job.SetUpdateCheck(false);
    const std::string logPath = job.LogFolder() + kSavedSiteLogName;
    auto note = [notes](std::string line) {
        if (notes) notes->push_back(std::move(line));
    };
    if (!RecoverAbandonedLog(logPath)) note("  ！以前の保存ログを元に戻せません: " + logPath + kSavedSiteLogBusySuffix);

    auto* log = new SavedSiteLog(logPath);
    if (platform::FileExists(logPath)) {
        SavedSiteLogReader earlier;
        if (!EarlierLogWhole(logPath, earlier)) {
            note("  ！以前の保存ログが壊れているため読めませんでした。全ページを保存し直します。");
        } else if (SameSite(earlier, job)) {
            // Locked before it takes the ".tmp" name, so no other run can see it unheld.
            if (log->m_impl->held.TakeExistingNow(logPath) == platform::FileLock::LockTaken &&
                platform::RenameFile(logPath, logPath + kSavedSiteLogBusySuffix))
                job.SetUpdateCheck(true);
            else
                log->m_impl->held.Release(false);
        }
    }
    if (!job.UpdateCheck() && !platform::RemoveFile(logPath))
        note("  ！以前の保存ログを削除できません: " + logPath);
    return log;
}

int CloseSavedSiteLog(engine::SaveJob& job, SavedSiteLog& log, std::string* error) {
    const int written = log.Write(job, error);
    if (job.UpdateCheck()) {
        const std::string busy = log.Path() + kSavedSiteLogBusySuffix;
        // Either step may fail only on a folder gone bad; a ".tmp" left over is taken back or
        // removed by the next save's hand-over, so the error goes to the caller's text alone.
        if (written && !platform::RemoveFile(busy) && error) *error = "以前の保存ログを削除できません: " + busy;
        if (!written && !platform::FileExists(log.Path()) && !platform::RenameFile(busy, log.Path()) && error)
            *error += " / " + busy;
    }
    return written;
}

}  // namespace records
