#include "suite/ListLoader.h"

#include <charconv>

#include "platform/FileUtil.h"
#include "suite/Catalogue.h"
#include "suite/ListText.h"

namespace suite {

namespace {

int CountOf(const std::string& text) {
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return (ec == std::errc() && ptr == text.data() + text.size() && value > 0) ? value : 1;
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

QdxRow MakeQdxRow(const std::string& path, int openTimes) {
    QdxRow row;
    row.fullPath = path;
    row.fileName = platform::NameOf(path);
    row.folderName = platform::NameOf(WithoutTrailingSlash(platform::FolderOf(path)));
    row.openTimes = openTimes;
    row.details = ReadQdxDetails(path);
    if (!row.details.dataFolder.empty()) row.update = ReadUpdateSummary(row.details.dataFolder);
    return row;
}

FileRow MakeFileRow(const std::string& remote, const std::string& local) {
    FileRow row;
    row.remote = remote;
    row.local = local;
    row.fileName = platform::NameOf(local);
    row.folderPath = WithoutTrailingSlash(platform::FolderOf(local));
    row.saveDate = SaveDateText(platform::LastWriteTime(local));
    return row;
}

std::vector<QdxRow> LoadQdxRows(Catalogue& catalogue) {
    std::vector<std::string> gone;
    std::vector<QdxEntry> kept;
    for (QdxEntry& e : catalogue.QdxEntries()) {
        if (platform::IsRegularFile(e.localPath)) kept.push_back(std::move(e));
        else gone.push_back(e.localPath);
    }
    std::vector<QdxRow> rows;
    rows.reserve(kept.size());
    for (const QdxEntry& e : kept) rows.push_back(MakeQdxRow(e.localPath, CountOf(e.openTimes)));
    if (!gone.empty()) (void)catalogue.RemoveQdx(gone);
    return rows;
}

std::vector<FileRow> LoadFileRows(Catalogue& catalogue) {
    std::vector<std::string> gone;
    std::vector<FileRow> rows;
    for (const FileEntry& e : catalogue.FileEntries()) {
        if (platform::IsRegularFile(e.local)) rows.push_back(MakeFileRow(e.remote, e.local));
        else gone.push_back(e.remote);
    }
    if (!gone.empty()) (void)catalogue.RemoveFiles(gone);
    return rows;
}

}  // namespace suite
