#include "app/StartUp.h"

#include "app/ArgumentLine.h"
#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/InstanceBlock.h"
#include "platform/Process.h"
#include "records/DescriptionLog.h"
#include "records/QdxRecord.h"
#include "records/Settings.h"

namespace app {

using namespace engine::mode;

namespace {

constexpr uint32_t kExitDefModeDefault = 98304;  // 0x18000: close and open the result
constexpr uint32_t kCloseAfterSave = 0x8000;
constexpr uint32_t kOpenAfterSave = 0x10000;

// Record file of a finished save: the one named, or the one beside the chosen target.
std::string RecordOfJob(const engine::SaveJob& job) {
    std::string qdx = job.QdxPath();
    if (!qdx.empty()) return qdx;
    qdx = job.SaveFolder() + records::StripExtension(job.ChosenSaveName()) + ".qdx";
    return platform::IsRegularFile(qdx) ? qdx : std::string();
}

}  // namespace

std::string ArgumentLineFromArgv(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
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
    decision.windowKind = JobKind(job.ModeFlags());
    return decision;
}

std::vector<std::string> CatalogueArguments(const engine::SaveJob& job) {
    const uint32_t flags = job.ModeFlags();
    if (flags & ModeMainClosed) return {};
    if (flags & ModeUpdateClosed) return {"QDX", job.QdxPath()};
    if (flags & ModeAdRemoval) return {};
    const std::string savePath = job.SaveFolder() + job.SaveName();
    if (flags & (ModeNormal | ModeSomeComplete)) return {"SITE", job.StartUrl(), savePath};
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

    if (platform::IsRegularFile(job.IniPath())) platform::SetHidden(job.IniPath());

    if (flags & ModeUpdateCheck) {
        if (!(flags & ModeUpdateClosed)) start(sitrova, {job.QdxPath()});
    } else if ((flags & ModeJobFinished) && !(flags & ModeSomeComplete)) {
        const uint32_t defMode = records::ReadDefMode(job.IniPath(), kExitDefModeDefault);
        if ((defMode & kCloseAfterSave) && (defMode & kOpenAfterSave)) {
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
    return started;
}

}  // namespace app
