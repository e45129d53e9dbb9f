// The writer of the saved-site log and the hand-over of an earlier log at the start of a save.
#include "records/SavedSiteLog.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/ProgramFolder.h"
#include "records/RecordCodec.h"

namespace records {

namespace {

// Entries beyond this many bytes go to the spool file, so memory stays bounded.
constexpr size_t kSpoolThreshold = 1u << 20;
constexpr size_t kCopyChunk = 1u << 16;

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// An anonymous file (already unlinked, so a crash leaves nothing behind) beside the log, or
// in the temporary folder when the log's folder refuses it.
int OpenSpool(const std::string& logPath) {
    for (std::string base : {logPath + "Spool", platform::TempFolder() + "/SitrovLogSpool"}) {
        std::string name = base + "XXXXXX";
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) continue;
        ::unlink(name.c_str());
        return fd;
    }
    return -1;
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
    int spoolFd = -1;
    uint64_t spooled = 0;  // bytes in the spool
    uint32_t count = 0;
    bool written = false;
    int heldFd = -1;       // lock on the earlier log of an update check
    bool spoolRefused = false;

    // Moves the pending entries into the spool; on failure they stay in memory.
    void Spool(const std::string& logPath) {
        if (spoolFd < 0 && !spoolRefused) spoolFd = OpenSpool(logPath);
        if (spoolFd < 0) {
            spoolRefused = true;  // no place for it: the entries stay in memory
            return;
        }
        if (::pwrite(spoolFd, pending.data(), pending.size(), static_cast<off_t>(spooled)) ==
            static_cast<ssize_t>(pending.size())) {
            spooled += pending.size();
            pending.clear();
            pending.shrink_to_fit();
        }
    }

    // Spooled entries, then the pending ones, appended to `fd`.
    bool CopyEntries(int fd) const {
        std::string chunk(kCopyChunk, '\0');
        for (uint64_t at = 0; at < spooled;) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(kCopyChunk, spooled - at));
            const ssize_t n = ::pread(spoolFd, chunk.data(), want, static_cast<off_t>(at));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0 || !WriteAll(fd, std::string_view(chunk.data(), static_cast<size_t>(n)))) return false;
            at += static_cast<uint64_t>(n);
        }
        return WriteAll(fd, pending);
    }
};

SavedSiteLog::SavedSiteLog(std::string logPath) : m_logPath(std::move(logPath)), m_impl(new Impl) {}

SavedSiteLog::~SavedSiteLog() {
    if (m_impl->spoolFd >= 0) ::close(m_impl->spoolFd);
    if (m_impl->heldFd >= 0) ::close(m_impl->heldFd);
    delete m_impl;
}

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

    // The same steps as WriteFileReplacing, streamed: the entries may not fit in memory.
    const std::string temp = m_logPath + "Temp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0 && WriteAll(fd, header) && m_impl->CopyEntries(fd) && ::fsync(fd) == 0;
    if (fd >= 0 && ::close(fd) != 0) ok = false;
    if (ok) platform::SetHidden(temp);
    if (!ok || !platform::RenameFile(temp, m_logPath)) {
        ::unlink(temp.c_str());
        return Refuse(error, "保存ログを書き込めません: " + m_logPath);
    }
    platform::SetHidden(m_logPath);
    m_impl->written = true;
    return 1;
}

namespace {

bool SameFile(int fd, const std::string& path) {
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

// An open descriptor of `path` with an exclusive lock taken without waiting, or -1.
int LockNow(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && SameFile(fd, path)) return fd;
    ::close(fd);
    return -1;
}

// A ".tmp" log that no running check holds was left by a run that ended without closing its
// log. Left alone it would make the saved site unreadable for good.
void RecoverAbandonedLog(const std::string& logPath) {
    const std::string busy = logPath + kSavedSiteLogBusySuffix;
    const int fd = LockNow(busy);
    if (fd < 0) return;
    if (platform::FileExists(logPath))
        platform::RemoveFile(busy);  // a later save wrote a newer log
    else
        platform::RenameFile(busy, logPath);
    ::close(fd);
}

bool SameSite(const SavedSiteLogReader& earlier, const engine::SaveJob& job) {
    using engine::mode::SavedOptionMask;
    return (earlier.modeWord & SavedOptionMask) == (job.ModeFlags() & SavedOptionMask) &&
           platform::EqualsI(earlier.urlBase, job.UrlBase()) && platform::EqualsI(earlier.urlLeaf, job.UrlLeaf()) &&
           earlier.lankLimit == job.LankLimit();
}

}  // namespace

SavedSiteLog* OpenSavedSiteLogForSave(engine::SaveJob& job) {
    job.SetUpdateCheck(false);
    const std::string logPath = job.LogFolder() + kSavedSiteLogName;
    RecoverAbandonedLog(logPath);

    int held = -1;
    if (platform::FileExists(logPath)) {
        SavedSiteLogReader earlier;
        if (ReadSavedSiteLogHeader(logPath, earlier) == LogRead && SameSite(earlier, job)) {
            // Locked before it takes the ".tmp" name, so no other run can see it unheld.
            held = LockNow(logPath);
            if (held >= 0 && platform::RenameFile(logPath, logPath + kSavedSiteLogBusySuffix)) {
                job.SetUpdateCheck(true);
            } else if (held >= 0) {
                ::close(held);
                held = -1;
            }
        }
    }
    if (!job.UpdateCheck()) platform::RemoveFile(logPath);

    auto* log = new SavedSiteLog(logPath);
    log->m_impl->heldFd = held;
    return log;
}

int CloseSavedSiteLog(engine::SaveJob& job, SavedSiteLog& log, std::string* error) {
    const int written = log.Write(job, error);
    if (job.UpdateCheck()) {
        const std::string busy = log.Path() + kSavedSiteLogBusySuffix;
        if (written)
            platform::RemoveFile(busy);
        else if (!platform::FileExists(log.Path()))
            platform::RenameFile(busy, log.Path());
    }
    return written;
}

}  // namespace records
