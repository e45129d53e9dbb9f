#include "app/SitrovaMain.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/ArgumentLine.h"
#include "app/CommandLine.h"
#include "app/NamedArguments.h"
#include "app/StartUp.h"
#include "app/UnattendedSave.h"
#include "engine/ClientSettings.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/ConsoleText.h"
#include "platform/DynamicLibrary.h"
#include "platform/ExitCodes.h"
#include "platform/Heap.h"
#include "platform/HttpClient.h"
#include "platform/ProgramFolder.h"
#include "platform/UiText.h"
#include "records/SaveRecords.h"
#include "records/Settings.h"

namespace app {

namespace {

void Write(std::FILE* stream, const std::string& utf8) {
    const std::string text = platform::ToConsoleText(utf8);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

// A complete save started by its keyword where no window can be shown runs without windows.
bool SavesWithoutWindows(const std::string& argumentLine) {
    if (platform::CanShowWindows()) return false;
    engine::SaveJob job;
    (void)ParseArgumentLine(argumentLine, job);
    return engine::mode::JobKind(job.ModeFlags()) == engine::mode::ModeSomeComplete;
}

int RunWithoutWindows(const std::string& argumentLine, const std::vector<std::string>& args) {
    platform::HttpGlobalInit();
    auto job = std::make_unique<engine::SaveJob>();
    records::SaveRecords records;
    job->SetProgramFolder(platform::ProgramFolder());
    job->SetRecords(&records);
    SetNamedOptionsForStart(*job, args);
    platform::SetDefaultHttpSettings(engine::MakeClientSettings(job->Named(), engine::ClientUse::Program));
    const StartDecision decision = DecideStart(argumentLine, *job);
    if (decision.leave) {
        if (!decision.errorMessage.empty()) platform::PrintMessageLine("Sitrova", decision.errorMessage);
        return decision.exitCode;
    }
    RunUnattendedSave(*job);
    (void)ExitActions(*job);
    job->SetRecords(nullptr);
    const int exitCode = JobExitCode(*job);
    if (const std::string reason = ExitReason(*job, exitCode); !reason.empty())
        platform::PrintMessageLine("Sitrova", reason);
    return exitCode;
}

int RunWithWindows(int argc, char** argv) {
    const std::string path = platform::ProgramFolder() + "/" + kWindowsLibrary;
    platform::DynamicLibrary library;
    if (!library.Open(path)) {
        Write(stderr, "Sitrova: " + platform::TrArgs("画面の部品を読み込めません: %1", {platform::DynamicLibrary::LastError()}) +
                          "\n");
        return platform::ExitMissingPart;
    }
    using Entry = int (*)(int, char**);
    const Entry entry = library.Function<Entry>(kWindowsEntry);
    if (!entry) {
        Write(stderr, "Sitrova: " + platform::TrArgs("画面の部品 %1 に %2 がありません。", {path, kWindowsEntry}) + "\n");
        return platform::ExitMissingPart;
    }
    library.KeepLoaded();
    return entry(argc, argv);
}

}  // namespace

int SitrovaMain(int argc, char** argv) {
    platform::KeepHeapSmall();
    std::signal(SIGPIPE, SIG_IGN);
    records::ApplyUiLanguageSetting(platform::ProgramFolder());
    const std::vector<std::string> args(argv + 1, argv + argc);
    const platform::StartVerdict verdict = CheckCommandLine(args, platform::CanShowWindows(), kProductVersion);
    if (verdict.leave) {
        platform::PrintVerdict(verdict);
        return verdict.exitCode;
    }
    const std::string argumentLine = ArgumentLineFromArgv(argc, argv);
    if (SavesWithoutWindows(argumentLine)) return RunWithoutWindows(argumentLine, args);
    return RunWithWindows(argc, argv);
}

}  // namespace app
