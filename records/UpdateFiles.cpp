#include "records/UpdateFiles.h"

#include <vector>

#include "engine/Fetcher.h"
#include "engine/JobRecords.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ContentHash.h"
#include "platform/FileUtil.h"
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

void CheckFile(engine::SaveJob& job, SaveHistory& history, KeptVersions& versions, const HistoryEntry& file,
               FilesChecked& result, Tally& tally) {
    const bool hadCopy = file.size >= 0 && platform::IsRegularFile(file.path);
    const std::string temp = file.path + kTempSuffix;
    if (!platform::CreateFolderChain(platform::FolderOf(file.path))) {
        job.AppendLog("  ！フォルダを作成できません: " + platform::FolderOf(file.path));
        return;
    }
    engine::FetchOrigin heard;
    const engine::Validators validators{file.etag, file.lastModified};
    const bool ask = hadCopy && (!validators.etag.empty() || !validators.lastModified.empty());
    const int fetched = ask ? engine::FetchUrlIfChanged(job, file.url, temp, validators, &heard)
                            : engine::FetchUrlToFile(job, file.url, temp, &heard);
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
        return f.lastRun == history.RunId() || !engine::IsAbsoluteUrl(f.url) || !InsideFolder(logFolder, f.path);
    });
    if (files.empty()) return result;
    job.AddFound(static_cast<uint32_t>(files.size()));
    job.AppendLog("埋め込みファイル" + std::to_string(files.size()) + "個の更新を調査中…");
    Tally tally;
    for (const HistoryEntry& file : files) {
        if (job.StopRequested()) break;
        CheckFile(job, history, versions, file, result, tally);
        job.LinkDone(1);
    }
    job.AppendLog("  " + std::to_string(tally.checked) + "個を調査しました（更新 " + std::to_string(tally.changed) +
                  "、新たに保存 " + std::to_string(tally.added) + "、失敗 " + std::to_string(tally.failed) + "）。");
    return result;
}

}  // namespace records
