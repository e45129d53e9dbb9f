// Dialogs whose work belongs to later parts of the program: they show their controls and
// close.
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/PageAnalysis.h"
#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace appqt {

QDialog* CreateAnalysisStdDialog(QWidget* owner, const DialogArgs& args) {
    QDialog* d = NewDialog(owner, "AnalysisStd", QT_TRANSLATE_NOOP("UiText", "ページ解析の詳細表示"));
    auto* box = new QVBoxLayout(d);
    box->addWidget(new QLabel(UiText::tr("ユーザーへのコメント。"), d));
    auto* text = new QPlainTextEdit(platformqt::ToQLines(args.message), d);
    text->setObjectName(QStringLiteral("comment"));
    text->setReadOnly(true);
    box->addWidget(text, 1);
    auto* adviceRow = new QHBoxLayout;
    auto* advice = new QLabel(platformqt::ToQLines(args.advice), d);
    advice->setObjectName(QStringLiteral("advice"));
    advice->setWordWrap(true);
    adviceRow->addWidget(advice, 1);
    QPushButton* recommend = NamedButton(d, "recommend", QT_TRANSLATE_NOOP("UiText", "推奨オプションを\n利用する"));
    recommend->setVisible(static_cast<bool>(args.applyRecommendations));
    adviceRow->addWidget(recommend);
    box->addLayout(adviceRow);
    box->addWidget(new QLabel(UiText::tr("メインと思われるオブジェクトのURL一覧"), d));
    auto* found = new QLabel(
        args.objectUrls.empty() ? UiText::tr("見つかりません。") : UiText::tr("下記から選んでください。"), d);
    found->setObjectName(QStringLiteral("objectNote"));
    box->addWidget(found);
    auto* urls = new QComboBox(d);
    urls->setObjectName(QStringLiteral("objectUrls"));
    for (const std::string& url : args.objectUrls) urls->addItem(platformqt::ToQ(url));
    box->addWidget(urls);
    auto* row = new QHBoxLayout;
    QPushButton* setUrl = NamedButton(d, "setUrl", QT_TRANSLATE_NOOP("UiText", "URLに設定する"));
    setUrl->setEnabled(!args.objectUrls.empty() && args.setUrl);
    QPushButton* close = NamedButton(d, "close", QT_TRANSLATE_NOOP("UiText", "閉じる"));
    row->addWidget(setUrl);
    row->addStretch();
    row->addWidget(close);
    box->addLayout(row);
    QObject::connect(recommend, &QPushButton::clicked, d, [apply = args.applyRecommendations, recommend] {
        apply();
        recommend->setEnabled(false);
    });
    QObject::connect(setUrl, &QPushButton::clicked, d, [d, urls, set = args.setUrl] {
        // The picture mark is a label, not part of the address.
        set(app::ObjectUrlOfChoice(platformqt::FromQ(urls->currentText())));
        d->done(1);
    });
    QObject::connect(close, &QPushButton::clicked, d, [d] { d->done(0); });
    FinishDialog(d, 480, 340);
    return d;
}

}  // namespace appqt
