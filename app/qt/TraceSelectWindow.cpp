#include "app/qt/TraceSelectWindow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <mutex>

#include "app/qt/dialogs/DialogKit.h"
#include "engine/TraceLinks.h"
#include "engine/qt/ProgressView.h"
#include "platform/BackgroundTask.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/PageTitleFetch.h"

namespace appqt {

using platformqt::ToQ;

namespace {

// The start page's links, then their titles one by one, as the fetching thread finds them;
// the window takes them on its timer.
class TraceGathering : public QObject {
public:
    TraceGathering(const std::string& startUrl, QObject* parent) : QObject(parent) {
        m_task.Start([this, startUrl](std::stop_token stop) {
            auto stopped = [&stop] { return stop.stop_requested(); };
            std::vector<std::string> links;
            const int result = engine::GatherTraceLinks(startUrl, links, stopped);
            {
                std::lock_guard lock(m_lock);
                m_links = links;
                m_result = result;
                m_gathered = true;
            }
            for (size_t i = 0; result == 1 && i < links.size() && !stop.stop_requested(); ++i) {
                std::string title = records::FetchPageTitle(links[i], stopped);
                std::lock_guard lock(m_lock);
                m_titles.emplace_back(i, std::move(title));
            }
            std::lock_guard lock(m_lock);
            m_ended = true;
        });
    }
    ~TraceGathering() override {
        m_task.StopAndWait();
    }

    // Once the links are gathered: true with the result and the links (handed over once).
    bool TakeLinks(int& result, std::vector<std::string>& links) {
        std::lock_guard lock(m_lock);
        if (!m_gathered || m_linksTaken) return false;
        m_linksTaken = true;
        result = m_result;
        links = m_links;
        return true;
    }
    // The titles found since the last call; true once every title has been fetched.
    bool TakeTitles(std::vector<std::pair<size_t, std::string>>& found) {
        std::lock_guard lock(m_lock);
        found.swap(m_titles);
        m_titles.clear();
        return m_ended;
    }

private:
    std::mutex m_lock;
    bool m_gathered = false;
    bool m_linksTaken = false;
    int m_result = 0;
    std::vector<std::string> m_links;
    std::vector<std::pair<size_t, std::string>> m_titles;
    bool m_ended = false;
    platform::BackgroundTask m_task;
};

// One folder item, unticked, with its links below it; the link items in link order.
void FillList(QTreeWidget* list, const std::vector<std::string>& links, std::vector<QTreeWidgetItem*>& linkItems) {
    linkItems.assign(links.size(), nullptr);
    for (const engine::TraceFolder& folder : engine::GroupTraceLinks(links)) {
        const QString count = UiText::tr("（%1個のリンク）").arg(folder.urls.size());
        auto* item = new QTreeWidgetItem(list, {ToQ(folder.prefix), count});
        item->setCheckState(0, Qt::Unchecked);
        item->setToolTip(0, ToQ(folder.prefix));
        for (const std::string& url : folder.urls) {
            const std::string name = url.substr(folder.prefix.size());
            auto* child = new QTreeWidgetItem(item, {ToQ(name.empty() ? std::string("./") : name), QString()});
            child->setToolTip(0, ToQ(url));
            const size_t index = static_cast<size_t>(std::find(links.begin(), links.end(), url) - links.begin());
            if (index < linkItems.size()) linkItems[index] = child;
        }
        item->setExpanded(true);
    }
}

}  // namespace

QDialog* CreateTraceSelectWindow(QWidget* owner, const std::string& startUrl, std::vector<std::string>* chosen) {
    QDialog* d = NewDialog(owner, "QdxSelectTraceWnd", "追跡リンク選択ダイアログ");
    d->setWindowTitle(UiText::tr("追跡リンク選択ダイアログ"));
    auto* box = new QVBoxLayout(d);
    auto* note = new QLabel(UiText::tr("【開始ページ】%1\n"
                                       "2階層目から先は、チェックしたフォルダとその下のフォルダにある"
                                       "ページだけを追跡します。\n"
                                       "どれもチェックしなければ、全てのリンクを追跡します。")
                                .arg(ToQ(startUrl)),
                            d);
    note->setObjectName(QStringLiteral("note"));
    note->setWordWrap(true);
    box->addWidget(note);

    auto* list = new QTreeWidget(d);
    list->setObjectName(QStringLiteral("linkList"));
    list->setHeaderLabels({UiText::tr("フォルダ／リンク"), UiText::tr("ページタイトル")});
    list->header()->resizeSection(0, 300);
    box->addWidget(list, 1);

    auto* status = new QLabel(UiText::tr("開始ページのリンクを取得中･･･"), d);
    status->setObjectName(QStringLiteral("status"));
    box->addWidget(status);
    auto* progress = new QProgressBar(d);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setRange(0, 0);  // busy until the links are known
    box->addWidget(progress);

    auto* row = new QHBoxLayout;
    QPushButton* all = NamedButton(d, "selectAll", "全て選択");
    QPushButton* none = NamedButton(d, "selectNone", "全て解除");
    QPushButton* ok = NamedButton(d, "ok", "OK");
    QPushButton* cancel = NamedButton(d, "cancel", "キャンセル");
    all->setText(UiText::tr("全て選択"));
    none->setText(UiText::tr("全て解除"));
    cancel->setText(UiText::tr("キャンセル"));
    for (QPushButton* b : {all, none, ok}) b->setEnabled(false);
    row->addWidget(all);
    row->addWidget(none);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    box->addLayout(row);

    auto* gathering = new TraceGathering(startUrl, d);
    auto linkItems = std::make_shared<std::vector<QTreeWidgetItem*>>();
    auto* poll = new QTimer(d);
    QObject::connect(poll, &QTimer::timeout, d, [=] {
        int result = 0;
        std::vector<std::string> links;
        if (gathering->TakeLinks(result, links)) {
            // Nothing to choose from: the save goes on as after a cancel.
            if (result != 1) {
                poll->stop();
                d->done(0);
                return;
            }
            FillList(list, links, *linkItems);
            progress->setRange(0, static_cast<int>(links.size()));
            progress->setValue(0);
            status->setText(UiText::tr("ページタイトルを取得中･･･"));
            for (QPushButton* b : {all, none, ok}) b->setEnabled(true);
            ok->setDefault(true);
        }
        std::vector<std::pair<size_t, std::string>> titles;
        const bool ended = gathering->TakeTitles(titles);
        for (const auto& [index, title] : titles) {
            if (index < linkItems->size() && (*linkItems)[index]) (*linkItems)[index]->setText(1, ToQ(title));
            progress->setValue(progress->value() + 1);
        }
        if (!ended) return;
        poll->stop();
        progress->setValue(progress->maximum());
        status->setText(UiText::tr("リンク %1個 ／ フォルダ %2個")
                            .arg(linkItems->size())
                            .arg(list->topLevelItemCount()));
    });
    poll->start(200);

    QObject::connect(all, &QPushButton::clicked, d, [list] { CheckAllItems(list, true); });
    QObject::connect(none, &QPushButton::clicked, d, [list] { CheckAllItems(list, false); });
    QObject::connect(cancel, &QPushButton::clicked, d, [d] { d->done(0); });
    QObject::connect(ok, &QPushButton::clicked, d, [d, list, chosen] {
        chosen->clear();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->checkState(0) == Qt::Checked)
                chosen->push_back(platformqt::FromQ(list->topLevelItem(i)->text(0)));
        d->done(1);
    });
    FinishDialog(d, 560, 440, true);
    return d;
}

int RunTraceSelectWindow(QWidget* owner, const std::string& startUrl, std::vector<std::string>& chosen) {
    std::unique_ptr<QDialog> window(CreateTraceSelectWindow(owner, startUrl, &chosen));
    return window->exec() == 1 ? engineqt::ProgressView::TraceChosen : engineqt::ProgressView::TraceCancelled;
}

}  // namespace appqt
