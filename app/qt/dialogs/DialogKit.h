// Small builders shared by the dialogs: every control carries the object name "ctl<id>" so
// windows and tests find it by the number the dialog table gives it.
#pragma once

#include <QString>
#include <string>

class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace appqt {

constexpr const char* kCaption = "Sitrova";

QString ControlName(int id);

// A dialog with the title of the table. Fixed-size dialogs keep at least the table's size
// and grow only when their contents need more room (larger fonts).
QDialog* NewDialog(QWidget* owner, const char* name, const char* title);
void FinishDialog(QDialog* dialog, int width, int height, bool resizable = false);

QGroupBox* NewGroup(QWidget* parent, int id, const char* caption);
QCheckBox* NewCheck(QWidget* parent, int id, const char* caption);
QRadioButton* NewRadio(QWidget* parent, int id, const char* caption);
QPushButton* NewButton(QWidget* parent, int id, const char* caption);
QLabel* NewLabel(QWidget* parent, int id, const std::string& text);

// The HELP buttons: opens the topic of the help file and tells the user when it cannot.
void ConnectHelp(QPushButton* button, QDialog* dialog, const std::string& programFolder, const std::string& topic);

// A settings write that failed keeps the dialog open and says why.
void ShowSaveError(QWidget* parent, const std::string& error);

}  // namespace appqt
