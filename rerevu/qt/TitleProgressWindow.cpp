// The progress window of the helper library's title fetch, built as a companion library so
// that the helper itself carries no window system into processes that have none.
#include <dlfcn.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QThread>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <string>

#include "platform/qt/UiText.h"

namespace {

constexpr const char* kTitle = QT_TRANSLATE_NOOP("UiText", "ページタイトルを取得中");
constexpr const char* kWaiting = QT_TRANSLATE_NOOP("UiText", "サーバーの応答を待機中･･･");

std::string OwnFolder() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&OwnFolder), &info) || !info.dli_fname) return ".";
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The window's texts: the Japanese they are written in, or the English of the translations
// beside this library. The host's application is left as it is: the translations are only
// looked up here, never installed into it.
class Texts {
public:
    explicit Texts(bool english) {
        if (english)
            m_loaded = m_english.load(QString::fromStdString(OwnFolder() + "/" + platformqt::kEnglishTranslationFile));
    }
    QString operator()(const char* japanese) const {
        const QString english = m_loaded ? m_english.translate("UiText", japanese) : QString();
        return english.isEmpty() ? QString::fromUtf8(japanese) : english;
    }

private:
    QTranslator m_english;
    bool m_loaded = false;
};

class TitleProgressWindow : public QDialog {
public:
    TitleProgressWindow(QWidget* owner, int (*finished)(void*), void* context, const Texts& texts)
        : QDialog(owner), m_finished(finished), m_context(context) {
        setObjectName(QStringLiteral("QdxPopWinMini_GetTitle"));
        setWindowTitle(texts(kTitle));
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor(0xD3, 0xD3, 0xD3));
        palette.setColor(QPalette::WindowText, Qt::black);
        setPalette(palette);
        auto* waiting = new QLabel(texts(kWaiting), this);
        waiting->setObjectName(QStringLiteral("waitText"));
        waiting->move(32, 16);
        waiting->adjustSize();
        // A longer wording widens the window instead of being cut off.
        setFixedSize(std::max(320, waiting->width() + 64), 96);
        m_timer.setInterval(1000);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_finished(m_context)) done(QDialog::Accepted);
        });
        m_timer.start();
    }

private:
    int (*m_finished)(void*);
    void* m_context;
    QTimer m_timer;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) int RerEvuShowTitleProgress(void* owner, int (*finished)(void*),
                                                                             void* context, int english) {
    // Windows need a widget application and live on its own thread; elsewhere the caller
    // simply waits for the fetch.
    if (!finished || !qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        QThread::currentThread() != QCoreApplication::instance()->thread())
        return -1;
    const Texts texts(english != 0);
    // The dialog is modal: its owner is disabled while it is shown and enabled again after.
    TitleProgressWindow window(static_cast<QWidget*>(owner), finished, context, texts);
    window.setModal(true);
    return window.exec() == QDialog::Accepted ? 1 : 0;
}
