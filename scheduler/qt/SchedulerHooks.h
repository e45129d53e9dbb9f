// The ways the scheduler reaches the user and the desktop, as functions that tests replace.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/qt/MessageBox.h"

class QWidget;

namespace schedulerqt {

inline constexpr const char* kCaption = "Sitrova Scheduler";

struct SchedulerHooks {
    // A message box: returns platformqt::AnswerOk, AnswerYes or AnswerNo.
    std::function<int(QWidget* owner, const std::string& caption, const std::string& text,
                      platformqt::MessageButtons buttons, int defaultAnswer)>
        message;
    // The clipboard's text; false when it cannot be read.
    std::function<bool(std::string& text)> clipboardText;
    // The save-file dialog; "" when cancelled.
    std::function<std::string(QWidget* owner, const std::string& proposedName)> chooseSaveFile;
    // A program started without waiting; 1 when started.
    std::function<int(const std::string& program, const std::vector<std::string>& args)> startProgram;
    // The "QdXSchdCpu" dialog: the id of the checked level (1024..1027), or 0.
    std::function<int(QWidget* owner)> cpuDialog;
};

SchedulerHooks DefaultSchedulerHooks();

// A plain OK box through the hooks.
void Tell(const SchedulerHooks& hooks, QWidget* owner, const std::string& text, const std::string& caption = kCaption);

}  // namespace schedulerqt
