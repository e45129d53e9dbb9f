// The ad-removal view: a run of its own that removes advertisements from every page of one
// saved site. A worker cleans the pages; the view polls it once a second and shows the count,
// a progress bar and one row per page.
#pragma once

#include <QWidget>

#include "filters/SiteCleaning.h"
#include "platform/BackgroundTask.h"

class QLabel;
class QProgressBar;
class QTimer;
class QTreeWidget;

namespace engine {
class SaveJob;
}

namespace appqt {

class AdRemovalView : public QWidget {
public:
    // `closeWhenDone`: the top-level window closes once the work is done (unattended runs and
    // the user's choice), instead of showing that it finished.
    AdRemovalView(engine::SaveJob& job, bool closeWhenDone, QWidget* parent = nullptr);
    ~AdRemovalView() override;

    // One poll of the worker; public so tests can drive the view without waiting.
    void Tick();
    bool Finished() const { return m_finished; }
    // Asks the worker to stop and waits for it (a page takes a moment at most).
    void StopWorker();

private:
    void Finish(const filters::SiteCleaningSnapshot& last);

    engine::SaveJob& m_job;
    bool m_closeWhenDone;
    bool m_finished = false;
    filters::SiteCleaningJob m_cleaning;
    QLabel* m_count = nullptr;
    QProgressBar* m_progress = nullptr;
    QTreeWidget* m_list = nullptr;
    QTimer* m_timer = nullptr;
    platform::BackgroundTask m_worker;
};

}  // namespace appqt
