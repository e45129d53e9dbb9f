// QdXScheduler: runs a list of complete saves one after another.
#include <QApplication>

#include "platform/ProgramFolder.h"
#include "platform/ProgramStart.h"
#include "platform/UiText.h"
#include "platform/Version.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"
#include "scheduler/qt/ScheduleWindow.h"

namespace {

// The usage is chosen in the user's language, known once the program has started.
platform::ProgramInfo Program() {
    return {"QdXScheduler", platform::kSuiteVersion,
            platform::Tr(
                "使い方: QdXScheduler\n"
                "  コンプリート保存の予定表を開き、並べた保存を順に Sitrova で行います。予定表は\n"
                "  ウィンドウで操作するため、画面が必要です（画面のない環境では SitrovaCui /some や\n"
                "  Sitrova SomeComplete,... を使ってください）。\n"
                "  -h, --help  この使い方を表示します。    --version  バージョンを表示します。\n")};
}

}  // namespace

int main(int argc, char** argv) {
    records::ApplyUiLanguageSetting(platform::ProgramFolder());
    const std::vector<std::string> args(argv + 1, argv + argc);
    const platform::StartVerdict verdict = platform::CheckProgramStart(args, Program(), false, platform::CanShowWindows());
    if (verdict.leave) {
        platform::PrintVerdict(verdict);
        return verdict.exitCode;
    }
    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    QApplication app(argc, argv);
    (void)platformqt::InstallTranslations(platform::ProgramFolder());
    // The text behind the program name counts only when it is the one word "ravevor".
    std::string word;
    for (int i = 1; i < argc; ++i) word += (i > 1 ? " " : "") + std::string(argv[i]);
    schedulerqt::ScheduleWindow window(platform::ProgramFolder(), word, schedulerqt::DefaultSchedulerHooks());
    window.show();
    return app.exec();
}
