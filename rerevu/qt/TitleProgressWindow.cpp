// The progress window of the helper library's title fetch, built as a companion library so
// that the helper itself carries no window system into processes that have none.
#include <QApplication>
#include <QDialog>
#include <QThread>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/qt/QtText.h"

namespace {

class TitleProgressWindow : public QDialog {
public:
    TitleProgressWindow(QWidget* owner, int (*finished)(void*), void* context)
        : QDialog(owner), m_finished(finished), m_context(context) {
        setObjectName(QStringLiteral("QdxPopWinMini_GetTitle"));
        setWindowTitle(platformqt::ToQ("ページタイトルを取得中"));
        setFixedSize(320, 96);
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor(0xD3, 0xD3, 0xD3));
        setPalette(palette);
        m_timer.setInterval(1000);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_finished(m_context)) done(QDialog::Accepted);
        });
        m_timer.start();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(Qt::black);
        painter.drawText(32, 16 + painter.fontMetrics().ascent(), platformqt::ToQ("サーバーの応答を待機中･･･"));
    }

private:
    int (*m_finished)(void*);
    void* m_context;
    QTimer m_timer;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) int RerEvuShowTitleProgress(void* owner, int (*finished)(void*),
                                                                             void* context) {
    // Windows need a widget application and live on its own thread; elsewhere the caller
    // simply waits for the fetch.
    if (!finished || !qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        QThread::currentThread() != QCoreApplication::instance()->thread())
        return -1;
    // The dialog is modal: its owner is disabled while it is shown and enabled again after.
    TitleProgressWindow window(static_cast<QWidget*>(owner), finished, context);
    window.setModal(true);
    return window.exec() == QDialog::Accepted ? 1 : 0;
}
