#include "suite/qt/SuiteMain.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "platform/ByteString.h"
#include "platform/ConsoleText.h"
#include "platform/ExitCodes.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"
#include "platform/FileUtil.h"
#include "platform/InstanceBlock.h"
#include "platform/ProgramStart.h"
#include "platform/UiText.h"
#include "platform/UserPlaces.h"
#include "platform/Version.h"
#include "platform/qt/MessageBox.h"
#include "suite/Catalogue.h"
#include "suite/HandOver.h"
#include "suite/Registration.h"
#include "suite/qt/SuiteWindow.h"

namespace suiteqt {

namespace {

// The usage is chosen in the user's language, known once the program has started.
platform::ProgramInfo Program() {
    return {"QdxSuite", platform::kSuiteVersion,
            platform::Tr(
                "使い方: QdxSuite [QDX Qdxファイル | FILE URL 保存したファイル | SITE ...]\n"
                "  引数なし: 保存したサイトとファイルの一覧を開きます（画面が必要です）。\n"
                "  QDX  Qdxファイルを一覧に登録します（相対パスは作業フォルダから見たパスです）。\n"
                "  FILE 保存したファイルとそのURLを一覧に登録します。\n"
                "  SITE 受け付けますが、何もしません。\n"
                "  -h, --help  この使い方を表示します。    --version  バージョンを表示します。\n")};
}

void PrintError(const std::string& text) {
    const std::string bytes = platform::ToConsoleText("QdxSuite: " + text + "\n");
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
}

// The catalogue keys entries by full path: a path given relative to the caller's folder is
// made absolute here, where that folder is still known.
std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

// Why a registration cannot be taken, or "" when it can. Printed before any window exists,
// so the texts come from the console's table rather than the window translations.
std::string RegistrationProblem(suite::Registration& registration) {
    if (suite::IsQdxKind(registration.kind)) {
        registration.first = AbsolutePath(registration.first);
        if (!platform::IsRegularFile(registration.first))
            return platform::TrArgs("Qdxファイルが見つかりません: %1", {registration.first});
        return {};
    }
    if (suite::IsFileKind(registration.kind)) {
        registration.second = AbsolutePath(registration.second);
        return {};
    }
    if (platform::EqualsI(registration.kind, "SITE")) return {};
    return platform::TrArgs("登録の種類は QDX、FILE、SITE のどれかです: %1", {registration.kind});
}

}  // namespace

namespace {

std::string CataloguePath(const std::string& programFolder) {
    return platform::PlaceFor(platform::Place::Data, programFolder) + "/" + suite::kCatalogueFileName;
}

}  // namespace

int RegisterFromArguments(const std::vector<std::string>& args, const std::string& programFolder) {
    suite::Registration registration;
    if (!suite::RegistrationFromArguments(args, registration)) return platform::ExitRefused;
    if (const std::string problem = RegistrationProblem(registration); !problem.empty()) {
        PrintError(problem);
        return platform::ExitRefused;
    }
    if (suite::SendHandOver(registration) == suite::HandOverDone) return platform::ExitDone;
    // Nobody running (or it did not answer): the file is changed under its lock.
    std::string message;
    const int written = suite::RegisterInFile(CataloguePath(programFolder), registration, &message);
    if (!message.empty()) PrintError(message);
    return written ? platform::ExitDone : platform::ExitDisk;
}

int RunSuite(int argc, char** argv, const std::string& programFolder) {
    records::ApplyUiLanguageSetting(programFolder);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    const platform::StartVerdict verdict =
        platform::CheckProgramStart(args, Program(), args.size() >= 2, platform::CanShowWindows());
    if (verdict.leave) {
        platform::PrintVerdict(verdict);
        return verdict.exitCode;
    }
    if (args.size() >= 2) return RegisterFromArguments(args, programFolder);
    platform::InstanceBlock instance;
    if (instance.CreateAndRegister(suite::kInstanceName) == platform::InstanceBlock::OwnedElsewhere) return 0;

    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    QApplication app(argc, argv);
    (void)platformqt::InstallTranslations(programFolder);
    suite::Catalogue catalogue(CataloguePath(programFolder));
    SuiteWindow window(programFolder, catalogue, DefaultSuiteHooks(programFolder));
    window.show();
    QTimer front;
    QObject::connect(&front, &QTimer::timeout, &window, [&] {
        if (instance.TakeFrontRequest()) {
            window.showNormal();
            window.raise();
            window.activateWindow();
        }
    });
    front.start(500);
    const int code = app.exec();
    instance.Release();
    return code;
}

}  // namespace suiteqt
