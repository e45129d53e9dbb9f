// "Web の環境設定": the named save options, one control per entry of their table. An option
// added to the table appears here without a change to this file.
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <vector>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "engine/ClientSettings.h"
#include "engine/NamedOptions.h"
#include "engine/SaveJob.h"
#include "records/Settings.h"

namespace appqt {

namespace {

// One option's control: shows a value's text and gives back the text it holds.
struct OptionControl {
    const engine::NamedOptionDescriptor* option;
    std::function<void(const std::string&)> show;
    std::function<std::string()> text;
};

OptionControl NewControl(QDialog* d, QFormLayout* form, const engine::NamedOptionDescriptor& option) {
    const QString name = QStringLiteral("opt-") + QString::fromUtf8(option.name);
    const QString label = QString::fromUtf8(option.label);
    switch (option.kind) {
    case engine::NamedOptionKind::Bool: {
        auto* check = new QCheckBox(label, d);
        check->setObjectName(name);
        form->addRow(check);
        return {&option, [check](const std::string& v) { check->setChecked(v == "1"); },
                [check] { return std::string(check->isChecked() ? "1" : "0"); }};
    }
    case engine::NamedOptionKind::Integer: {
        auto* spin = new QSpinBox(d);
        spin->setObjectName(name);
        spin->setRange(static_cast<int>(option.minimum), static_cast<int>(option.maximum));
        form->addRow(label, spin);
        return {&option, [spin](const std::string& v) { spin->setValue(QString::fromStdString(v).toInt()); },
                [spin] { return std::to_string(spin->value()); }};
    }
    case engine::NamedOptionKind::Path:
    case engine::NamedOptionKind::Text: break;
    }
    auto* edit = new QLineEdit(d);
    edit->setObjectName(name);
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    if (option.kind == engine::NamedOptionKind::Path) {
        auto* browse = new QPushButton(QStringLiteral("参照..."), d);
        browse->setObjectName(name + QStringLiteral("-browse"));
        QObject::connect(browse, &QPushButton::clicked, d, [d, edit, label] {
            const QString path = QFileDialog::getOpenFileName(d, label, edit->text());
            if (!path.isEmpty()) edit->setText(path);
        });
        row->addWidget(browse);
    }
    form->addRow(label, row);
    return {&option, [edit](const std::string& v) { edit->setText(QString::fromStdString(v)); },
            [edit] { return edit->text().trimmed().toStdString(); }};
}

}  // namespace

QDialog* CreateWebSettingsDialog(QWidget* owner, engine::SaveJob& job) {
    const std::string iniPath = job.IniPath();
    QDialog* d = NewDialog(owner, "InitializeWeb", "Web の環境設定");
    auto* box = new QVBoxLayout(d);
    auto* form = new QFormLayout;
    box->addLayout(form);
    auto controls = std::make_shared<std::vector<OptionControl>>();
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable())
        controls->push_back(NewControl(d, form, option));
    box->addStretch();

    const auto showAll = [controls](const engine::NamedOptions& options) {
        for (const OptionControl& c : *controls) c.show(engine::NamedOptionText(options, *c.option));
    };
    const auto save = [controls, iniPath, &job](std::string& error) {
        engine::NamedOptions options;
        for (const OptionControl& c : *controls)
            if (!engine::SetNamedOptionText(options, *c.option, c.text(), &error)) return 0;
        if (!records::SaveNamedOptions(iniPath, options, &error)) return 0;
        // The next save of this window takes them too, and so do the fetches outside a save.
        job.SetNamed(options);
        platform::SetDefaultHttpSettings(engine::MakeClientSettings(options, engine::ClientUse::Program));
        return 1;
    };
    box->addLayout(NewSettingsButtons(d, {.ok = 1201, .cancel = 1202, .help = 1203, .defaults = 1204}, job.ProgramFolder(), "/web.htm", save,
                                      [showAll] { showAll(engine::NamedOptions{}); }));
    showAll(records::ReadNamedOptions(iniPath));
    FinishDialog(d, 480, 200, true);
    return d;
}

}  // namespace appqt
