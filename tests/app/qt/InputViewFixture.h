// A main window with its input view, offscreen, whose messages, dialogs and program starts
// are recorded instead of shown or run.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/InputView.h"
#include "app/qt/MainWindow.h"
#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/qt/QtText.h"
#include "records/SaveRecords.h"
#include "tests/support/QtApp.h"
#include "tests/support/QtControls.h"
#include "tests/support/Sandbox.h"

namespace inputtest {

struct Shown {
    std::string caption;
    std::string text;
    int icon = 0;
    bool question = false;
};

struct Started {
    std::string what;  // a companion's number, a program's path or a dialog's name
    std::vector<std::string> args;
};

class InputViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::EnsureQApplication();
        programFolder = box / "prog";
        ASSERT_TRUE(platform::CreateFolder(programFolder));
        records.SetTempFolder(box.Path());
    }

    void TearDown() override {
        // A save still running holds the window: let it end before the window goes.
        if (job && job->WorkerRunning()) (void)job->StopWorker(10000);
        window.reset();
    }

    void NewJob(uint32_t modeBits = engine::mode::ModeNormal) {
        window.reset();
        job = std::make_unique<engine::SaveJob>();
        job->SetProgramFolder(programFolder);
        job->SetRecords(&records);
        job->SetModeBits(modeBits);
    }

    void WriteSettings(const std::string& text) { testsupport::Sandbox::WriteFile(programFolder + "/Sitrov.ini", text); }

    // Opens the window for the current job (a fresh one when there is none).
    void Open(uint32_t kind = engine::mode::ModeNormal) {
        if (!job) NewJob();
        window = std::make_unique<appqt::MainWindow>(*job, kind);
        appqt::UiHooks& hooks = window->Hooks();
        hooks.message = [this](QWidget*, const std::string& caption, const std::string& text,
                               platformqt::MessageIcon icon, platformqt::MessageButtons buttons, int defaultAnswer) {
            shown.push_back({caption, text, icon, buttons == platformqt::ButtonsYesNo});
            if (answer) return answer(shown.back());
            return buttons == platformqt::ButtonsYesNo ? defaultAnswer : static_cast<int>(platformqt::AnswerOk);
        };
        hooks.cpuPopup = [this](QWidget*, int level) { return popupLevel < 0 ? level : popupLevel; };
        hooks.openDialog = [this](const std::string& name, QWidget*, engine::SaveJob&, const appqt::DialogArgs& args) {
            started.push_back({name, {args.filePath, args.url}});
            lastArgs = args;
            return dialogResult;
        };
        hooks.startCompanion = [this](appshell::Companion which, const std::vector<std::string>& args, std::string*) {
            started.push_back({std::to_string(static_cast<int>(which)), args});
            return 1;
        };
        hooks.startProgram = [this](const std::string& program, const std::vector<std::string>& args) {
            started.push_back({program, args});
            return 1;
        };
        hooks.chooseQdxFile = [](QWidget*, const std::string&) { return std::string(); };
        hooks.chooseSaveFile = [this](QWidget*, const std::string& proposed) {
            proposedSave = proposed;
            return chosenSave;
        };
        window->show();
    }

    template <typename T = QWidget>
    T* Control(int id) {
        return testsupport::Control<T>(window.get(), id);
    }
    void Click(int id) { Control<QPushButton>(id)->click(); }
    // Replaces a field's text by typing, as a user would.
    void Type(int id, const std::string& text) {
        QLineEdit* edit = id == 516 ? Control<QComboBox>(516)->lineEdit() : Control<QLineEdit>(id);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, platformqt::ToQ(text));
    }
    std::string Text(int id) {
        if (id == 516) return platformqt::FromQ(Control<QComboBox>(516)->currentText());
        return platformqt::FromQ(Control<QLineEdit>(id)->text());
    }
    bool Checked(int id) { return Control<QAbstractButton>(id)->isChecked(); }

    // Lets the window run until `done` holds or the time is up.
    bool RunUntil(const std::function<bool()>& done, int limitMs = 30000) { return testsupport::RunUntil(done, limitMs); }

    testsupport::Sandbox box;
    std::string programFolder;
    records::SaveRecords records;
    std::unique_ptr<engine::SaveJob> job;
    std::unique_ptr<appqt::MainWindow> window;

    std::vector<Shown> shown;
    std::function<int(const Shown&)> answer;
    std::vector<Started> started;
    int popupLevel = -1;
    int dialogResult = 0;
    appqt::DialogArgs lastArgs;
    std::string proposedSave;
    std::string chosenSave;
};

}  // namespace inputtest
