#include "engine/qt/NamedOptionsForm.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "platform/UiText.h"
#include "platform/qt/UiText.h"

namespace engineqt {

NamedOptionsForm::NamedOptionsForm(QWidget* parent, QFormLayout* form) {
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
        const QString name = QStringLiteral("opt-") + QString::fromUtf8(option.name);
        // The table keeps the Japanese caption; the form shows it in the user's language.
        const QString label = QString::fromUtf8(platform::Tr(option.label));
        switch (option.kind) {
        case engine::NamedOptionKind::Bool: {
            auto* check = new QCheckBox(label, parent);
            check->setObjectName(name);
            form->addRow(check);
            m_controls.push_back({&option, [check](const std::string& v) { check->setChecked(v == "1"); },
                                  [check] { return std::string(check->isChecked() ? "1" : "0"); }});
            continue;
        }
        case engine::NamedOptionKind::Integer: {
            auto* spin = new QSpinBox(parent);
            spin->setObjectName(name);
            spin->setRange(static_cast<int>(option.minimum), static_cast<int>(option.maximum));
            form->addRow(label, spin);
            m_controls.push_back({&option, [spin](const std::string& v) { spin->setValue(QString::fromStdString(v).toInt()); },
                                  [spin] { return std::to_string(spin->value()); }});
            continue;
        }
        case engine::NamedOptionKind::Path:
        case engine::NamedOptionKind::Text: break;
        }
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(name);
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        if (option.kind == engine::NamedOptionKind::Path) {
            auto* browse = new QPushButton(UiText::tr("参照..."), parent);
            browse->setObjectName(name + QStringLiteral("-browse"));
            QObject::connect(browse, &QPushButton::clicked, parent, [parent, edit, label] {
                const QString path = QFileDialog::getOpenFileName(parent, label, edit->text());
                if (!path.isEmpty()) edit->setText(path);
            });
            row->addWidget(browse);
        }
        form->addRow(label, row);
        m_controls.push_back({&option, [edit](const std::string& v) { edit->setText(QString::fromStdString(v)); },
                              [edit] { return edit->text().trimmed().toStdString(); }});
    }
}

void NamedOptionsForm::Show(const engine::NamedOptions& options) {
    for (const Control& c : m_controls) c.show(engine::NamedOptionText(options, *c.option));
}

int NamedOptionsForm::Read(engine::NamedOptions& options, std::string* error) const {
    engine::NamedOptions read = options;
    for (const Control& c : m_controls)
        if (!engine::SetNamedOptionText(read, *c.option, c.text(), error)) return engine::NamedOptionRefused;
    options = read;
    return engine::NamedOptionSet;
}

}  // namespace engineqt
