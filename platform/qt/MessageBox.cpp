#include "platform/qt/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>

#include "platform/ConsoleText.h"
#include "platform/qt/QtText.h"

namespace platformqt {

namespace {

QtMessageHandler g_nextHandler = nullptr;

// Two warnings that every run without a desktop gets and that say nothing about the run:
// no per-user runtime folder (a desktop session sets one), and a window-size hint the
// offscreen platform cannot pass on. Everything else goes on to Qt's own handler.
void DropHeadlessNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
                                 message.contains(QLatin1String("does not support propagateSizeHints()"))))
        return;
    if (g_nextHandler) g_nextHandler(type, context, message);
}

}  // namespace

bool IsHeadless() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

void ChooseHeadlessPlatformIfNoDisplay() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if ((!display || !*display) && (!wayland || !*wayland) && (!chosen || !*chosen))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!g_nextHandler) g_nextHandler = qInstallMessageHandler(DropHeadlessNoise);
}

int ShowMessage(QWidget* parent, const std::string& caption, const std::string& text, MessageIcon icon,
                MessageButtons buttons, int defaultAnswer) {
    if (IsHeadless()) {
        platform::PrintMessageLine(caption, text);
        return buttons == ButtonOk ? AnswerOk : defaultAnswer;
    }
    QMessageBox box(parent);
    box.setWindowTitle(ToQ(caption));
    box.setText(ToQLines(text));
    switch (icon) {
    case IconInformation: box.setIcon(QMessageBox::Information); break;
    case IconWarning: box.setIcon(QMessageBox::Warning); break;
    case IconError: box.setIcon(QMessageBox::Critical); break;
    case IconQuestion: box.setIcon(QMessageBox::Question); break;
    default: break;
    }
    if (buttons == ButtonsYesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton(defaultAnswer == AnswerYes ? yes : no);
        box.exec();
        return box.clickedButton() == yes ? AnswerYes : AnswerNo;
    }
    if (buttons == ButtonsRetryCancel) {
        QPushButton* retry = box.addButton(QMessageBox::Retry);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(defaultAnswer == AnswerRetry ? retry : cancel);
        box.exec();
        return box.clickedButton() == retry ? AnswerRetry : AnswerCancel;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return AnswerOk;
}

}  // namespace platformqt
