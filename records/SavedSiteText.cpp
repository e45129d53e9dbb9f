#include "records/SavedSiteText.h"

#include <vector>

#include "engine/ModeFlags.h"
#include "platform/ByteString.h"
#include "platform/UiText.h"

namespace records {

using namespace engine::mode;

namespace {

constexpr const char* kErrorLogName = "SitrovError.log";
constexpr const char* kOutDomainFolder = "外部パスリンク";
constexpr const char* kAbsolutePathFolder = "絶対パスリンク";
constexpr const char* kOutDomainListPage = "_外部ドメインへのリンク一覧.html";

}  // namespace

std::string OptionText(uint32_t modeFlags, int32_t lankLimit) {
    using platform::Tr;
    if ((modeFlags & SavedOptionMask) == kDefaultSavedOptions) return Tr("デフォルト（変更無し）");
    std::vector<std::string> lines;
    if (lankLimit != 0)
        lines.push_back(platform::TrArgs("上位階層の上限： %1", {std::to_string(lankLimit)}));
    else
        lines.push_back(Tr("上位階層の上限： 0 （Default）"));
    if (modeFlags & neglect) lines.push_back((modeFlags & agent) ? Tr("Agent利用") : Tr("強制変換"));
    if (modeFlags & arias) lines.push_back(Tr("Alias補正"));
    if (modeFlags & datafolder) lines.push_back(Tr("データフォルダ作成"));
    if (modeFlags & qdxfile) lines.push_back(Tr("更新チェックファイル（Qdxファイル）作成"));
    if (modeFlags & OutDomainAll)
        lines.push_back(Tr("外部パスの処理：有効"));
    else if (modeFlags & OutDomainSelect)
        lines.push_back(Tr("外部パスの処理：選択"));
    else
        lines.push_back(Tr("外部パスの処理：無効"));
    if (modeFlags & TraceSelect) lines.push_back(Tr("追跡リンク選択"));
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::string RecordStem(const std::string& qdxPath) {
    const size_t slash = qdxPath.rfind('/');
    const size_t dot = qdxPath.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return qdxPath;
    return qdxPath.substr(0, dot);
}

std::string ErrorLogPathOf(const std::string& qdxPath) { return RecordStem(qdxPath) + ".files/" + kErrorLogName; }

std::string OutDomainListPageOf(const std::string& qdxPath) {
    return OutDomainFolderOf(qdxPath) + "/" + kOutDomainListPage;
}

std::string OutDomainFolderOf(const std::string& qdxPath) { return RecordStem(qdxPath) + ".files/" + kOutDomainFolder; }

std::string AbsolutePathFolderOf(const std::string& qdxPath) {
    return RecordStem(qdxPath) + ".files/" + kAbsolutePathFolder;
}

std::string AdRemovalArgument(const std::string& qdxPath) { return "advertisement,\"" + qdxPath + "\""; }

std::string LinkActionText(const std::string& name, const std::string& target) {
    return platform::TrArgs("【リンク名】\r\n%1\r\n\r\n【登録パス】\r\n%2", {name, target});
}

bool IsWebTarget(const std::string& target) {
    return platform::StartsWithI(target, "http://") || platform::StartsWithI(target, "https://");
}

}  // namespace records
