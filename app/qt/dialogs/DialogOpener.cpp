#include "app/qt/dialogs/DialogOpener.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>
#include <functional>

#include "app/qt/dialogs/InfoDialogs.h"
#include "app/qt/dialogs/SettingsDialogs.h"
#include "engine/SaveJob.h"
#include "records/qt/RecordDialogs.h"

namespace appqt {

namespace {

constexpr int kNotOpened = -1;

using RecordRunner = int (*)(QWidget*, engine::SaveJob&);

struct RecordDialog {
    const char* name;
    RecordRunner run;
};

constexpr RecordDialog kRecordDialogs[] = {
    {"QdxComment", recordsqt::RunQdxComment},
    {"QdxLinkAdd", recordsqt::RunQdxLinkAdd},
    {"QdxLinkDel", recordsqt::RunQdxLinkDel},
};

constexpr const char* kBuiltDialogs[] = {
    "VersionInfo",   "InitializeSiteDL",   "InitializeSrsFile", "InitializeExtReg", "InitializeOther",
    "ErrorLogViewer", "DropHtmlCutAdv",    "OutDomainSelectDlg", "AnalysisLit",     "AnalysisStd",
    "InitializeWeb",
};

RecordRunner RecordRunnerFor(const std::string& name) {
    for (const RecordDialog& d : kRecordDialogs)
        if (name == d.name) return d.run;
    return nullptr;
}

// The open dialogs are marked by children of the application object, so the rule "one of
// each name" needs no state of our own and holds for the record dialogs too, which run
// their own windows.
QString MarkName(const std::string& name) { return QStringLiteral("SitrovaOpenDialog:") + QString::fromStdString(name); }

class OpenMark {
public:
    explicit OpenMark(const std::string& name) : m_mark(new QObject(QCoreApplication::instance())) {
        m_mark->setObjectName(MarkName(name));
    }
    ~OpenMark() { delete m_mark; }
    OpenMark(const OpenMark&) = delete;
    OpenMark& operator=(const OpenMark&) = delete;

    static bool Exists(const std::string& name) {
        return QCoreApplication::instance()->findChild<QObject*>(MarkName(name), Qt::FindDirectChildrenOnly) != nullptr;
    }

private:
    QPointer<QObject> m_mark;
};

}  // namespace

bool IsDialogName(const std::string& name) {
    if (RecordRunnerFor(name)) return true;
    for (const char* built : kBuiltDialogs)
        if (name == built) return true;
    return false;
}

QDialog* CreateDialogByName(const std::string& name, QWidget* owner, engine::SaveJob& job, const DialogArgs& args) {
    const std::string ini = job.IniPath();
    const std::string programFolder = job.ProgramFolder();
    if (name == "VersionInfo") return CreateVersionDialog(owner);
    if (name == "InitializeSiteDL") return CreateSiteSaveSettingsDialog(owner, ini, programFolder);
    if (name == "InitializeSrsFile") return CreateSerialSettingsDialog(owner, ini, programFolder);
    if (name == "InitializeExtReg") return CreateQdxFileSettingsDialog(owner, ini, programFolder);
    if (name == "InitializeOther") return CreateOtherSettingsDialog(owner, ini, programFolder);
    if (name == "InitializeWeb") return CreateWebSettingsDialog(owner, job);
    if (name == "ErrorLogViewer") return CreateErrorLogViewer(owner, ErrorLogPathOf(job));
    if (name == "DropHtmlCutAdv") return CreateDropHtmlDialog(owner, args.filePath, programFolder);
    if (name == "OutDomainSelectDlg") return CreateOutDomainSelectDialog(owner, job);
    if (name == "AnalysisLit") return CreateAnalysisLitDialog(owner, job, args);
    if (name == "AnalysisStd") return CreateAnalysisStdDialog(owner, args);
    return nullptr;
}

int OpenDialog(const std::string& name, QWidget* owner, engine::SaveJob& job) {
    return OpenDialog(name, owner, job, DialogArgs{});
}

int OpenDialog(const std::string& name, QWidget* owner, engine::SaveJob& job, const DialogArgs& args) {
    if (!QCoreApplication::instance() || !IsDialogName(name) || OpenMark::Exists(name)) return kNotOpened;
    OpenMark mark(name);
    if (RecordRunner run = RecordRunnerFor(name)) return run(owner, job);
    QPointer<QDialog> dialog = CreateDialogByName(name, owner, job, args);
    if (!dialog) return kNotOpened;
    // exec() keeps the owner disabled while the dialog runs; the close box rejects, which
    // ends the dialog with 0.
    const int result = dialog->exec();
    delete dialog.data();
    return result;
}

}  // namespace appqt
