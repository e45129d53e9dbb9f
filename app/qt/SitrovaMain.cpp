#include "app/qt/SitrovaMain.h"

#include <QApplication>
#include <QFont>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/NamedArguments.h"
#include "app/StartUp.h"
#include "app/qt/MainWindow.h"
#include "download/qt/RelatedFileDownload.h"
#include "engine/ClientSettings.h"
#include "engine/SaveJob.h"
#include "platform/ConsoleText.h"
#include "platform/HttpClient.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/UiText.h"
#include "records/SaveRecords.h"
#include "records/Settings.h"

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

}  // namespace

int SitrovaWindowsMain(int argc, char** argv) {
    records::ApplyUiLanguageSetting(platform::ProgramFolder());
    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    platform::HttpGlobalInit();
    QApplication application(argc, argv);
    (void)platformqt::InstallTranslations(platform::ProgramFolder());
    SetUpFonts();
    downloadqt::InstallRelatedFileDownload();

    auto job = std::make_unique<engine::SaveJob>();
    records::SaveRecords records;
    job->SetProgramFolder(platform::ProgramFolder());
    job->SetRecords(&records);
    app::SetNamedOptionsForStart(*job, std::vector<std::string>(argv + 1, argv + argc));
    // Fetches outside the save (single files, titles, page analysis) go out with the same options.
    platform::SetDefaultHttpSettings(engine::MakeClientSettings(job->Named(), engine::ClientUse::Program));

    app::StartDecision decision = app::DecideStart(app::ArgumentLineFromArgv(argc, argv), *job);
    if (decision.leave) {
        if (!decision.errorMessage.empty())
            platformqt::ShowMessage(nullptr, "Sitrova", decision.errorMessage, platformqt::IconError);
        return decision.exitCode;
    }
    {
        MainWindow window(*job, decision.windowKind);
        window.show();
        application.exec();
    }
    (void)app::ExitActions(*job);
    const int exitCode = app::JobExitCode(*job);
    if (const std::string reason = app::ExitReason(*job, exitCode); !reason.empty())
        platform::PrintMessageLine("Sitrova", reason);
    if (job->WorkerRunning()) {
        // The worker did not stop in time (a transfer that does not answer): end the process
        // without waiting for it; every file it writes goes through a temporary name.
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    job->SetRecords(nullptr);
    return exitCode;
}

}  // namespace appqt
