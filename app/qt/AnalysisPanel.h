// The input view's analysis panel ("ページの情報"): runs the page analysis on a worker, cycles
// "解析中･･･" while it runs, then shows the summary and enables "解析詳細情報" (539).
#pragma once

#include <QGroupBox>
#include <functional>
#include <memory>

#include "app/PageAnalysis.h"
#include "platform/BackgroundTask.h"

class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace appqt {

class AnalysisPanel : public QGroupBox {
public:
    explicit AnalysisPanel(QWidget* parent);
    ~AnalysisPanel() override;

    // Starts a new analysis of `url` (the previous one is stopped and dropped).
    void Start(const std::string& url);
    // One poll of the worker; public so tests can drive it without waiting.
    void Tick();
    bool Finished() const { return m_finished; }
    // The finished analysis (only once Finished()).
    const app::PageAnalysis& Result() const { return *m_page; }
    // Called by "解析詳細情報".
    std::function<void()> showDetails;

private:
    void StopWorker();

    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_details = nullptr;
    QTimer* m_timer = nullptr;
    std::unique_ptr<app::PageAnalysis> m_page;
    bool m_finished = false;
    int m_dots = 0;
    platform::BackgroundTask m_worker;
};

}  // namespace appqt
