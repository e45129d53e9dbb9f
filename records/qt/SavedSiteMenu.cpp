// The menus of the saved-site view. They take the place of the window's own menus while the
// view shows, and are built anew when the related links change.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/SavedSiteText.h"
#include "records/qt/SavedSiteView.h"

namespace recordsqt {

using namespace engine::mode;
using platformqt::ToQ;

namespace {

// A link name is shown as typed: "&" is no mnemonic and a line break no line.
QString LinkCaption(const std::string& name) {
    QString caption = ToQ(name);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    caption.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    caption.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return caption;
}

}  // namespace

void SavedSiteView::BuildMenus() {
    QMenuBar* bar = m_window->menuBar();
    if (m_menus.empty() && m_windowMenus.empty()) {
        for (QAction* action : bar->actions()) {
            m_windowMenus.push_back(action);
            bar->removeAction(action);
        }
    }
    RemoveMenus();

    auto addMenu = [&](const char* title) {
        auto* menu = new QMenu(platformqt::Ui(title), this);
        bar->addMenu(menu);
        m_menus.push_back(menu);
        return menu;
    };
    auto addItem = [this](QMenu* menu, const QString& caption, int id, bool enabled = true) {
        QAction* action = menu->addAction(caption);
        action->setData(id);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    };
    auto item = [&](QMenu* menu, const char* caption, int id, bool enabled = true) {
        addItem(menu, platformqt::Ui(caption), id, enabled);
    };
    const std::string qdxPath = m_job.QdxPath();
    const int links = records::CountLinks(m_record);
    // Without the log's header the job knows no site: nothing to open or check.
    const bool read = m_reader.status == records::QdxReadable;

    QMenu* file = addMenu(QT_TRANSLATE_NOOP("UiText", "ファイル(&F)"));
    item(file, QT_TRANSLATE_NOOP("UiText", "保存したファイルを開く(&O)"), CmdOpenSaved, read);
    item(file, QT_TRANSLATE_NOOP("UiText", "コンプリートURLを開く(&P)"), CmdOpenUrl, read);
    file->addSeparator();
    item(file, QT_TRANSLATE_NOOP("UiText", "エラーログを開く(&E)"), CmdErrorLog,
         platform::IsRegularFile(records::ErrorLogPathOf(qdxPath)));
    item(file, QT_TRANSLATE_NOOP("UiText", "更新レポートを開く(&R)"), CmdChangeReport, read && !ChangeReportPath().empty());
    file->addSeparator();
    item(file, QT_TRANSLATE_NOOP("UiText", "更新をチェックする(&I)"), CmdUpdateCheck, read);
    file->addSeparator();
    item(file, QT_TRANSLATE_NOOP("UiText", "Sitrova の新規起動(&N)"), CmdNewSitrova);
    item(file, QT_TRANSLATE_NOOP("UiText", "終了(&C)"), CmdQuit);

    QMenu* tools = addMenu(QT_TRANSLATE_NOOP("UiText", "ツール(&T)"));
    item(tools, QT_TRANSLATE_NOOP("UiText", "コメントの編集(&C)"), CmdComment);
    item(tools, QT_TRANSLATE_NOOP("UiText", "バナー広告等削除を実行(&D)"), CmdAdRemoval, !m_adRemovalStarted);
    tools->addSeparator();
    item(tools, QT_TRANSLATE_NOOP("UiText", "Qdxファイルのフルパスをコピー(&P)"), CmdCopyPath);

    QMenu* link = addMenu(QT_TRANSLATE_NOOP("UiText", "リンク(&L)"));
    item(link, QT_TRANSLATE_NOOP("UiText", "外部リンクファイル一覧を開く(&O)"), CmdOutDomainList,
         m_job.Has(OutDomainAll | OutDomainSelect));
    link->addSeparator();
    item(link, QT_TRANSLATE_NOOP("UiText", "関連ファイルの追加(&A)"), CmdLinkAdd, links < records::kMaxRelatedLinks);
    item(link, QT_TRANSLATE_NOOP("UiText", "関連ファイルの削除(&D)"), CmdLinkDel, links > 0);
    if (links > 0) {
        link->addSeparator();
        for (int i = 0; i < links; ++i) {
            records::RelatedLink related;
            const bool named = records::ReadLink(m_record, i, related) == 1;
            addItem(link, named ? LinkCaption(related.name) : QStringLiteral("?"), CmdFirstLink + i);
        }
    }

    QMenu* help = addMenu(QT_TRANSLATE_NOOP("UiText", "ヘルプ(&H)"));
    item(help, QT_TRANSLATE_NOOP("UiText", "What's Qdxファイル？(&C)"), CmdQdxHelp);
    item(help, QT_TRANSLATE_NOOP("UiText", "Read me ファイル？(&R)"), CmdReadMe);
    help->addSeparator();
    item(help, QT_TRANSLATE_NOOP("UiText", "バージョン情報(&A)"), CmdVersion);
}

void SavedSiteView::RemoveMenus() {
    QMenuBar* bar = m_window->menuBar();
    for (QMenu* menu : m_menus) {
        bar->removeAction(menu->menuAction());
        // A menu may be the one whose item is running right now.
        menu->deleteLater();
    }
    m_menus.clear();
}

void SavedSiteView::RestoreWindowMenus() {
    QMenuBar* bar = m_window->menuBar();
    for (const QPointer<QAction>& action : m_windowMenus)
        if (action) bar->addAction(action);
    m_windowMenus.clear();
}

QAction* SavedSiteView::FindCommand(int id) const {
    for (QMenu* menu : m_menus)
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && action->data().toInt() == id) return action;
    return nullptr;
}

}  // namespace recordsqt
