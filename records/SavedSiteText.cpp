#include "records/SavedSiteText.h"

#include "engine/ModeFlags.h"
#include "platform/ByteString.h"

namespace records {

using namespace engine::mode;

namespace {

constexpr const char* kErrorLogName = "SitrovError.log";
constexpr const char* kOutDomainFolder = "外部パスリンク";
constexpr const char* kAbsolutePathFolder = "絶対パスリンク";
constexpr const char* kOutDomainListPage = "_外部ドメインへのリンク一覧.html";

}  // namespace

std::string OptionText(uint32_t modeFlags, int32_t lankLimit) {
    if ((modeFlags & SavedOptionMask) == kDefaultSavedOptions) return "デフォルト（変更無し）";
    std::string text;
    if (lankLimit != 0)
        text += "上位階層の上限： " + std::to_string(lankLimit) + "\r\n";
    else
        text += "上位階層の上限： 0 （Default）\r\n";
    if (modeFlags & neglect) text += (modeFlags & agent) ? "Agent利用\r\n" : "強制変換\r\n";
    if (modeFlags & arias) text += "Alias補正\r\n";
    if (modeFlags & datafolder) text += "データフォルダ作成\r\n";
    if (modeFlags & qdxfile) text += "更新チェックファイル（Qdxファイル）作成\r\n";
    if (modeFlags & OutDomainAll)
        text += "外部パスの処理：有効\r\n";
    else if (modeFlags & OutDomainSelect)
        text += "外部パスの処理：選択\r\n";
    else
        text += "外部パスの処理：無効\r\n";
    if (modeFlags & TraceSelect) text += "追跡リンク選択\r\n";
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
    return "【リンク名】\r\n" + name + "\r\n\r\n【登録パス】\r\n" + target;
}

bool IsWebTarget(const std::string& target) {
    return platform::StartsWithI(target, "http://") || platform::StartsWithI(target, "https://");
}

}  // namespace records
