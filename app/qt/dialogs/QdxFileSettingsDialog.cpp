// "Qdxファイルの環境編集": the .qdx file type of the desktop, the program that opens saved
// pages, and whether web files are saved before they become related links.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "app/shell/Shell.h"
#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"

namespace appqt {

namespace {

using platformqt::FromQ;
using platformqt::ToQ;

constexpr int kAssociationStateLinked = 8;

struct QdxFileControls {
    QLabel* state = nullptr;         // 1074
    QPushButton* action = nullptr;   // 1075
    QCheckBox* useDefault = nullptr; // 1078
    QComboBox* browser = nullptr;    // 1080
    QPushButton* browse = nullptr;   // 1079
    QCheckBox* webFiles = nullptr;   // 1082
};

// The desktop's handler for HTML as xdg-mime names it; "xdg-open" when it cannot tell.
std::string QueryDefaultHtmlHandler() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (query.waitForFinished(2000) && query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0) {
        const QString answer = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
        if (!answer.isEmpty()) return FromQ(answer);
    }
    if (query.state() != QProcess::NotRunning) {
        query.kill();
        query.waitForFinished(1000);
    }
    return "xdg-open";
}

bool AskRestartElevated(QWidget* parent, const std::string& report) {
    return platformqt::ShowMessage(parent, kCaption, report, platformqt::IconInformation, platformqt::ButtonsYesNo,
                                   platformqt::AnswerNo) == platformqt::AnswerYes;
}

QdxFileDialogHooks CompleteHooks(QdxFileDialogHooks hooks, const std::string& programFolder) {
    if (!hooks.associationState)
        hooks.associationState = [programFolder](std::string* name) {
            return appshell::QdxAssociationStateFor(programFolder, name);
        };
    if (!hooks.changeAssociation)
        hooks.changeAssociation = [programFolder](bool remove) {
            return remove ? appshell::RemoveQdxAssociation() : appshell::RegisterQdxAssociation(programFolder);
        };
    if (!hooks.askRestart) hooks.askRestart = AskRestartElevated;
    if (!hooks.defaultHtmlHandler) hooks.defaultHtmlHandler = QueryDefaultHtmlHandler;
    return hooks;
}

// Label and button follow the state; the button's "userData" says what it does (0 register,
// 1 remove).
void ShowAssociation(const QdxFileControls& c, const QdxFileDialogHooks& hooks) {
    std::string other;
    const int state = hooks.associationState(&other);
    c.state->setText(platformqt::ToQLines(appshell::AssociationLabel(state, other)));
    c.action->setText(ToQ(appshell::AssociationButtonText(state)));
    c.action->setProperty("userData", state == kAssociationStateLinked ? 1 : 0);
}

void FollowDefaultCheck(const QdxFileControls& c) {
    const bool manual = !c.useDefault->isChecked();
    c.browser->setEnabled(manual);
    c.browse->setEnabled(manual);
}

void ShowBrowser(const QdxFileControls& c, const std::string& iniPath, const QdxFileDialogHooks& hooks) {
    std::string current = records::ReadBrowserPath(iniPath, records::kBrowserAuto);
    // "None" is the open rule's own name for the default handler.
    const bool automatic = current == records::kBrowserAuto || current == records::kBrowserNone || current.empty();
    if (automatic) current = hooks.defaultHtmlHandler();
    for (const std::string& candidate : appshell::BrowserCandidates(current)) {
        if (c.browser->findText(ToQ(candidate)) < 0) c.browser->addItem(ToQ(candidate));
    }
    if (c.browser->findText(ToQ(current)) < 0) c.browser->addItem(ToQ(current));
    c.browser->setCurrentText(ToQ(current));
    c.useDefault->setChecked(automatic);
    FollowDefaultCheck(c);
}

QGroupBox* AssociationGroup(QDialog* d, QdxFileControls& c) {
    QGroupBox* group = NewGroup(d, 1073, QT_TRANSLATE_NOOP("UiText", "拡張子の関連付け"));
    auto* box = new QVBoxLayout(group);
    box->addWidget(c.state = NewLabel(group, 1074, ""));
    c.state->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(c.action = NewButton(group, 1075, ""));
    box->addLayout(row);
    return group;
}

QGroupBox* BrowserGroup(QDialog* d, QdxFileControls& c) {
    QGroupBox* group = NewGroup(d, 1077, QT_TRANSLATE_NOOP("UiText", "HTMLファイルを開く方法"));
    auto* grid = new QGridLayout(group);
    c.useDefault = NewCheck(group, 1078, QT_TRANSLATE_NOOP("UiText", "関連付けられた既定のアプリケーションを使う"));
    grid->addWidget(c.useDefault, 0, 0, 1, 2);
    c.browser = new QComboBox(group);
    c.browser->setObjectName(ControlName(1080));
    c.browser->setEditable(true);
    c.browser->setInsertPolicy(QComboBox::NoInsert);
    grid->addWidget(c.browser, 1, 0);
    grid->addWidget(c.browse = NewButton(group, 1079, QT_TRANSLATE_NOOP("UiText", "参照")), 1, 1);
    grid->setColumnStretch(0, 1);
    return group;
}

QGroupBox* LinkGroup(QDialog* d, QdxFileControls& c) {
    ColumnGroup group(d, 1081, QT_TRANSLATE_NOOP("UiText", "関連リンクへ登録時"));
    c.webFiles = group.Check(1082, QT_TRANSLATE_NOOP("UiText", "Webファイルは、ダウンロードして保存の後に登録する。"));
    return group.Group();
}

void ConnectAssociationButton(QDialog* d, const QdxFileControls& c, const QdxFileDialogHooks& hooks) {
    QObject::connect(c.action, &QPushButton::clicked, d, [d, c, hooks] {
        const int result = hooks.changeAssociation(c.action->property("userData").toInt() == 1);
        ShowAssociation(c, hooks);
        const std::string report = appshell::AssociationErrorReport(result);
        if (!report.empty() && hooks.askRestart(d, report)) d->done(kDialogRestartElevated);
    });
}

void ConnectBrowserControls(QDialog* d, const QdxFileControls& c) {
    QObject::connect(c.useDefault, &QCheckBox::toggled, d, [c] { FollowDefaultCheck(c); });
    QObject::connect(c.browse, &QPushButton::clicked, d, [d, c] {
        if (platformqt::IsHeadless()) return;
        const QString chosen = QFileDialog::getOpenFileName(d, QString(), c.browser->currentText());
        if (chosen.isEmpty()) return;
        if (c.browser->findText(chosen) < 0) c.browser->addItem(chosen);
        c.browser->setCurrentText(chosen);
        c.useDefault->setChecked(false);
    });
}

}  // namespace

QDialog* CreateQdxFileSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder,
                                     const QdxFileDialogHooks& givenHooks) {
    const QdxFileDialogHooks hooks = CompleteHooks(givenHooks, programFolder);
    QDialog* d = NewDialog(owner, "InitializeExtReg", QT_TRANSLATE_NOOP("UiText", "Qdxファイルの環境編集"));
    auto c = QdxFileControls{};
    auto* box = new QVBoxLayout(d);
    box->addWidget(AssociationGroup(d, c));
    box->addWidget(BrowserGroup(d, c));
    box->addWidget(LinkGroup(d, c));
    box->addStretch();

    const auto save = [c, iniPath](std::string& error) {
        const bool automatic = c.useDefault->isChecked();
        const std::string browser = FromQ(c.browser->currentText().trimmed());
        if (!automatic && !platform::IsRegularFile(browser)) {
            error = FromQ(UiText::tr("設定が正しくありません。"));
            return 0;
        }
        return records::SaveQdxFileSettings(iniPath, c.webFiles->isChecked(), automatic ? std::string() : browser,
                                            &error);
    };
    box->addLayout(NewSettingsButtons(d, {.ok = 1076, .cancel = 1084, .help = 1083}, programFolder,
                                      "/200832011010248.htm", save));

    ShowAssociation(c, hooks);
    ShowBrowser(c, iniPath, hooks);
    c.webFiles->setChecked(records::ReadDefMode(iniPath) & records::kDownloadWebFilesBit);

    ConnectAssociationButton(d, c, hooks);
    ConnectBrowserControls(d, c);
    FinishDialog(d, 480, 360);
    return d;
}

}  // namespace appqt
