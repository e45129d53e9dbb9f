#include "engine/FailureReason.h"

namespace engine {

namespace {

using platform::FailureCause;

std::string_view StatusMeaning(long status) {
    switch (status) {
    case 400: return "（要求が正しくありません）";
    case 401: return "（認証が必要です）";
    case 403: return "（アクセスが禁止されています）";
    case 404: return "（見つかりません）";
    case 410: return "（削除されました）";
    case 429: return "（要求が多すぎます）";
    default: break;
    }
    if (status >= 500 && status < 600) return "（サーバーのエラー）";
    if (status >= 300 && status < 400) return "（転送先に進めません）";
    return {};
}

std::string WithDetail(std::string_view text, std::string_view detail) {
    std::string out(text);
    if (!detail.empty()) out.append("（").append(detail).append("）");
    return out;
}

}  // namespace

std::string FailureText(FailureCause cause, long status, std::string_view detail) {
    switch (cause) {
    case FailureCause::HttpStatus:
        return "サーバーの応答 HTTP " + std::to_string(status) + std::string(StatusMeaning(status));
    case FailureCause::Refused: return "サーバーに接続できません（拒否されたか、応答がありません）";
    case FailureCause::TimedOut: return "サーバーの応答がなく、時間切れになりました";
    case FailureCause::HostNotFound: return "ホストが見つかりません";
    case FailureCause::CutShort: return "転送が途中で切れました";
    case FailureCause::DiskFull: return "ディスクに空きがありません";
    case FailureCause::ReadOnly: return "保存先が読み取り専用です";
    case FailureCause::NameTooLong: return "ファイル名かパスが長すぎます";
    case FailureCause::NoPermission: return "保存先に書き込む権限がありません";
    case FailureCause::Disk: return WithDetail("ファイルを書き込めません", detail);
    case FailureCause::Cancelled: return std::string(kReasonStopped);
    case FailureCause::Network: return WithDetail("通信エラー", detail);
    case FailureCause::None: break;
    }
    return detail.empty() ? std::string(kReasonUnknown) : std::string(detail);
}

std::string ReasonLine(std::string_view indent, std::string_view reason, std::string_view url) {
    std::string line(indent);
    line.append("　理由: ").append(reason.empty() ? kReasonUnknown : reason);
    if (!url.empty()) line.append(": ").append(url);
    return line;
}

}  // namespace engine
