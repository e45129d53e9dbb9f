// One complete save in the schedule: what the user typed in its dialog, the options, and
// the argument text that starts Sitrova for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/NamedOptions.h"

namespace scheduler {

inline constexpr size_t kTextLimit = 259;    // longest URL, path or limit text of a job
inline constexpr size_t kCommandLimit = 1023;
inline constexpr int kMaxJobs = 32;
inline constexpr std::string_view kMakerWord = "ravevor";

struct ScheduledJob {
    std::string url;             // exactly as typed
    std::string savePath;        // full path of the file that receives the start page
    std::string upperLimitText;  // digits only, may be empty
    std::string jobCommand;      // the arguments built on OK (see CommandArguments)
    bool forceConvert = false;   // "強制変換"
    bool aliasFix = false;       // "Alias補整"
    bool useAgent = false;       // "Agent利用"
    bool dataFolder = true;      // "データフォルダ"
    bool updateLog = true;       // "更新ログ"
    bool outDomainEnabled = false;  // "外部パスの処理": "有効"
    int cpuLevel = 3;            // 1..4: "最小", "軽い", "最適", "最大"
    bool makerMode = false;
    bool optionsShown = false;
    bool accepted = false;
    engine::NamedOptions named;  // options of this save only; the default ones are not passed
    // The named options Sitrova takes from its settings file, as read when the job was made
    // (a new job starts with them). The command passes every option of `named` that differs
    // from them or from the default, so that the job runs with what its dialog showed.
    engine::NamedOptions settingsNamed;
};

// A new job; `commandWord` is the word behind the program name on its command line.
ScheduledJob NewScheduledJob(std::string_view commandWord);

// "CPU占有率：最適" and its kin.
std::string CpuLevelText(int cpuLevel);

// The option bits of the job (without the bits that only the command carries).
uint32_t JobOptionBits(const ScheduledJob& job);
// Index of the job's list icon among the 26 (0 finished, 1 running, 2..25 by options).
int JobIconIndex(const ScheduledJob& job);
// The 26 icon names in list order.
std::string_view IconName(int index);
inline constexpr int kIconCount = 26;

enum SavePathResult : int { SavePathValid = 1, SavePathInvalid = 0 };

// 1 when the URL may start a save: "http://" (or "https://") in lower case, and nothing in
// it that would break the argument text.
[[nodiscard]] int IsAcceptedUrl(std::string_view url);
// The save path rules; `reserved` is the helper library's device-name answer (1 = reserved).
[[nodiscard]] int CheckSavePath(std::string_view path, int reserved);
// The whole OK step after validation: stores the target, builds `jobCommand` and sets
// `accepted`. `blogUrl` is the helper library's answer for the URL (1 = blog).
void AcceptJob(ScheduledJob& job, int blogUrl);

// The "--name=value" arguments that make a save take `named`, where it would take `settings`
// without them: each option that differs from those or from its default.
std::vector<std::string> NamedArgumentsFor(const engine::NamedOptions& named, const engine::NamedOptions& settings);

// The program arguments of a job command: its named options ("--name=value") stand one per
// line before the "SomeComplete" argument. A command of one line is one argument, as
// commands always were.
std::vector<std::string> CommandArguments(std::string_view jobCommand);

// The proposed name of the save-file dialog, from the two edits.
std::string ProposedFileName(std::string_view pathEdit, std::string_view urlEdit);
// The prefill of a new job from clipboard text; false when the text is no URL.
bool PrefillFromClipboard(ScheduledJob& job, std::string_view clipboard, const std::string& currentFolder);
// The folder part of the path edit, through its last "/" ("" when none).
std::string PathFolderPart(std::string_view path);

}  // namespace scheduler
