#include "app/qt/SitrovaMain.h"

#include <QApplication>
#include <QFont>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/StartUp.h"
#include "app/qt/MainWindow.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "engine/SaveJob.h"
#include "platform/HttpClient.h"
#include "platform/ConsoleText.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBox.h"
#include "records/SaveRecords.h"

namespace appqt {

namespace {

// The windows name the Japanese system font of their design; fontconfig maps it to an
// installed Japanese font.
void SetUpFonts() {
    const QString design = QStringLiteral("ＭＳ Ｐゴシック");
    QFont::insertSubstitutions(design, {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
    QFont font(design);
    font.setPixelSize(12);
    QApplication::setFont(font);
}

bool CanShowWindows() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

void Write(std::FILE* stream, const std::string& utf8) {
    const std::string text = platform::ToConsoleText(utf8);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

int SitrovaMain(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const app::CommandLineVerdict verdict =
        app::CheckCommandLine(std::vector<std::string>(argv + 1, argv + argc), CanShowWindows(), kProductVersion);
    if (verdict.leave) {
        Write(stdout, verdict.out);
        Write(stderr, verdict.err);
        return verdict.exitCode;
    }
    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    platform::HttpGlobalInit();
    QApplication application(argc, argv);
    SetUpFonts();

    auto job = std::make_unique<engine::SaveJob>();
    records::SaveRecords records;
    job->SetProgramFolder(platform::ProgramFolder());
    job->SetRecords(&records);

    app::StartDecision decision = app::DecideStart(app::ArgumentLineFromArgv(argc, argv), *job);
    if (decision.leave) {
        if (!decision.errorMessage.empty())
            platformqt::ShowMessage(nullptr, "Sitrova", decision.errorMessage, platformqt::IconError);
        return 0;
    }
    {
        MainWindow window(*job, decision.windowKind);
        window.show();
        application.exec();
    }
    (void)app::ExitActions(*job);
    if (job->WorkerRunning()) {
        // The worker did not stop in time (a transfer that does not answer): end the process
        // without waiting for it; every file it writes goes through a temporary name.
        std::fflush(nullptr);
        std::_Exit(0);
    }
    job->SetRecords(nullptr);
    return 0;
}

}  // namespace appqt
