// "Web の環境設定": the named save options, one control per entry of their table. An option
// added to the table appears here without a change to this file.
#include <QDialog>
#include <QFormLayout>
#include <QVBoxLayout>

#include <memory>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "engine/NamedOptions.h"
#include "engine/SaveJob.h"
#include "engine/qt/NamedOptionsForm.h"
#include "records/Settings.h"

namespace appqt {

QDialog* CreateWebSettingsDialog(QWidget* owner, engine::SaveJob& job) {
    const std::string iniPath = job.IniPath();
    QDialog* d = NewDialog(owner, "InitializeWeb", "Web の環境設定");
    auto* box = new QVBoxLayout(d);
    auto* form = new QFormLayout;
    box->addLayout(form);
    auto controls = std::make_shared<engineqt::NamedOptionsForm>(d, form);
    box->addStretch();

    const auto save = [controls, iniPath, &job](std::string& error) {
        engine::NamedOptions options;
        if (!controls->Read(options, &error)) return 0;
        if (!records::SaveNamedOptions(iniPath, options, &error)) return 0;
        // The next save of this window takes them too.
        job.SetNamed(options);
        return 1;
    };
    box->addLayout(NewSettingsButtons(d, {.ok = 1201, .cancel = 1202, .help = 1203, .defaults = 1204}, job.ProgramFolder(), "/web.htm", save,
                                      [controls] { controls->Show(engine::NamedOptions{}); }));
    controls->Show(records::ReadNamedOptions(iniPath));
    FinishDialog(d, 480, 200, true);
    return d;
}

}  // namespace appqt
