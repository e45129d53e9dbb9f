// The settings dialogs. Each factory builds the dialog with its controls filled from
// the settings file; the caller runs it (exec) and deletes it. OK writes the dialog's keys
// and ends with 1; Cancel and the close box end with 0 and write nothing.
#pragma once

#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace engine {
class SaveJob;
}

namespace appqt {

// "InitializeSiteDL": DefMode bits of the complete save and BlogCutOff.
QDialog* CreateSiteSaveSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder);

// "InitializeSrsFile": serial-save error handling, its close option and the plug-in list.
QDialog* CreateSerialSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder);

// "InitializeExtReg": the .qdx file type, the browser for saved pages and DefMode 0x8000000.
// The hooks stand in for the desktop where a test needs to decide what it reports.
struct QdxFileDialogHooks {
    // The association state and the other program's name (appshell::QdxAssociationStateFor).
    std::function<int(std::string* otherProgramName)> associationState;
    // Registers (remove false) or removes the association; returns the result bits.
    std::function<int(bool remove)> changeAssociation;
    // Asked with the report of a failed association change; true restarts with
    // administrator rights (the dialog then ends with kDialogRestartElevated).
    std::function<bool(QWidget* parent, const std::string& report)> askRestart;
    // What the desktop opens HTML files with, shown while the default handler is chosen.
    std::function<std::string()> defaultHtmlHandler;
};
QDialog* CreateQdxFileSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder,
                                     const QdxFileDialogHooks& hooks = {});

// "InitializeOther": WhlMode, the "save with Sitrova" entry of the browsers' link menu and
// the language of the windows ([Display] Language, taken at the next start).
QDialog* CreateOtherSettingsDialog(QWidget* owner, const std::string& iniPath, const std::string& programFolder);

// "InitializeWeb": the named save options (Sitrov.ini [WebOptions]), one control per option.
// OK also hands them to the job, for the window's next save.
QDialog* CreateWebSettingsDialog(QWidget* owner, engine::SaveJob& job);

}  // namespace appqt
