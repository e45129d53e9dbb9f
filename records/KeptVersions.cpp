#include "records/KeptVersions.h"

#include <algorithm>
#include <utility>

#include "platform/Clock.h"
#include "platform/FileCopy.h"
#include "platform/FileUtil.h"
#include "platform/FolderList.h"
#include "platform/FolderTree.h"

namespace records {

namespace {

bool EndsWith(const std::string& s, std::string_view tail) {
    return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string HistoryRoot(const std::string& folder) { return folder + kKeptVersionsFolder + "/"; }

// The copy of a kept file is written to its name + "Temp" first; one left by a kill is half.
int RemoveHalfCopies(const std::string& folder) {
    int removed = 0;
    for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
        if (entry.isLink) continue;
        if (entry.isFolder) removed += RemoveHalfCopies(folder + entry.name + "/");
        else if (EndsWith(entry.name, "Temp") && platform::RemoveFile(folder + entry.name)) ++removed;
    }
    return removed;
}

// A free name for a finished run's folder: its own, or with "-2", "-3"... when a run of the
// same second is there.
std::string FreeRunName(const std::string& root, const std::string& name) {
    std::string candidate = name;
    for (int n = 2; platform::FileExists(root + candidate); ++n) candidate = name + "-" + std::to_string(n);
    return candidate;
}

std::string Digits(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

}  // namespace

KeptVersions::KeptVersions(std::string folder, std::string runName, int64_t limit)
    : m_folder(std::move(folder)), m_runName(std::move(runName)), m_limit(limit) {}

bool KeptVersions::Keep(const std::string& path) {
    if (m_limit <= 0 || m_runName.empty()) return true;
    if (path.size() <= m_folder.size() || path.compare(0, m_folder.size(), m_folder) != 0) return false;
    if (!platform::IsRegularFile(path)) return true;
    const std::string target = HistoryRoot(m_folder) + m_runName + kIncompleteSuffix + "/" + path.substr(m_folder.size());
    m_kept = true;
    if (platform::FileExists(target)) return true;  // the run's first version stays
    return platform::CreateFolderChain(platform::FolderOf(target)) && platform::CopyFileQuick(path, target);
}

std::string KeptVersions::Finish() {
    std::string name;
    if (m_kept) {
        const std::string root = HistoryRoot(m_folder);
        name = FreeRunName(root, m_runName);
        if (!platform::RenameFile(root + m_runName + kIncompleteSuffix, root + name)) name.clear();
    }
    (void)PruneVersions(m_folder, std::max<int64_t>(m_limit, 0));
    return name;
}

std::string VersionRunName() {
    // "2026/12/07" and "9:05:03"
    std::string time = Digits(platform::LocalTimeText());
    if (time.size() == 5) time.insert(0, "0");
    return Digits(platform::LocalDateText()) + "-" + time;
}

int CompleteInterruptedVersions(const std::string& folder) {
    const std::string root = HistoryRoot(folder);
    int completed = 0;
    for (const platform::FolderEntry& entry : platform::ListFolder(root)) {
        if (!entry.isFolder || entry.isLink || !EndsWith(entry.name, kIncompleteSuffix)) continue;
        const std::string from = root + entry.name;
        (void)RemoveHalfCopies(from + "/");
        const std::string name = FreeRunName(root, entry.name.substr(0, entry.name.size() - std::string_view(kIncompleteSuffix).size()));
        if (platform::RenameFile(from, root + name)) ++completed;
    }
    return completed;
}

std::vector<std::string> VersionRuns(const std::string& folder) {
    std::vector<std::string> runs;
    for (const platform::FolderEntry& entry : platform::ListFolder(HistoryRoot(folder)))
        if (entry.isFolder && !entry.isLink && !EndsWith(entry.name, kIncompleteSuffix)) runs.push_back(entry.name);
    std::sort(runs.begin(), runs.end());
    return runs;
}

int PruneVersions(const std::string& folder, int64_t limit) {
    const std::vector<std::string> runs = VersionRuns(folder);
    int removed = 0;
    const size_t keep = static_cast<size_t>(std::max<int64_t>(limit, 0));
    for (size_t i = 0; i + keep < runs.size(); ++i)
        if (platform::RemoveFolderTree(HistoryRoot(folder) + runs[i])) ++removed;
    // An empty "_history" says nothing; it goes with the last run.
    if (!runs.empty() && platform::ListFolder(HistoryRoot(folder)).empty())
        (void)platform::RemoveFolderTree(HistoryRoot(folder));
    return removed;
}

}  // namespace records
