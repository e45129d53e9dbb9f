#include "engine/StartChecks.h"

#include <vector>

#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace engine {

namespace {

// The first folder of the chain that exists, for the reason a folder cannot be made.
std::string NearestExisting(std::string folder) {
    while (!folder.empty() && !platform::IsDirectory(folder)) {
        if (folder.back() == '/') folder.pop_back();
        const size_t slash = folder.rfind('/');
        if (slash == std::string::npos) return {};
        folder.resize(slash + 1);
    }
    return folder;
}

// Why a folder chain could not be made: a file in its way, or a folder that is not writable.
std::string WhyNotCreated(const std::string& folder) {
    std::string part;
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        part = folder.substr(0, slash == std::string::npos ? folder.size() : slash);
        if (!part.empty() && platform::FileExists(part) && !platform::IsDirectory(part))
            return platform::TrArgs("同じ名前のファイルがあります: %1", {part});
        if (slash == std::string::npos) break;
    }
    const std::string existing = NearestExisting(folder);
    std::string why;
    if (!existing.empty() && !platform::MayCreateIn(existing, &why))
        return platform::TrArgs("%1 に書き込めません: %2", {existing, why});
    return platform::Tr("作成に失敗しました");
}

int Fail(std::string& message, std::string text, int check = StartBadInput) {
    message = std::move(text);
    return check;
}

// The files and folders a save puts beside the chosen file: the file itself, its record and
// its data folder. A save that could make only some of them is refused before any is made.
std::vector<std::string> PathsBesideTarget(const SaveJob& job, const std::string& folder) {
    const std::string name = job.ChosenSaveName();
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    std::vector<std::string> paths{folder + name};
    if (job.Has(mode::qdxfile)) paths.push_back(folder + stem + ".qdx");
    if (job.Has(mode::datafolder)) paths.push_back(folder + stem + ".files/");
    return paths;
}

std::string TooLongText(int fit, const std::string& path) {
    if (fit == platform::PathTooLong)
        return platform::TrArgs("保存先のパスが長すぎます（パス全体で%1バイトまでです）: %2",
                                {std::to_string(platform::PathMaxBytes()), path});
    return platform::TrArgs("保存先の名前が長すぎます（フォルダ名やファイル名は1つ%1バイトまでです）: %2",
                            {std::to_string(platform::NameMaxBytes()), path});
}

}  // namespace

int CheckSaveStart(const SaveJob& job, std::string& message) {
    message.clear();
    const std::string folder = job.SaveFolder();
    const std::string path = folder + job.ChosenSaveName();
    // The record files are written in Shift-JIS: what they cannot hold is refused now, not
    // after the pages were saved without records.
    if (job.Has(mode::qdxfile)) {
        for (const std::string& text : {job.StartUrl(), path}) {
            std::string sjis;
            size_t bad = 0;
            if (platform::Utf8ToCp932(text, sjis, &bad) != platform::CodepageOk)
                return Fail(message, platform::TrArgs("記録ファイルに書けない文字 %1 が含まれています: %2",
                                                      {platform::DescribeUnmappable(text, bad), text}));
        }
    }
    if (job.ChosenSaveName().empty() || platform::IsDirectory(path))
        return Fail(message, platform::TrArgs("保存先にはファイル名を指定してください（フォルダが指定されています）: %1", {path}));
    for (const std::string& beside : PathsBesideTarget(job, folder))
        if (const int fit = platform::PathFitsLimits(beside); fit != platform::PathFits)
            return Fail(message, TooLongText(fit, beside));
    if (!platform::IsDirectory(folder) && !platform::CreateFolderChain(folder))
        return Fail(message, platform::TrArgs("保存先フォルダを作成できません: %1（%2）", {folder, WhyNotCreated(folder)}),
                    StartCannotWrite);
    if (std::string why; !platform::MayCreateIn(folder, &why))
        return Fail(message, platform::TrArgs("保存先フォルダに書き込めません: %1（%2）", {folder, why}), StartCannotWrite);
    return StartReady;
}

}  // namespace engine
