#include "suite/qt/SuiteHooks.h"

#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/qt/MessageBox.h"
#include "records/Settings.h"

namespace suiteqt {

namespace {

constexpr const char* kOpenCaption = "ファイルが開けません";

}  // namespace

SuiteHooks DefaultSuiteHooks(const std::string& programFolder) {
    SuiteHooks hooks;
    hooks.startProgram = [](const std::string& program, const std::vector<std::string>& args) {
        return platform::StartProcess(program, args, false);
    };
    hooks.openFile = [](const std::string& target) { return platform::ShellOpen(target); };
    const std::string iniPath = programFolder + "/Sitrov.ini";
    hooks.openUrl = [iniPath](const std::string& url) { return records::OpenWithBrowser(iniPath, url); };
    return hooks;
}

void OpenLocal(QWidget* parent, const SuiteHooks& hooks, const std::string& path) {
    const char* failure = nullptr;
    if (!platform::FileExists(path)) {
        const std::string folder = platform::FolderOf(path);
        failure = (folder.empty() || platform::IsDirectory(folder)) ? "指定したファイルが見つかりませんでした。"
                                                                    : "指定したパスが見つかりませんでした。";
    } else if (!hooks.openFile || hooks.openFile(path) != 1) {
        failure = "システム リソースが足りません。";
    }
    if (failure) (void)platformqt::ShowMessage(parent, kOpenCaption, failure, platformqt::IconError);
}

}  // namespace suiteqt
