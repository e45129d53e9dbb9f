#include "app/StartUp.h"

#include "app/ArgumentLine.h"
#include "app/NamedArguments.h"
#include "app/WarcStart.h"
#include "engine/PlaceholderPages.h"
#include "engine/SaveJob.h"
#include "platform/ExitCodes.h"
#include "platform/FileUtil.h"
#include "platform/InstanceBlock.h"
#include "platform/Process.h"
#include "platform/ReplaySource.h"
#include "platform/UiText.h"
#include "records/DescriptionLog.h"
#include "records/QdxRecord.h"
#include "records/Settings.h"
#include "records/UpdateCheck.h"

namespace app {

using namespace engine::mode;

namespace {

constexpr uint32_t kExitDefModeDefault = 98304;  // 0x18000: close and open the result

// Record file of a finished save: the one named, or the one beside the chosen target.
std::string RecordOfJob(const engine::SaveJob& job) {
    std::string qdx = job.QdxPath();
    if (!qdx.empty()) return qdx;
    qdx = job.SaveFolder() + records::StripExtension(job.ChosenSaveName()) + ".qdx";
    return platform::IsRegularFile(qdx) ? qdx : std::string();
}

// Where the start page was saved: once the target is laid out, the working name lies in the
// start folder (inside the data folder, or below the mirrored URL folders).
std::string SavedStartPage(const engine::SaveJob& job) {
    const std::string startFolder = job.StartFolder();
    return (startFolder.empty() ? job.SaveFolder() : startFolder) + job.SaveName();
}

constexpr size_t kPageHeadBytes = 4096;  // enough for the head of a placeholder page

// A complete save that did not save every page: nothing at all when the start page is not
// there as a copy, or when its host did not answer; else the save holds what it could get.
int UnfinishedSaveExit(const engine::SaveJob& job) {
    if (job.HostUnreachable(job.StartUrl())) return platform::ExitNetwork;
    std::string start;
    if (!platform::ReadWholeFile(job.StartPath(), start, kPageHeadBytes) || !engine::IsSavedCopyText(start))
        return platform::ExitNetwork;
    return platform::ExitPartly;
}

std::string ArchiveDamage(const engine::SaveJob& job) {
    const std::shared_ptr<platform::ReplaySource>& replay = job.Run().Replay();
    return replay ? replay->DamageNote() : std::string();
}

bool SaveSucceeded(int result) {
    return result == 1 || result == records::NoPageChanged || result == records::ChangedPagesSaved;
}

}  // namespace

int JobExitCode(const engine::SaveJob& job) {
    const uint32_t flags = job.ModeFlags();
    const uint32_t kind = JobKind(flags);
    // At the window the user saw every message and could try again.
    if (kind == ModeNormal || kind == ModeUpdateCheck) return platform::ExitDone;
    if (const int refused = job.Refusal()) return refused;
    switch (kind) {
    case ModeSomeComplete: {
        // Into a target saved before, the job is an update check, whose good ends are its own.
        const int code =
            (flags & ModeJobFinished) && SaveSucceeded(job.Result()) ? platform::ExitDone : UnfinishedSaveExit(job);
        // A copy from a damaged web archive may lack what the damaged records held.
        return ArchiveDamage(job).empty() ? code : platform::WorseExit(code, platform::ExitPartly);
    }
    case ModeSomeSeries:
        // The first file is the one asked for; the run of serial files after it ends where
        // the numbers end.
        return (flags & ModeJobFinished) ? platform::ExitDone : platform::ExitNetwork;
    default:
        return platform::ExitDone;
    }
}

std::string ExitReason(const engine::SaveJob& job, int exitCode) {
    const bool file = JobKind(job.ModeFlags()) == ModeSomeSeries;
    std::string reason;
    if (exitCode == platform::ExitPartly && !file)
        reason = platform::Tr("保存を終えましたが、ダウンロードに失敗したファイルがあります（エラーログに記録しました）。");
    if (exitCode == platform::ExitNetwork)
        reason = file ? platform::TrArgs("ファイルを取得できませんでした: %1", {job.StartUrl()})
                      : platform::TrArgs("開始ページを取得できず、何も保存していません: %1", {job.StartUrl()});
    // A copy from a damaged web archive says so first: that is where the missing pages went.
    if (const std::string damage = ArchiveDamage(job); !damage.empty() && !reason.empty())
        reason = damage + "\n" + reason;
    return reason;
}

std::vector<std::string> CatalogueRecordArguments(const engine::SaveJob& job) {
    const uint32_t flags = job.ModeFlags();
    if (!(flags & (ModeNormal | ModeSomeComplete)) || !(flags & ModeJobFinished) || (flags & ModeMainClosed)) return {};
    if (flags & (ModeUpdateCheck | ModeAdRemoval)) return {};
    const std::string record = (flags & qdxfile) ? RecordOfJob(job) : std::string();
    if (record.empty() || !platform::IsRegularFile(record)) return {};
    return {"QDX", record};
}

std::string ArgumentLineFromArgv(int argc, char** argv) {
    std::string line;
    int i = 1;
    // The named options before the job argument are no part of it.
    while (i < argc && IsNamedArgument(argv[i])) ++i;
    for (const int first = i; i < argc; ++i) {
        if (i > first) line += ' ';
        line += argv[i];
    }
    return line;
}

std::string InstanceNameOf(const std::string& qdxPath) {
    // Records of different saved sites may share their file name; the full path tells them
    // apart, and the canonical form lets two spellings of one record meet.
    return platform::CanonicalPath(qdxPath);
}

StartDecision DecideStart(const std::string& argumentLine, engine::SaveJob& job) {
    StartDecision decision;
    ParsedArguments parsed = ParseArgumentLine(argumentLine, job);
    if (parsed.qdxArgument) {
        records::QdxRecordReader reader;
        if (records::OpenQdxRecord(parsed.qdxPath, reader) != records::QdxReadable) {
            decision.leave = true;
            decision.errorMessage = reader.message;
            decision.exitCode = platform::ExitRefused;
            return decision;
        }
        if (platform::InstanceBlock::RequestFront(InstanceNameOf(parsed.qdxPath))) {
            decision.leave = true;
            return decision;
        }
        job.SetQdxPath(parsed.qdxPath);
        job.SetModeBits(ModeUpdateCheck);
    }
    if (job.ModeFlags() == 0) {
        decision.leave = true;
        return decision;
    }
    if (!parsed.archivePath.empty() && !OpenJobArchive(parsed.archivePath, job, decision.errorMessage)) {
        decision.leave = true;
        decision.exitCode = platform::ExitRefused;
        return decision;
    }
    decision.windowKind = JobKind(job.ModeFlags());
    return decision;
}

std::vector<std::string> CatalogueArguments(const engine::SaveJob& job) {
    const uint32_t flags = job.ModeFlags();
    if (flags & ModeMainClosed) return {};
    if (flags & ModeUpdateClosed) return {"QDX", job.QdxPath()};
    if (flags & ModeAdRemoval) return {};
    if (flags & (ModeNormal | ModeSomeComplete)) return {"SITE", job.StartUrl(), SavedStartPage(job)};
    const std::string savePath = job.SaveFolder() + job.SaveName();
    // A file save is registered only when a file was really saved.
    if (!(flags & ModeJobFinished)) return {};
    return {"FILE", job.UrlBase() + job.UrlLeaf(), savePath};
}

std::vector<std::vector<std::string>> ExitActions(engine::SaveJob& job, bool startPrograms) {
    std::vector<std::vector<std::string>> started;
    auto start = [&](const std::string& program, std::vector<std::string> args) {
        if (startPrograms && platform::IsRegularFile(program))
            (void)platform::StartProcess(program, args, false);
        args.insert(args.begin(), program);
        started.push_back(std::move(args));
    };
    const std::string programFolder = job.ProgramFolder();
    const std::string sitrova = programFolder + "/Sitrova";
    const uint32_t flags = job.ModeFlags();

    records::HideSettingsFile(job.IniPath());

    if (flags & ModeUpdateCheck) {
        if (!(flags & ModeUpdateClosed)) start(sitrova, {job.QdxPath()});
    } else if ((flags & ModeJobFinished) && (flags & ModeNormal)) {
        const uint32_t defMode = records::ReadDefMode(job.IniPath(), kExitDefModeDefault);
        if ((defMode & records::kDefModeCloseWhenDone) && (defMode & records::kDefModeOpenWhenDone)) {
            const std::string record = (flags & qdxfile) ? RecordOfJob(job) : std::string();
            if (!record.empty()) {
                start(sitrova, {record});
            } else {
                const std::string page = job.SaveFolder() + job.ChosenSaveName();
                if (startPrograms) (void)platform::ShellOpen(page);
                started.push_back({"xdg-open", page});
            }
        }
    }
    std::vector<std::string> catalogue = CatalogueArguments(job);
    if (!catalogue.empty()) start(programFolder + "/QdxSuite", catalogue);
    std::vector<std::string> record = CatalogueRecordArguments(job);
    if (!record.empty()) start(programFolder + "/QdxSuite", record);
    return started;
}

}  // namespace app
