// Finding a window's controls by id ("ctl<id>") or object name, and letting the window run
// until a condition holds.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QThread>
#include <QWidget>
#include <chrono>

namespace testsupport {

template <typename T>
T* Control(QWidget* root, const QString& name) {
    return root->findChild<T*>(name);
}

template <typename T>
T* Control(QWidget* root, int id) {
    return root->findChild<T*>(QStringLiteral("ctl%1").arg(id));
}

// Handles the window's events until `done` holds; false when `limitMs` ran out first.
template <typename Condition>
bool RunUntil(Condition done, int limitMs = 30000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace testsupport
