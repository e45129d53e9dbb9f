// "ドロップファイルの処理": a dropped HTML file can have its advertisements removed
// or lead to the saved site it belongs to.
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "app/shell/Shell.h"
#include "filters/CutAdv.h"
#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace appqt {

std::string FindRelatedQdx(const std::string& filePath) {
    // The file's own name with ".qdx" for its extension first; then every earlier "." of the
    // path with all behind it replaced, so that a page anywhere inside the data folder
    // "site.files" of a save (or a folder of any other dotted name) finds "site.qdx".
    constexpr size_t none = std::string::npos;
    const size_t slash = filePath.rfind('/');
    const size_t nameStart = slash == none ? 0 : slash + 1;
    std::vector<std::string> candidates;
    size_t dot = filePath.rfind('.');
    if (dot == none || dot < nameStart) candidates.push_back(filePath + ".qdx");  // a name without extension
    for (; dot != none; dot = dot == 0 ? none : filePath.rfind('.', dot - 1))
        candidates.push_back(filePath.substr(0, dot) + ".qdx");
    for (const std::string& candidate : candidates)
        if (platform::IsRegularFile(candidate)) return candidate;
    return {};
}

QDialog* CreateDropHtmlDialog(QWidget* owner, const std::string& filePath, const std::string& programFolder) {
    QDialog* d = NewDialog(owner, "DropHtmlCutAdv", QT_TRANSLATE_NOOP("UiText", "ドロップファイルの処理"));
    auto* box = new QVBoxLayout(d);
    box->addWidget(new QLabel(UiText::tr("以下のファイルに対する処理を選んでください。"), d));
    auto* file = new QLineEdit(platformqt::ToQ(platform::NameOf(filePath)), d);
    file->setObjectName(QStringLiteral("fileName"));
    file->setReadOnly(true);
    file->setToolTip(platformqt::ToQ(filePath));
    box->addWidget(file);

    auto* removeAds = new QPushButton(UiText::tr("広告を削除する"), d);
    removeAds->setObjectName(QStringLiteral("removeAds"));
    box->addWidget(removeAds);

    auto* openRecord = new QPushButton(UiText::tr("関連するQdxファイルを開く。"), d);
    openRecord->setObjectName(QStringLiteral("openQdx"));
    box->addWidget(openRecord);
    box->addStretch();

    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* close = new QPushButton(UiText::tr("閉じる"), d);
    close->setObjectName(QStringLiteral("close"));
    row->addWidget(close);
    box->addLayout(row);

    // The record is looked for when asked for: the user may have saved the site meanwhile.
    QObject::connect(openRecord, &QPushButton::clicked, d, [d, openRecord, filePath, programFolder] {
        const std::string record = FindRelatedQdx(filePath);
        if (record.empty()) {
            openRecord->setText(UiText::tr("関連するQdxファイルはありません。"));
            openRecord->setEnabled(false);
            return;
        }
        std::string message;
        if (appshell::StartCompanion(programFolder, appshell::Companion::Sitrova, {record}, &message)) {
            d->done(1);
            return;
        }
        if (!message.empty()) platformqt::ShowMessage(d, kCaption, message, platformqt::IconWarning);
    });
    QObject::connect(removeAds, &QPushButton::clicked, d, [removeAds, filePath] {
        const int removed = filters::CleanFileInPlace(filePath);
        QApplication::beep();
        removeAds->setText(removed ? UiText::tr("広告削除は済みです") : UiText::tr("広告は見つかりませんでした。"));
        removeAds->setEnabled(false);
    });
    QObject::connect(close, &QPushButton::clicked, d, [d] { d->done(0); });
    FinishDialog(d, 400, 300);
    return d;
}

}  // namespace appqt
