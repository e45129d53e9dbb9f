// Message boxes. Without a real display (the offscreen platform of unattended runs) the box
// prints its caption and text to stderr and takes its default answer instead of waiting.
#pragma once

#include <string>

class QWidget;

namespace platformqt {

enum MessageIcon : int { IconNone = 0, IconInformation, IconWarning, IconError, IconQuestion };
enum MessageButtons : int { ButtonOk = 0, ButtonsYesNo, ButtonsRetryCancel };
enum MessageAnswer : int { AnswerOk = 1, AnswerCancel = 2, AnswerRetry = 4, AnswerYes = 6, AnswerNo = 7 };

// With ButtonsYesNo, `defaultAnswer` is AnswerYes or AnswerNo; with ButtonsRetryCancel,
// AnswerRetry or AnswerCancel.
int ShowMessage(QWidget* parent, const std::string& caption, const std::string& text, MessageIcon icon,
                MessageButtons buttons = ButtonOk, int defaultAnswer = AnswerOk);

// True when windows cannot be seen by anyone (offscreen or minimal platform).
bool IsHeadless();

// Before QApplication exists: choose the offscreen platform when no display is set, and keep
// the two warnings every run without a desktop gets off stderr.
void ChooseHeadlessPlatformIfNoDisplay();

}  // namespace platformqt
