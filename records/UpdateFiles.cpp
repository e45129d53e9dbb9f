#include "records/UpdateFiles.h"

#include <unordered_set>
#include <vector>

#include "engine/Fetcher.h"
#include "engine/JobRecords.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ContentHash.h"
#include "platform/FileUtil.h"
#include "records/CheckAhead.h"
#include "records/KeptVersions.h"
#include "records/SaveHistory.h"

namespace records {

namespace {

constexpr const char* kTempSuffix = ".tmp";

struct Tally {
    int checked = 0, changed = 0, added = 0, failed = 0;
};

// A stored path is used only inside the saved site: the check writes it.
bool InsideFolder(const std::string& folder, const std::string& path) {
    if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0 || path.back() == '/') return false;
    for (size_t from = folder.size(); from <= path.size();) {
        size_t slash = path.find('/', from);
        if (slash == std::string::npos) slash = path.size();
        const std::string_view part(path.data() + from, slash - from);
        if (part == ".." || part == "." || part.empty()) return false;
        from = slash + 1;
    }
    return true;
}

// Whether a copy of the file was saved before (and is still there).
bool HadCopy(const HistoryEntry& file) { return file.size >= 0 && platform::IsRegularFile(file.path); }

// How the file is asked for anew: conditionally when its copy is there and the index knows
// what it was fetched with. The checks judge the body by the file's own name.
AheadItem AskFor(const HistoryEntry& file) {
    AheadItem item;
    item.url = file.url;
    item.path = file.path;
    item.temp = file.path + kTempSuffix;
    item.known = {file.etag, file.lastModified};
    item.ask = HadCopy(file) && (!item.known.etag.empty() || !item.known.lastModified.empty());
    return item;
}

void CheckFile(engine::SaveJob& job, SaveHistory& history, KeptVersions& versions, const HistoryEntry& file,
               const AheadResult& answer, FilesChecked& result, Tally& tally) {
    const bool hadCopy = HadCopy(file);
    const std::string temp = file.path + kTempSuffix;
    const int fetched = answer.fetched;
    const engine::FetchOrigin& heard = answer.heard;
    ++tally.checked;
    if (fetched == engine::FetchNotModified) {
        history.Unchanged(file.url, file.path, false, heard, {}, -1);
        return;
    }
    if (fetched != 1) {
        platform::DiscardTemporary(temp);
        history.Failed(file.url, file.path, false, heard.status);
        if (!hadCopy) return;  // still missing, as before
        ++tally.failed;
        result.failed = true;
        job.AppendLog(file.url + "のファイルの調査に失敗しました。保存済みのファイルをそのまま残します。");
        return;
    }
    const std::string hash = platform::FileContentHash(temp);
    const std::string before = !hadCopy ? std::string() : !file.hash.empty() ? file.hash : platform::FileContentHash(file.path);
    if (hadCopy && !hash.empty() && hash == before) {
        const int64_t size = platform::FileSize(temp);
        platform::DiscardTemporary(temp);
        history.Unchanged(file.url, file.path, false, heard, hash, size);
        return;
    }
    if (hadCopy && !versions.Keep(file.path)) job.AppendLog("  ！旧版を残せませんでした: " + file.path);
    if (!platform::RenameFile(temp, file.path)) {
        platform::DiscardTemporary(temp);
        history.Failed(file.url, file.path, false, 0);
        job.AppendLog("  ！ファイルを置き換えられませんでした: " + file.path);
        if (hadCopy) result.failed = true;
        return;
    }
    engine::FetchedFile fetchedFile;
    fetchedFile.url = file.url;
    fetchedFile.path = file.path;
    fetchedFile.etag = heard.etag;
    fetchedFile.lastModified = heard.lastModified;
    fetchedFile.hash = hash;
    fetchedFile.size = platform::FileSize(file.path);
    (void)history.Fetched(fetchedFile);  // a file: its version was kept above
    result.changed = true;
    if (hadCopy) {
        ++tally.changed;
        job.AppendLog(file.url + "のファイルは更新されていました。");
    } else {
        ++tally.added;
        job.AppendLog(file.url + "のファイルを保存しました（前回はＤＬ失敗）。");
    }
}

}  // namespace

FilesChecked CheckSavedFiles(engine::SaveJob& job, const std::string& logFolder, SaveHistory& history,
                             KeptVersions& versions) {
    FilesChecked result;
    std::vector<HistoryEntry> files = history.Files();
    std::erase_if(files, [&](const HistoryEntry& f) {
        // Met by this run's crawl already, or nothing this check may touch.
        return f.lastRun == history.RunId() || !engine::IsAbsoluteUrl(f.url) || !InsideFolder(logFolder, f.path) ||
               !platform::CreateFolderChain(platform::FolderOf(f.path));
    });
    if (files.empty()) return result;
    std::vector<AheadItem> items;
    std::unordered_set<std::string> temps;
    for (const HistoryEntry& file : files) {
        items.push_back(AskFor(file));
        items.back().own = !temps.insert(items.back().temp).second;
    }
    CheckAhead ahead(job, std::move(items));
    job.AddFound(static_cast<uint32_t>(files.size()));
    job.AppendLog("埋め込みファイル" + std::to_string(files.size()) + "個の更新を調査中…");
    Tally tally;
    for (size_t i = 0; i < files.size() && !job.StopRequested(); ++i) {
        CheckFile(job, history, versions, files[i], ahead.Take(i), result, tally);
        job.LinkDone(1);
    }
    job.AppendLog("  " + std::to_string(tally.checked) + "個を調査しました（更新 " + std::to_string(tally.changed) +
                  "、新たに保存 " + std::to_string(tally.added) + "、失敗 " + std::to_string(tally.failed) + "）。");
    return result;
}

}  // namespace records
