// "バージョン情報": product name, version, the maker's home address and a notice.
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "platform/Process.h"
#include "platform/qt/UiText.h"

namespace appqt {

QDialog* CreateVersionDialog(QWidget* owner) {
    QDialog* d = NewDialog(owner, "VersionInfo", QT_TRANSLATE_NOOP("UiText", "バージョン情報"));
    auto* box = new QVBoxLayout(d);

    auto* product = new QLabel(QString::fromUtf8(kCaption), d);
    product->setObjectName(QStringLiteral("productName"));
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPixelSize(15);
    product->setFont(bold);
    box->addWidget(product);

    auto* version = new QLabel(QStringLiteral("Version. ") + QString::fromUtf8(kProductVersion), d);
    version->setObjectName(QStringLiteral("version"));
    box->addWidget(version);

    // Drawn as the address itself, blue and underlined, opened by the desktop when clicked.
    const QString address = QString::fromUtf8(kMakerAddress);
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color:#0000ff; text-decoration:underline\">%1</a>")
                                .arg(address.toHtmlEscaped()),
                            d);
    link->setObjectName(QStringLiteral("makerAddress"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    link->setCursor(Qt::PointingHandCursor);
    QObject::connect(link, &QLabel::linkActivated, d, [](const QString& url) { (void)platform::ShellOpen(url.toStdString()); });
    box->addWidget(link);

    auto* notice = new QLabel(UiText::tr("本ソフトウェアはフリーソフトウェアです。著作権は作者が保有しています。"), d);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setWordWrap(true);
    box->addWidget(notice);
    box->addStretch();

    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* close = new QPushButton(UiText::tr("閉じる"), d);
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, d, [d] { d->done(0); });
    row->addWidget(close);
    box->addLayout(row);
    FinishDialog(d, 360, 180);
    return d;
}

}  // namespace appqt
