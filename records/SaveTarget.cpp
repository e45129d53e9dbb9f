#include "records/SaveTarget.h"

#include <algorithm>

#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/FileUtil.h"
#include "records/DescriptionLog.h"
#include "records/QdxRecord.h"
#include "records/ShortcutPage.h"

namespace records {

using namespace engine::mode;

namespace {

// Directories of the URL's path, after the scheme and host.
std::vector<std::string> UrlDirectories(const std::string& urlBase) {
    size_t start = 0;
    const size_t scheme = urlBase.find("://");
    if (scheme != std::string::npos) {
        start = urlBase.find('/', scheme + 3);
        if (start == std::string::npos) return {};
    }
    std::vector<std::string> dirs;
    size_t from = start + 1;
    for (size_t slash = urlBase.find('/', from); slash != std::string::npos; slash = urlBase.find('/', from)) {
        std::string dir = urlBase.substr(from, slash - from);
        if (dir.empty() || dir == "." || dir == "..") dir = "_";
        dirs.push_back(std::move(dir));
        from = slash + 1;
    }
    return dirs;
}

void WriteRecord(engine::SaveJob& job, std::vector<std::string>& notes) {
    std::string qdx = job.QdxPath();
    if (qdx.empty()) qdx = QdxPathOf(job.SaveFolder(), job.SaveName());
    // An existing record keeps its related links and comment untouched; a damaged one is
    // written anew, as the saved site could not be opened through it.
    const bool damaged = QdxRecordDamaged(qdx);
    if (platform::FileExists(qdx) && !damaged) return;
    if (!platform::WriteFileReplacing(qdx, NewQdxRecordText(job.ModeFlags())))
        notes.push_back("  ！Qdxファイルを作成できませんでした: " + qdx);
    else if (damaged)
        notes.push_back("  ！Qdxファイルが壊れていたため作り直しました: " + qdx);
}

// The start page's name inside the data folder.
std::string StartPageName(const engine::SaveJob& job) {
    std::string name = job.UrlLeaf();
    // A fragment names a place in the page, never part of its file (an update check brings
    // back the start's "#DefIndexNoName" mark this way).
    name = name.substr(0, name.find('#'));
    if (job.Has(FollowDynamicPages)) {
        std::string local;
        std::vector<std::string> originals, newNames;
        if (engine::DynamicLocalName(name, local, originals, newNames) > 0) name = local;
    }
    // A start URL that names only its folder is kept under the folder's index name.
    return name.empty() ? std::string("index.html") : name;
}

}  // namespace

std::string NewQdxRecordText(uint32_t modeWord) {
    return std::to_string(modeWord) + "\r\n" + kQdxFixedLine + "\r\n";
}

std::string QdxPathOf(const std::string& saveFolder, const std::string& saveName) {
    return saveFolder + StripExtension(saveName) + ".qdx";
}

std::string MirroredLevels(const std::string& urlBase, int32_t limit) {
    if (limit <= 0) return {};
    const std::vector<std::string> dirs = UrlDirectories(urlBase);
    const size_t take = std::min(dirs.size(), static_cast<size_t>(limit));
    std::string text;
    for (size_t i = dirs.size() - take; i < dirs.size(); ++i) text += dirs[i] + "/";
    return text;
}

void PrepareSaveTarget(engine::SaveJob& job, std::vector<std::string>& notes) {
    if (job.Has(qdxfile)) WriteRecord(job, notes);

    const std::string saveFolder = job.SaveFolder();
    const std::string saveName = job.SaveName();
    std::string logFolder = saveFolder;
    const bool dataFolder = job.Has(datafolder);
    if (dataFolder) {
        const std::string folder = saveFolder + StripExtension(saveName) + ".files";
        if (!platform::CreateFolder(folder)) notes.push_back("  ！データフォルダを作成できませんでした: " + folder);
        logFolder = folder + "/";
    }
    job.SetLogFolder(logFolder);

    const int32_t limit = job.LankLimit();
    const std::string startFolder = logFolder + MirroredLevels(job.UrlBase(), limit);
    if (startFolder != logFolder && !platform::CreateFolderChain(startFolder.substr(0, startFolder.size() - 1)))
        notes.push_back("  ！フォルダを作成できませんでした: " + startFolder);
    job.SetStartFolder(startFolder);

    const std::string below = startFolder.substr(saveFolder.size());
    if (dataFolder) {
        const std::string name = StartPageName(job);
        if (!WriteShortcutFile(saveFolder + saveName, below + name, DataFolderShortcutTitle()))
            notes.push_back("  ！ショートカットページを作成できませんでした: " + saveFolder + saveName);
        job.SetSaveName(name);
    } else if (limit > 0) {
        const std::string shortcut = saveFolder + LevelShortcutName(saveName);
        if (!WriteShortcutFile(shortcut, below + saveName, LevelShortcutTitle(saveName)))
            notes.push_back("  ！ショートカットページを作成できませんでした: " + shortcut);
    }
}

}  // namespace records
