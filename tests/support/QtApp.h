// One QApplication for the widget tests of a test program (offscreen platform).
#pragma once

#include <QApplication>
#include <cstdlib>

namespace testsupport {

inline QApplication* EnsureQApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
}

}  // namespace testsupport
