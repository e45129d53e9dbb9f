// "QdxLinkAction": shows one related link and opens its target.
#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/FileUtil.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/SavedSiteText.h"
#include "records/qt/RecordWindows.h"

namespace recordsqt {

using platformqt::ToQLines;

LinkActionWindow::LinkActionWindow(QWidget* owner, const records::RelatedLink& link, TargetOpener opener, Delays delays)
    : QDialog(owner), m_link(link), m_opener(std::move(opener)), m_delays(delays) {
    if (!m_opener) m_opener = ShellOpenTarget;
    setWindowTitle(UiText::tr("Qdxファイル - 関連リンク"));
    resize(437, 239);
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(UiText::tr("詳細"), this);
    auto* groupLayout = new QVBoxLayout(group);
    auto* detail = new QPlainTextEdit(group);
    detail->setObjectName(QStringLiteral("detailEdit"));
    detail->setReadOnly(true);
    detail->setPlainText(ToQLines(records::LinkActionText(link.name, link.target)));
    groupLayout->addWidget(detail);
    layout->addWidget(group, 1);

    auto* row = new QHBoxLayout();
    m_warningIcon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_warningIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize, iconSize));
    m_warningIcon->hide();
    row->addWidget(m_warningIcon);
    m_warning = new QLabel(UiText::tr("指定されたファイルが見つかりません。"), this);
    m_warning->setObjectName(QStringLiteral("warningText"));
    m_warning->hide();
    row->addWidget(m_warning);
    row->addStretch(1);
    auto* close = new QPushButton(UiText::tr("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, [this] { done(m_opened ? 1 : 0); });
    row->addWidget(close);
    layout->addLayout(row);

    m_openTimer = new QTimer(this);
    m_openTimer->setSingleShot(true);
    connect(m_openTimer, &QTimer::timeout, this, [this] { (void)OpenTarget(); });
    m_openTimer->start(m_delays.openMs);
    m_closeTimer = new QTimer(this);
    m_closeTimer->setSingleShot(true);
    connect(m_closeTimer, &QTimer::timeout, this, [this] { done(1); });
}

void LinkActionWindow::done(int result) {
    m_tried = true;
    m_openTimer->stop();
    m_closeTimer->stop();
    QDialog::done(result);
}

int LinkActionWindow::OpenTarget() {
    if (m_tried) return m_opened ? 1 : 0;
    m_tried = true;
    m_openTimer->stop();
    const std::string& target = m_link.target;
    if (records::IsWebTarget(target) || (!target.empty() && platform::FileExists(target))) m_opened = m_opener(target) == 1;
    if (m_opened) {
        m_closeTimer->start(m_delays.closeMs);
        return 1;
    }
    m_warningIcon->show();
    m_warning->show();
    QApplication::beep();
    return 0;
}

}  // namespace recordsqt
