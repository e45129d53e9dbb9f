#include "engine/ProgressText.h"

#include <cmath>

#include "engine/CpuLevel.h"
#include "platform/UiText.h"

namespace engine {

namespace {

std::string MinSec(uint64_t seconds) {
    return platform::TrArgs("%1分%2秒", {std::to_string(seconds / 60), std::to_string(seconds % 60)});
}

double PartDone(const JobSnapshot& s) {
    if (s.foundCount == 0) return 0.0;
    return static_cast<double>(s.foundCount - std::min(s.pendingCount, s.foundCount)) / s.foundCount;
}

uint64_t ElapsedSeconds(const JobSnapshot& s, uint64_t now) {
    return now > s.startTick ? (now - s.startTick) / 1000 : 0;
}

}  // namespace

std::string ElapsedText(uint64_t elapsed) {
    return elapsed <= 90 ? platform::TrArgs("%1秒", {std::to_string(elapsed)}) : MinSec(elapsed);
}

std::string RemainingText(uint64_t elapsed, double p) {
    if (elapsed < 31 || !(p > 0.0)) return platform::Tr("--分--秒");
    return MinSec(static_cast<uint64_t>(static_cast<double>(elapsed) * (1.0 - p) / p));
}

std::string TimeEstimate(uint64_t elapsed, double p) {
    return platform::TrArgs("予想残り時間：%1　／　経過時間：%2", {RemainingText(elapsed, p), ElapsedText(elapsed)});
}

std::string StatusText(const JobSnapshot& s, uint64_t now) {
    const double p = PartDone(s);
    const uint32_t saved = s.foundCount - std::min(s.pendingCount, s.foundCount);
    const std::string level = LevelName(s.cpuSleepMs);
    return platform::TrArgs("保存済み%1個 ／ 発見済み%2個　･･･%3％終了（CPU %4）\r\n%5",
                            {std::to_string(saved), std::to_string(s.foundCount), std::to_string(static_cast<int>(p * 100)),
                             platform::Tr(level.c_str()), TimeEstimate(ElapsedSeconds(s, now), p)});
}

std::string ProgressTitle(const JobSnapshot& s, uint64_t now) {
    return "Sitrova - " + TimeEstimate(ElapsedSeconds(s, now), PartDone(s));
}

std::string CompletionText(uint32_t modeFlags, bool updateCheck, const std::string& name, int result) {
    if ((modeFlags & mode::ModeUpdateCheck) || updateCheck) {
        std::string text = "【" + name + "】\r\n\r\nの更新調査を終了しました。\r\n";
        if (result == 2) text += "更新されたページは存在しません。";
        else if (result == 4) text += "更新されたページのコンプリート保存に成功しました。";
        else if (result == 8) text += "しかし更新チェック、もしくはコンプリート保存に失敗したページが存在します。";
        return text;
    }
    std::string text = "【" + name + "】\r\n\r\nのコンプリート保存を終了しました。\r\n";
    if (result == 0) {
        text += (modeFlags & mode::neglect)
                    ? "※強制変換しましたが、コンプリートに失敗した可能性もあります。\r\n接続がオフラインの可能性もあります。"
                    : "しかし、ダウンロードに失敗したファイルが存在します。";
    }
    return text;
}

std::string ShownCompletionText(uint32_t modeFlags, bool updateCheck, const std::string& name, int result) {
    if ((modeFlags & mode::ModeUpdateCheck) || updateCheck) {
        std::string text = platform::TrArgs("【%1】\r\n\r\nの更新調査を終了しました。\r\n", {name});
        if (result == 2) text += platform::Tr("更新されたページは存在しません。");
        else if (result == 4) text += platform::Tr("更新されたページのコンプリート保存に成功しました。");
        else if (result == 8) text += platform::Tr("しかし更新チェック、もしくはコンプリート保存に失敗したページが存在します。");
        return text;
    }
    std::string text = platform::TrArgs("【%1】\r\n\r\nのコンプリート保存を終了しました。\r\n", {name});
    if (result == 0) {
        text += (modeFlags & mode::neglect)
                    ? platform::Tr("※強制変換しましたが、コンプリートに失敗した可能性もあります。\r\n接続がオフラインの可能性もあります。")
                    : platform::Tr("しかし、ダウンロードに失敗したファイルが存在します。");
    }
    return text;
}

std::string DescriptionText(const std::string& jobSummary, const std::string& resultText, const std::string& date,
                            const std::string& time) {
    return jobSummary + "\r\n\r\n-------------------------------------------------------------------\r\n" + resultText +
           "\r\n\r\n" + date + " - " + time;
}

}  // namespace engine
