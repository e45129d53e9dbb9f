// "OutDomainSelectDlg": the pages of other sites found by the save, with their titles fetched
// in the background; the ticked ones are saved.
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <mutex>
#include <set>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "engine/SaveJob.h"
#include "platform/BackgroundTask.h"
#include "platform/qt/QtText.h"
#include "records/PageTitleFetch.h"
#include "platform/qt/UiText.h"

namespace appqt {

namespace {

// The titles as the fetching thread finds them; the dialog takes them on its timer.
class TitleFetch : public QObject {
public:
    TitleFetch(std::vector<std::string> urls, QObject* parent) : QObject(parent) {
        m_task.Start([this, urls = std::move(urls)](std::stop_token stop) {
            for (size_t i = 0; i < urls.size() && !stop.stop_requested(); ++i) {
                std::string title = records::FetchPageTitle(urls[i], [&stop] { return stop.stop_requested(); });
                std::lock_guard lock(m_lock);
                m_found.emplace_back(i, std::move(title));
            }
            std::lock_guard lock(m_lock);
            m_ended = true;
        });
    }
    ~TitleFetch() override {
        m_task.StopAndWait();
    }
    // The titles found since the last call; true once every title has been fetched.
    bool Take(std::vector<std::pair<size_t, std::string>>& found) {
        std::lock_guard lock(m_lock);
        found.swap(m_found);
        m_found.clear();
        return m_ended;
    }

private:
    std::mutex m_lock;
    std::vector<std::pair<size_t, std::string>> m_found;
    bool m_ended = false;
    platform::BackgroundTask m_task;
};

// Keeps the job's links to the ticked pages (every entry of each, so their source pages stay).
void KeepChosen(engine::SaveJob& job, const std::set<std::string>& chosen) {
    std::vector<std::string> urls, paths, keptUrls, keptPaths;
    job.TakeOutDomainLinks(urls, paths);
    for (size_t i = 0; i < urls.size(); ++i) {
        if (!chosen.count(urls[i])) continue;
        keptUrls.push_back(urls[i]);
        keptPaths.push_back(i < paths.size() ? paths[i] : std::string());
    }
    job.SetOutDomainLinks(std::move(keptUrls), std::move(keptPaths));
}

}  // namespace

QDialog* CreateOutDomainSelectDialog(QWidget* owner, engine::SaveJob& job) {
    QDialog* d =
        NewDialog(owner, "OutDomainSelectDlg", QT_TRANSLATE_NOOP("UiText", "外部ドメインのページタイトル一覧を取得中･･･"));
    std::vector<std::string> urls, paths, unique;
    job.TakeOutDomainLinks(urls, paths);
    for (const std::string& url : urls)
        if (std::find(unique.begin(), unique.end(), url) == unique.end()) unique.push_back(url);

    auto* box = new QVBoxLayout(d);
    auto* list = new QTreeWidget(d);
    list->setObjectName(QStringLiteral("pageList"));
    list->setHeaderLabels({QStringLiteral("URL"), UiText::tr("タイトル")});
    list->setRootIsDecorated(false);
    list->header()->resizeSection(0, 260);
    for (const std::string& url : unique) {
        auto* item = new QTreeWidgetItem(list, {platformqt::ToQ(url), QString()});
        item->setCheckState(0, Qt::Checked);
    }
    box->addWidget(list, 1);
    auto* progress = new QProgressBar(d);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setRange(0, std::max<int>(1, static_cast<int>(unique.size())));
    progress->setValue(0);
    box->addWidget(progress);
    auto* row = new QHBoxLayout;
    QPushButton* all = NamedButton(d, "selectAll", QT_TRANSLATE_NOOP("UiText", "全て選択"));
    QPushButton* none = NamedButton(d, "selectNone", QT_TRANSLATE_NOOP("UiText", "全て非選択"));
    QPushButton* ok = NamedButton(d, "ok", QT_TRANSLATE_NOOP("UiText", "OK"));
    ok->setDefault(true);
    row->addWidget(all);
    row->addWidget(none);
    row->addStretch();
    row->addWidget(ok);
    box->addLayout(row);

    auto* fetch = new TitleFetch(unique, d);
    auto* poll = new QTimer(d);
    QObject::connect(poll, &QTimer::timeout, d, [d, fetch, poll, list, progress] {
        std::vector<std::pair<size_t, std::string>> found;
        const bool ended = fetch->Take(found);
        for (const auto& [index, title] : found) {
            if (QTreeWidgetItem* item = list->topLevelItem(static_cast<int>(index)))
                item->setText(1, platformqt::ToQ(title));
            progress->setValue(progress->value() + 1);
        }
        if (!ended) return;
        poll->stop();
        progress->setValue(progress->maximum());
        d->setWindowTitle(UiText::tr("外部ドメインのページタイトル一覧"));
    });
    poll->start(200);

    QObject::connect(all, &QPushButton::clicked, d, [list] { CheckAllItems(list, true); });
    QObject::connect(none, &QPushButton::clicked, d, [list] { CheckAllItems(list, false); });
    QObject::connect(ok, &QPushButton::clicked, d, [d, list, &job] {
        std::set<std::string> chosen;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->checkState(0) == Qt::Checked)
                chosen.insert(platformqt::FromQ(list->topLevelItem(i)->text(0)));
        KeepChosen(job, chosen);
        d->done(1);
    });
    FinishDialog(d, 520, 420);
    return d;
}

}  // namespace appqt
