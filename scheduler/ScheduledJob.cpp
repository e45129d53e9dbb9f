#include "scheduler/ScheduledJob.h"

#include <array>
#include <cstdio>

#include "engine/FillJob.h"
#include "engine/ModeFlags.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace scheduler {

namespace {

using namespace engine::mode;
// Characters a file name may not hold, besides the folder separator.
constexpr std::string_view kBadNameChars = ":,;?<>|\"";

constexpr std::array<std::string_view, kIconCount> kIconNames = {
    "QdXSchdIcon_Play_Fin",     "QdXSchdIcon_Play_Working",
    "QdXSchdIcon_Play_Nml",     "QdXSchdIcon_Play_NmlAg",   "QdXSchdIcon_Play_NmlCv",   "QdXSchdIcon_Play_NmlAl",
    "QdXSchdIcon_Play_NmlAgAl", "QdXSchdIcon_Play_NmlCvAl", "QdXSchdIcon_Play_Qdx",     "QdXSchdIcon_Play_QdxAg",
    "QdXSchdIcon_Play_QdxCv",   "QdXSchdIcon_Play_QdxAl",   "QdXSchdIcon_Play_QdxAgAl", "QdXSchdIcon_Play_QdxCvAl",
    "QdXSchdIcon_Play_Fld",     "QdXSchdIcon_Play_FldAg",   "QdXSchdIcon_Play_FldCv",   "QdXSchdIcon_Play_FldAl",
    "QdXSchdIcon_Play_FldAgAl", "QdXSchdIcon_Play_FldCvAl", "QdXSchdIcon_Play_QdF",     "QdXSchdIcon_Play_QdFAg",
    "QdXSchdIcon_Play_QdFCv",   "QdXSchdIcon_Play_QdFAl",   "QdXSchdIcon_Play_QdFAgAl", "QdXSchdIcon_Play_QdFCvAl",
};

std::string Limited(std::string_view text) { return std::string(text.substr(0, kTextLimit)); }

}  // namespace

ScheduledJob NewScheduledJob(std::string_view commandWord) {
    ScheduledJob job;
    job.makerMode = platform::EqualsI(commandWord, kMakerWord);
    return job;
}

std::string CpuLevelText(int cpuLevel) {
    const char* const names[4] = {platform::Tr("最小"), platform::Tr("軽い"), platform::Tr("最適"), platform::Tr("最大")};
    const int index = cpuLevel >= 1 && cpuLevel <= 4 ? cpuLevel - 1 : 2;
    return platform::TrArgs("CPU占有率：%1", {names[index]});
}

uint32_t JobOptionBits(const ScheduledJob& job) {
    uint32_t bits = ModeNormal;
    if (job.forceConvert) bits |= neglect;
    if (job.aliasFix) bits |= arias;
    if (job.useAgent) bits |= agent;
    if (job.dataFolder) bits |= datafolder;
    if (job.updateLog) bits |= qdxfile;
    if (job.outDomainEnabled) bits |= OutDomainAll;
    if (job.makerMode) bits |= ModeMaker;
    return bits;
}

int JobIconIndex(const ScheduledJob& job) {
    int index = job.updateLog ? (job.dataFolder ? 20 : 8) : (job.dataFolder ? 14 : 2);
    if (job.forceConvert) index += job.useAgent ? 1 : 2;
    if (job.aliasFix) index += 3;
    return index;
}

std::string_view IconName(int index) {
    return index >= 0 && index < kIconCount ? kIconNames[static_cast<size_t>(index)] : std::string_view();
}

int IsAcceptedUrl(std::string_view url) {
    if (!url.starts_with("http://") && !url.starts_with("https://")) return 0;
    if (url.size() > kTextLimit || url.find_first_of("\"\r\n") != std::string_view::npos) return 0;
    return 1;
}

int CheckSavePath(std::string_view path, int reserved) {
    if (path.empty() || path.size() > kTextLimit || path.find('*') != std::string_view::npos || reserved == 1)
        return SavePathInvalid;
    const size_t slash = path.rfind('/');
    if (slash == std::string_view::npos || slash + 1 >= path.size()) return SavePathInvalid;
    const std::string_view name = path.substr(slash + 1);
    if (name.find_first_of(kBadNameChars) != std::string_view::npos || name == "." || name == "..") return SavePathInvalid;
    const std::string folder(slash == 0 ? std::string_view("/") : path.substr(0, slash));
    return platform::IsDirectory(folder) ? SavePathValid : SavePathInvalid;
}

void AcceptJob(ScheduledJob& job, int blogUrl) {
    uint32_t bits = JobOptionBits(job);
    std::string target = job.url;
    bits |= engine::AppendIndexPage(target, "index.html#DefIndexNoName");
    if (job.savePath.find(".htm") == std::string::npos) job.savePath += ".html";
    if (blogUrl == 1) bits |= BlogSite;
    bits |= ModeSomeComplete;
    char command[kCommandLimit + 1];
    std::snprintf(command, sizeof command, "SomeComplete,%c%s%c,%c%s%c,%c%d%c,%c%s%c,%c%d%c", '"', target.c_str(), '"',
                  '"', job.savePath.c_str(), '"', '"', static_cast<int>(bits), '"', '"', job.upperLimitText.c_str(),
                  '"', '"', job.cpuLevel, '"');
    job.jobCommand.clear();
    // Named values hold no line break: the lines of the command stay its arguments.
    for (const std::string& argument : NamedArgumentsFor(job.named, job.settingsNamed)) job.jobCommand += argument + "\n";
    job.jobCommand += command;
    job.accepted = true;
}

std::vector<std::string> NamedArgumentsFor(const engine::NamedOptions& named, const engine::NamedOptions& settings) {
    const engine::NamedOptions defaults;
    std::vector<std::string> arguments;
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
        const std::string value = engine::NamedOptionText(named, option);
        if (value != engine::NamedOptionText(defaults, option) || value != engine::NamedOptionText(settings, option))
            arguments.push_back("--" + std::string(option.name) + "=" + value);
    }
    return arguments;
}

std::vector<std::string> CommandArguments(std::string_view jobCommand) {
    std::vector<std::string> arguments;
    for (;;) {
        const size_t end = jobCommand.find('\n');
        arguments.emplace_back(jobCommand.substr(0, end));
        if (end == std::string_view::npos) return arguments;
        jobCommand.remove_prefix(end + 1);
    }
}

std::string ProposedFileName(std::string_view pathEdit, std::string_view urlEdit) {
    if (!pathEdit.empty()) {
        const size_t slash = pathEdit.rfind('/');
        if (slash != std::string_view::npos) return std::string(pathEdit.substr(slash + 1));
    }
    if (!urlEdit.empty()) {
        const size_t slash = urlEdit.rfind('/');
        if (slash != std::string_view::npos) return std::string(urlEdit.substr(slash + 1));
    }
    return "*.html";
}

bool PrefillFromClipboard(ScheduledJob& job, std::string_view clipboard, const std::string& currentFolder) {
    std::string name = "*.html";
    const bool isUrl = clipboard.starts_with("http://") || clipboard.starts_with("https://");
    if (isUrl) {
        job.url = Limited(clipboard.substr(0, clipboard.find_first_of("\r\n")));
        const size_t slash = job.url.rfind('/');
        if (slash != std::string::npos) name = job.url.substr(slash + 1);
    }
    job.savePath = Limited(currentFolder + "/" + name);
    return isUrl;
}

std::string PathFolderPart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

}  // namespace scheduler
