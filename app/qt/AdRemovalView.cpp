#include "app/qt/AdRemovalView.h"

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/SaveJob.h"
#include "platform/ExitCodes.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace appqt {

using platformqt::ToQ;

AdRemovalView::AdRemovalView(engine::SaveJob& job, bool closeWhenDone, QWidget* parent)
    : QWidget(parent), m_job(job), m_closeWhenDone(closeWhenDone) {
    auto* box = new QVBoxLayout(this);
    m_count = new QLabel(ToQ(filters::CleaningCountText(0, 0)), this);
    m_count->setObjectName(QStringLiteral("count"));
    box->addWidget(m_count);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    box->addWidget(m_progress);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({UiText::tr("ファイル"), UiText::tr("結果")});
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(false);
    box->addWidget(m_list, 1);

    const std::string qdxPath = job.QdxPath();
    const uint32_t sleepMs = job.CpuSleepMs();
    m_worker.Start([this, qdxPath, sleepMs](std::stop_token stop) {
        (void)filters::CleanSavedSite(qdxPath, sleepMs, m_cleaning, stop);
    });
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_timer->start(1000);
}

AdRemovalView::~AdRemovalView() { StopWorker(); }

void AdRemovalView::StopWorker() { m_worker.StopAndWait(); }

void AdRemovalView::Tick() {
    if (m_finished) return;
    const filters::SiteCleaningSnapshot s = m_cleaning.TakeSnapshot();
    for (const filters::CleanedPage& page : s.newPages) {
        auto* row = new QTreeWidgetItem(m_list, {ToQ(page.relativePath), ToQ(filters::CleaningResultText(page.result))});
        m_list->scrollToItem(row);
    }
    m_count->setText(ToQ(filters::CleaningCountText(s.done, s.total)));
    m_progress->setValue(filters::CleaningPercent(s.done, s.total));
    if (s.ended) Finish(s);
}

void AdRemovalView::Finish(const filters::SiteCleaningSnapshot& last) {
    m_finished = true;
    m_timer->stop();
    m_worker.Wait();
    if (!last.error.empty()) {
        platformqt::ShowMessage(this, "Sitrova", last.error, platformqt::IconError);
        m_job.SetRefusal(platform::ExitRefused);  // the record could not be read: nothing was cleaned
    }
    if (m_closeWhenDone) {
        // Closed from the event loop: the window may still be inside the tick's caller.
        QTimer::singleShot(0, window(), [w = window()] { w->close(); });
        return;
    }
    window()->setWindowTitle(UiText::tr("Sitrova - [広告削除終了]"));
}

}  // namespace appqt
