// The other programs of the suite, all beside the running one.
#include "app/shell/Shell.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"

namespace appshell {

namespace {

const char* ProgramName(Companion which) {
    switch (which) {
        case Companion::Sitrova: return "Sitrova";
        case Companion::SitrovaCui: return "SitrovaCui";
        case Companion::QdxSuite: return "QdxSuite";
        case Companion::QdXScheduler: return "QdXScheduler";
    }
    return "Sitrova";
}

}  // namespace

std::string CompanionPath(const std::string& programFolder, Companion which) {
    std::string folder = programFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder == "/") folder.clear();
    return folder + "/" + ProgramName(which);
}

int StartCompanion(const std::string& programFolder, Companion which, const std::vector<std::string>& args,
                   std::string* message) {
    if (message) message->clear();
    const std::string path = CompanionPath(programFolder, which);
    if (!platform::IsRegularFile(path)) {
        // Only the scheduler's absence is told; the other programs are optional extras.
        if (message && which == Companion::QdXScheduler)
            *message = std::string("スケジューラ（") + ProgramName(which) + "）が見つかりません。";
        return 0;
    }
    return platform::StartProcess(path, args, false) == platform::ProcessStarted ? 1 : 0;
}

}  // namespace appshell
