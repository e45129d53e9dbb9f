#include "suite/qt/SuiteHooks.h"

#include <QTimer>
#include <QWidget>

#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"

namespace suiteqt {

namespace {

constexpr const char* kOpenCaption = QT_TRANSLATE_NOOP("UiText", "ファイルが開けません");

std::string Caption() { return platformqt::FromQ(UiText::tr(kOpenCaption)); }

}  // namespace

SuiteHooks DefaultSuiteHooks(const std::string& programFolder) {
    SuiteHooks hooks;
    hooks.startProgram = [](const std::string& program, const std::vector<std::string>& args) {
        return platform::StartProcess(program, args, false);
    };
    hooks.openFile = [](const std::string& target) { return suite::OpenWithDesktop(target); };
    const std::string iniPath = records::SettingsPath(programFolder);
    hooks.openUrl = [iniPath](const std::string& url) { return records::OpenWithBrowser(iniPath, url); };
    return hooks;
}

LocalOpener::LocalOpener(const SuiteHooks& hooks, QWidget* view)
    : QObject(view), m_view(view), m_openFile(hooks.openFile), m_poll(new QTimer(this)) {
    m_poll->setInterval(1000);
    connect(m_poll, &QTimer::timeout, this, [this] { ShowFailures(); });
}

void LocalOpener::Open(const std::string& path) {
    if (!platform::FileExists(path)) {
        const std::string folder = platform::FolderOf(path);
        const QString text = (folder.empty() || platform::IsDirectory(folder))
                                 ? UiText::tr("指定したファイルが見つかりませんでした。")
                                 : UiText::tr("指定したパスが見つかりませんでした。");
        (void)platformqt::ShowMessage(m_view, Caption(), platformqt::FromQ(text), platformqt::IconError);
        return;
    }
    m_watch.Start(m_openFile, path);
    m_poll->start();
}

void LocalOpener::ShowFailures() {
    for (int outcome : m_watch.TakeFailures())
        (void)platformqt::ShowMessage(m_view, Caption(), suite::OpenFailureText(outcome), platformqt::IconError);
    if (m_watch.Idle()) m_poll->stop();
}

}  // namespace suiteqt
