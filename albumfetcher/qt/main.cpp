// AlbumFetcher: saves the photos of one online album into a folder.
#include <QApplication>

#include "albumfetcher/qt/AlbumWindow.h"
#include "platform/HttpClient.h"
#include "platform/ProgramFolder.h"
#include "platform/ProgramStart.h"
#include "platform/UiText.h"
#include "platform/Version.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"
#include "records/WebDefaults.h"

namespace {

// The usage is chosen in the user's language, known once the program has started.
platform::ProgramInfo Program() {
    return {"AlbumFetcher", platform::kSuiteVersion,
            platform::Tr(
                "使い方: AlbumFetcher [アルバムのURL [保存先フォルダ [auto]]]\n"
                "  アルバムの写真を、保存先フォルダに保存します。auto を付けると、操作なしで保存を始め、\n"
                "  終わると終了します。画面のない環境では auto が必要です。\n"
                "  -h, --help  この使い方を表示します。    --version  バージョンを表示します。\n")};
}

}  // namespace

int main(int argc, char** argv) {
    records::ApplyUiLanguageSetting(platform::ProgramFolder());
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool unattended = args.size() >= 3 && args[2] == "auto";
    const platform::StartVerdict verdict =
        platform::CheckProgramStart(args, Program(), unattended, platform::CanShowWindows());
    if (verdict.leave) {
        platform::PrintVerdict(verdict);
        return verdict.exitCode;
    }
    if (args.size() > 3) args.resize(3);
    platformqt::ChooseHeadlessPlatformIfNoDisplay();
    platform::HttpGlobalInit();
    records::UseWebDefaults(records::SettingsPath(platform::ProgramFolder()));
    QApplication application(argc, argv);
    (void)platformqt::InstallTranslations(platform::ProgramFolder());
    albumqt::AlbumWindow window(args, platform::ProgramFolder(), albumqt::DefaultAlbumHooks());
    window.show();
    (void)application.exec();
    return window.ExitCode();
}
