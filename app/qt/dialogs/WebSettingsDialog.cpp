// "Web の環境設定": the named save options, one control per entry of their table. An option
// added to the table appears here without a change to this file.
#include <QDialog>
#include <QFormLayout>
#include <QVBoxLayout>

#include <memory>

#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "engine/ClientSettings.h"
#include "engine/NamedOptions.h"
#include "engine/SaveJob.h"
#include "engine/qt/NamedOptionsForm.h"
#include "records/Settings.h"

namespace appqt {

QDialog* CreateWebSettingsDialog(QWidget* owner, engine::SaveJob& job) {
    const std::string iniPath = job.IniPath();
    QDialog* d = NewDialog(owner, "InitializeWeb", QT_TRANSLATE_NOOP("UiText", "Web の環境設定"));
    auto* box = new QVBoxLayout(d);
    auto* form = new QFormLayout;
    box->addLayout(form);
    auto controls = std::make_shared<engineqt::NamedOptionsForm>(d, form);
    box->addStretch();

    const engine::NamedOptions shown = records::ReadNamedOptions(iniPath);
    const auto save = [controls, iniPath, shown, &job](std::string& error) {
        engine::NamedOptions options;
        if (!controls->Read(options, &error)) return 0;
        if (!records::SaveNamedOptions(iniPath, options, &error)) return 0;
        // The next save of this window takes what was changed here; an option it was given
        // on the command line and left alone here stays as given.
        engine::NamedOptions next = job.Named();
        for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
            const std::string value = engine::NamedOptionText(options, option);
            if (value != engine::NamedOptionText(shown, option)) (void)engine::SetNamedOptionText(next, option, value);
        }
        job.SetNamed(next);
        platform::SetDefaultHttpSettings(engine::MakeClientSettings(next, engine::ClientUse::Program));
        return 1;
    };
    box->addLayout(NewSettingsButtons(d, {.ok = 1201, .cancel = 1202, .help = 1203, .defaults = 1204}, job.ProgramFolder(), "/web.htm", save,
                                      [controls] { controls->Show(engine::NamedOptions{}); }));
    controls->Show(shown);
    FinishDialog(d, 480, 200, true);
    return d;
}

}  // namespace appqt
