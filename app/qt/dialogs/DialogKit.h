// Small builders shared by the dialogs: every control carries the object name "ctl<id>" so
// windows and tests find it by the number the dialog table gives it. Captions and titles are
// the Japanese source texts, marked where written with QT_TRANSLATE_NOOP("UiText", "…"); the
// builders show them in the user's language (UiText::tr).
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "platform/qt/QtText.h"

class QCheckBox;
class QDialog;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QVBoxLayout;
class QWidget;

namespace appqt {

constexpr const char* kCaption = "Sitrova";

using platformqt::ControlName;

// A dialog with the title of the table. Fixed-size dialogs keep at least the table's size
// and grow only when their contents need more room (larger fonts).
QDialog* NewDialog(QWidget* owner, const char* name, const char* title);
void FinishDialog(QDialog* dialog, int width, int height, bool resizable = false);

QGroupBox* NewGroup(QWidget* parent, int id, const char* caption);
QCheckBox* NewCheck(QWidget* parent, int id, const char* caption);
QRadioButton* NewRadio(QWidget* parent, int id, const char* caption);
QPushButton* NewButton(QWidget* parent, int id, const char* caption);
QLabel* NewLabel(QWidget* parent, int id, const std::string& text);  // a marked text too
// A button found by the object name given, for windows that number no controls.
QPushButton* NamedButton(QWidget* parent, const char* name, const char* caption);
// Ticks or clears every top-level item of a list (its first column).
void CheckAllItems(QTreeWidget* list, bool checked);

// The HELP buttons: opens the topic of the help file and tells the user when it cannot.
void ConnectHelp(QPushButton* button, QDialog* dialog, const std::string& programFolder, const std::string& topic);

// A settings write that failed keeps the dialog open and says why.
void ShowSaveError(QWidget* parent, const std::string& error);

// A group whose controls stand one under the other.
class ColumnGroup {
public:
    ColumnGroup(QWidget* parent, int id, const char* caption);
    QCheckBox* Check(int id, const char* caption);
    // The second line of the caption of the check box above, indented under its text.
    QLabel* Continuation(int id, const char* text);
    // Keeps the checks together at the top when the group is taller than they are.
    void Stretch();
    QGroupBox* Group() const { return m_group; }

private:
    QGroupBox* m_group;
    QVBoxLayout* m_layout;
};

// The identifiers of a settings dialog's buttons; `defaults` 0 when it has no
// "デフォルトに戻す" button.
struct SettingsButtonIds {
    int ok = 0;
    int cancel = 0;
    int help = 0;
    int defaults = 0;
};

// The button row of the settings dialogs: "デフォルトに戻す" and HELP on the left, OK and
// キャンセル on the right. OK calls `save`: 1 closes the dialog with 1, 0 shows `error` and
// keeps it open. キャンセル closes it with 0, "デフォルトに戻す" calls `showDefaults`, HELP
// opens `helpTopic`.
QHBoxLayout* NewSettingsButtons(QDialog* dialog, const SettingsButtonIds& ids, const std::string& programFolder,
                                const std::string& helpTopic, std::function<int(std::string& error)> save,
                                std::function<void()> showDefaults = {});

}  // namespace appqt
