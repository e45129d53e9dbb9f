// Shared set-up of the dialog tests: a sandbox that holds the settings file and stands for
// the program folder and the desktop's data folders.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/support/QtApp.h"
#include "tests/support/QtControls.h"
#include "tests/support/Sandbox.h"

namespace dialogtest {

// Message boxes print their text offscreen; the tests read it as UTF-8.
inline const bool kUtf8Console = [] {
    setenv("LC_ALL", "C.UTF-8", 1);
    return true;
}();

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::EnsureQApplication();
        setenv("XDG_DATA_HOME", (box / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (box / "config").c_str(), 1);
        ini = box / "Sitrov.ini";
        programFolder = box.Path().substr(0, box.Path().size() - 1);
    }

    template <typename T>
    T* Ctl(QDialog* dialog, int id) {
        T* widget = testsupport::Control<T>(dialog, id);
        EXPECT_NE(widget, nullptr) << "ctl" << id;
        return widget;
    }
    void Click(QDialog* dialog, int id) {
        if (auto* button = Ctl<QAbstractButton>(dialog, id)) button->click();
    }
    std::string IniBytes() const { return testsupport::Sandbox::Exists(ini) ? testsupport::Sandbox::ReadFile(ini) : "<none>"; }

    testsupport::Sandbox box;
    std::string ini;
    std::string programFolder;
};

}  // namespace dialogtest
