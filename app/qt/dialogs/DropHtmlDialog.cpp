// "ドロップファイルの処理": a dropped HTML file can have its advertisements removed
// or lead to the saved site it belongs to.
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "app/shell/Shell.h"
#include "filters/CutAdv.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"

namespace appqt {

namespace {

constexpr std::string_view kDataFolderSuffix = ".files";

std::string WithoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string FindRelatedQdx(const std::string& filePath) {
    const std::string own = platform::FolderOf(filePath) + WithoutExtension(platform::NameOf(filePath)) + ".qdx";
    if (platform::IsRegularFile(own)) return own;
    // Walk up the folders: a page deep inside a saved site lies under "X.files", and "X.qdx"
    // sits beside that folder.
    std::string folder = WithoutTrailingSlash(platform::FolderOf(filePath));
    while (folder.size() > 1) {
        const std::string name = platform::NameOf(folder);
        if (name.size() > kDataFolderSuffix.size() && platform::EndsWithI(name, kDataFolderSuffix)) {
            const std::string record = platform::FolderOf(folder) +
                                       name.substr(0, name.size() - kDataFolderSuffix.size()) + ".qdx";
            if (platform::IsRegularFile(record)) return record;
        }
        const std::string parent = WithoutTrailingSlash(platform::FolderOf(folder));
        if (parent.empty() || parent == folder) break;
        folder = parent;
    }
    return {};
}

QDialog* CreateDropHtmlDialog(QWidget* owner, const std::string& filePath, const std::string& programFolder) {
    QDialog* d = NewDialog(owner, "DropHtmlCutAdv", "ドロップファイルの処理");
    auto* box = new QVBoxLayout(d);
    box->addWidget(new QLabel(QStringLiteral("以下のファイルに対する処理を選んでください。"), d));
    auto* file = new QLineEdit(platformqt::ToQ(platform::NameOf(filePath)), d);
    file->setObjectName(QStringLiteral("fileName"));
    file->setReadOnly(true);
    file->setToolTip(platformqt::ToQ(filePath));
    box->addWidget(file);

    auto* removeAds = new QPushButton(QStringLiteral("広告を削除する"), d);
    removeAds->setObjectName(QStringLiteral("removeAds"));
    box->addWidget(removeAds);

    const std::string record = FindRelatedQdx(filePath);
    auto* openRecord = new QPushButton(QStringLiteral("関連するQdxファイルを開く。"), d);
    openRecord->setObjectName(QStringLiteral("openQdx"));
    openRecord->setEnabled(!record.empty());
    if (!record.empty()) openRecord->setToolTip(platformqt::ToQ(record));
    box->addWidget(openRecord);
    box->addStretch();

    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* close = new QPushButton(QStringLiteral("閉じる"), d);
    close->setObjectName(QStringLiteral("close"));
    row->addWidget(close);
    box->addLayout(row);

    QObject::connect(openRecord, &QPushButton::clicked, d, [d, record, programFolder] {
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
        removeAds->setText(removed ? QStringLiteral("広告削除は済みです") : QStringLiteral("広告は見つかりませんでした。"));
        removeAds->setEnabled(false);
    });
    QObject::connect(close, &QPushButton::clicked, d, [d] { d->done(0); });
    FinishDialog(d, 400, 300);
    return d;
}

}  // namespace appqt
