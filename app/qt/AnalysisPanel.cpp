#include "app/qt/AnalysisPanel.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/PageMeasure.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace appqt {

AnalysisPanel::AnalysisPanel(QWidget* parent) : QGroupBox(UiText::tr("ページの情報"), parent) {
    setObjectName(QStringLiteral("analysisPanel"));
    auto* box = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("analysisText"));
    m_text->setReadOnly(true);
    box->addWidget(m_text, 1);
    m_details = new QPushButton(UiText::tr("解析詳細情報"), this);
    m_details->setObjectName(QStringLiteral("ctl539"));
    m_details->setEnabled(false);
    box->addWidget(m_details, 0, Qt::AlignRight);
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] { Tick(); });
    connect(m_details, &QPushButton::clicked, this, [this] {
        if (m_finished && showDetails) showDetails();
    });
}

AnalysisPanel::~AnalysisPanel() { StopWorker(); }

void AnalysisPanel::StopWorker() { m_worker.StopAndWait(); }

void AnalysisPanel::Start(const std::string& url) {
    StopWorker();
    m_page = std::make_unique<app::PageAnalysis>();
    m_finished = false;
    m_dots = 0;
    m_details->setEnabled(false);
    m_text->setPlainText(UiText::tr("解析中"));
    show();
    // Worker thread: owns the analysis until it says it is done.
    m_worker.Start([url, page = m_page.get()](std::stop_token stop) { app::AnalysePage(url, *page, stop); });
    m_timer->start(1000);
}

void AnalysisPanel::Tick() {
    if (m_finished || !m_page) return;
    if (m_worker.Running()) {
        static const char* const kCycle[] = {QT_TRANSLATE_NOOP("UiText", "解析中･･･"),
                                             QT_TRANSLATE_NOOP("UiText", "解析中･･････"),
                                             QT_TRANSLATE_NOOP("UiText", "解析中･････････")};
        m_text->setPlainText(platformqt::Ui(kCycle[m_dots++ % 3]));
        return;
    }
    m_worker.Wait();
    m_timer->stop();
    m_finished = true;
    m_text->setPlainText(platformqt::ToQLines(app::PanelSummary(*m_page)));
    m_details->setEnabled(true);
}

}  // namespace appqt
