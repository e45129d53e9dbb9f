// "Sitrovaエラーログビューワー": the download failures of a save, read from its error log.
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/qt/QtText.h"
#include "records/ErrorLog.h"
#include "records/ErrorLogScan.h"
#include "platform/qt/UiText.h"

namespace appqt {

namespace {

using platformqt::ToQ;

std::string WithoutExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

std::string LogFileName() { return std::string(records::kErrorLogName) + ".log"; }

void FillFailures(QTreeWidget* list, QLabel* count, const std::vector<records::DownloadFailure>& failures) {
    for (const records::DownloadFailure& f : failures) {
        auto* item = new QTreeWidgetItem(list);
        item->setText(0, QString::number(f.lineNumber));
        item->setText(1, ToQ(f.target));
        item->setText(2, ToQ(f.message));
    }
    count->setText(QString::number(failures.size()));
}

}  // namespace

std::string ErrorLogPathOf(const engine::SaveJob& job) {
    const std::string qdx = job.QdxPath();
    if (!qdx.empty()) {
        const std::string inDataFolder = WithoutExtension(qdx) + ".files/" + LogFileName();
        const std::string besideRecord = platform::FolderOf(qdx) + LogFileName();
        if (!platform::IsRegularFile(inDataFolder) && platform::IsRegularFile(besideRecord)) return besideRecord;
        return inDataFolder;
    }
    std::string folder = job.LogFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + LogFileName();
}

QDialog* CreateErrorLogViewer(QWidget* owner, const std::string& logPath) {
    QDialog* d = NewDialog(owner, "ErrorLogViewer", QT_TRANSLATE_NOOP("UiText", "Sitrovaエラーログビューワー"));
    auto* box = new QVBoxLayout(d);
    auto* group = new QGroupBox(UiText::tr("エラーログ"), d);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(UiText::tr("DL失敗数："), group), 0, 0);
    auto* count = new QLabel(UiText::tr("-検索中-"), group);
    count->setObjectName(QStringLiteral("failureCount"));
    grid->addWidget(count, 0, 1);
    grid->setColumnStretch(1, 1);

    auto* list = new QTreeWidget(group);
    list->setObjectName(QStringLiteral("failureList"));
    list->setHeaderLabels({UiText::tr("行"), UiText::tr("対象"), UiText::tr("内容")});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grid->addWidget(list, 1, 0, 1, 2);

    auto* detail = new QLabel(UiText::tr("項目を選択してください。"), group);
    detail->setObjectName(QStringLiteral("detail"));
    detail->setWordWrap(true);
    detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(detail, 2, 0, 1, 2);
    box->addWidget(group, 1);

    auto* fileRow = new QHBoxLayout;
    auto* open = new QPushButton(UiText::tr("ログファイル"), d);
    open->setObjectName(QStringLiteral("openLog"));
    open->setAutoDefault(false);
    auto* path = new QLineEdit(ToQ(logPath), d);
    path->setObjectName(QStringLiteral("logPath"));
    path->setReadOnly(true);
    fileRow->addWidget(open);
    fileRow->addWidget(path, 1);
    box->addLayout(fileRow);

    std::vector<std::string> lines;
    if (records::ReadErrorLogLines(logPath, lines)) {
        FillFailures(list, count, records::FindDownloadFailures(lines));
    } else {
        count->setText(QStringLiteral("-"));
        detail->setText(UiText::tr("%1  が開けません。").arg(ToQ(platform::NameOf(logPath))));
        open->setEnabled(false);
    }

    QObject::connect(list, &QTreeWidget::currentItemChanged, d, [detail](QTreeWidgetItem* item) {
        if (!item) return;
        detail->setText(item->text(1).isEmpty() ? item->text(2) : item->text(1) + QLatin1Char('\n') + item->text(2));
    });
    QObject::connect(open, &QPushButton::clicked, d, [logPath] { (void)platform::ShellOpen(logPath); });
    FinishDialog(d, 480, 480, true);
    return d;
}

}  // namespace appqt
