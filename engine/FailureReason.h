// The reason a download failed, as the save's log tells it: one line that follows the
// failure line, so the failure lines themselves read as they always did.
#pragma once

#include <string>
#include <string_view>

#include "platform/FailureCause.h"

namespace engine {

// "サーバーの応答 HTTP 404（見つかりません）", "ディスクに空きがありません", ...; `detail` is
// the transfer's own text, shown for failures without a kind of their own.
std::string FailureText(platform::FailureCause cause, long status = 0, std::string_view detail = {});

// indent + "　理由: " + reason + ": " + url. The URL is written whole, also where the failure
// line cut it short.
std::string ReasonLine(std::string_view indent, std::string_view reason, std::string_view url);

// Reasons that no transfer gives.
inline constexpr std::string_view kReasonUnknown = "原因は分かりません";
inline constexpr std::string_view kReasonHostGivenUp = "このホストには先に接続できなかったため、再び試しません";
inline constexpr std::string_view kReasonNotAPicture = "画像の名前で画像ではないデータが届きました";
inline constexpr std::string_view kReasonRefusedBySite = "サイトに合わせた確認で保存しないと判断しました";
inline constexpr std::string_view kReasonFolderInTheWay = "同じ名前のフォルダがあります";
inline constexpr std::string_view kReasonNotFoundTitle = "ページタイトルが404(NotFound)を示しています";
inline constexpr std::string_view kReasonStopped = "保存を中止しました";
inline constexpr std::string_view kReasonBelow = "このページのリンク先か埋め込みデータのＤＬに失敗しました";

}  // namespace engine
