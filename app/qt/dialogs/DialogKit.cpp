#include "app/qt/dialogs/DialogKit.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/shell/Shell.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"

namespace appqt {

using platformqt::ToQ;
using platformqt::Ui;


QDialog* NewDialog(QWidget* owner, const char* name, const char* title) {
    auto* dialog = new QDialog(owner);
    dialog->setObjectName(QString::fromUtf8(name));
    dialog->setWindowTitle(Ui(title));
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    return dialog;
}

void FinishDialog(QDialog* dialog, int width, int height, bool resizable) {
    const QSize wanted(width, height);
    if (resizable) {
        dialog->resize(wanted);
        return;
    }
    const QSize needed = dialog->layout() ? dialog->layout()->minimumSize() : QSize();
    dialog->setFixedSize(wanted.expandedTo(needed));
}

QGroupBox* NewGroup(QWidget* parent, int id, const char* caption) {
    auto* group = new QGroupBox(Ui(caption), parent);
    group->setObjectName(ControlName(id));
    return group;
}

QCheckBox* NewCheck(QWidget* parent, int id, const char* caption) {
    auto* check = new QCheckBox(Ui(caption), parent);
    check->setObjectName(ControlName(id));
    return check;
}

QRadioButton* NewRadio(QWidget* parent, int id, const char* caption) {
    auto* radio = new QRadioButton(Ui(caption), parent);
    radio->setObjectName(ControlName(id));
    return radio;
}

QPushButton* NewButton(QWidget* parent, int id, const char* caption) {
    auto* button = new QPushButton(Ui(caption), parent);
    button->setObjectName(ControlName(id));
    button->setAutoDefault(false);
    return button;
}

QPushButton* NamedButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(Ui(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

void CheckAllItems(QTreeWidget* list, bool checked) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

QLabel* NewLabel(QWidget* parent, int id, const std::string& text) {
    auto* label = new QLabel(Ui(text.c_str()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), parent);
    if (id) label->setObjectName(ControlName(id));
    return label;
}

void ConnectHelp(QPushButton* button, QDialog* dialog, const std::string& programFolder, const std::string& topic) {
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, programFolder, topic] {
        std::string message;
        (void)appshell::OpenHelpTopic(programFolder, topic, &message);
        if (!message.empty()) platformqt::ShowMessage(dialog, kCaption, message, platformqt::IconWarning);
    });
}

void ShowSaveError(QWidget* parent, const std::string& error) {
    platformqt::ShowMessage(parent, kCaption, error, platformqt::IconWarning);
}

ColumnGroup::ColumnGroup(QWidget* parent, int id, const char* caption)
    : m_group(NewGroup(parent, id, caption)), m_layout(new QVBoxLayout(m_group)) {}

QCheckBox* ColumnGroup::Check(int id, const char* caption) {
    QCheckBox* check = NewCheck(m_group, id, caption);
    m_layout->addWidget(check);
    return check;
}

QLabel* ColumnGroup::Continuation(int id, const char* text) {
    QLabel* label = NewLabel(m_group, id, text);
    label->setIndent(24);
    m_layout->addWidget(label);
    return label;
}

void ColumnGroup::Stretch() { m_layout->addStretch(); }

QHBoxLayout* NewSettingsButtons(QDialog* dialog, const SettingsButtonIds& ids, const std::string& programFolder,
                                const std::string& helpTopic, std::function<int(std::string& error)> save,
                                std::function<void()> showDefaults) {
    QPushButton* ok = NewButton(dialog, ids.ok, QT_TRANSLATE_NOOP("UiText", "OK"));
    QPushButton* cancel = NewButton(dialog, ids.cancel, QT_TRANSLATE_NOOP("UiText", "キャンセル"));
    QPushButton* defaults =
        ids.defaults ? NewButton(dialog, ids.defaults, QT_TRANSLATE_NOOP("UiText", "デフォルトに戻す")) : nullptr;
    QPushButton* help = NewButton(dialog, ids.help, QT_TRANSLATE_NOOP("UiText", "HELP"));
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    if (defaults) row->addWidget(defaults);
    row->addWidget(help);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);

    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, save = std::move(save)] {
        std::string error;
        if (!save(error)) {
            ShowSaveError(dialog, error);
            return;
        }
        dialog->done(1);
    });
    QObject::connect(cancel, &QPushButton::clicked, dialog, [dialog] { dialog->done(0); });
    if (defaults && showDefaults) QObject::connect(defaults, &QPushButton::clicked, dialog, std::move(showDefaults));
    ConnectHelp(help, dialog, programFolder, helpTopic);
    return row;
}

}  // namespace appqt
