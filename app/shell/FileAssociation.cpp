// The .qdx file type on the desktop: a shared-mime-info package declares the type, a desktop
// entry opens it with Sitrova, and mimeapps.list makes that entry the default.

#include "app/shell/Shell.h"
#include "app/shell/Xdg.h"
#include "platform/Environment.h"
#include "platform/FileUtil.h"
#include "platform/ProgramFolder.h"

namespace appshell {

namespace {

std::string PackageFolder(const xdg::Dirs& dirs) { return dirs.dataHome + "/mime/packages"; }
std::string PackagePath(const xdg::Dirs& dirs) { return PackageFolder(dirs) + "/" + kQdxMimePackage; }
std::string EntryPath(const xdg::Dirs& dirs) { return dirs.ApplicationsFolder() + "/" + kQdxDesktopId; }

std::string PackageText() {
    // The raised weight lets our type win when another package also claims *.qdx.
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"") +
           kQdxMimeType +
           "\">\n"
           "    <comment>Sitrova 更新チェックファイル</comment>\n"
           "    <glob pattern=\"*.qdx\" weight=\"60\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

bool EntryText(const std::string& programPath, std::string& out) {
    std::string program;
    if (!xdg::QuoteExecArgument(programPath, program)) return false;
    out = std::string("[Desktop Entry]\n"
                      "Type=Application\n"
                      "Name=Sitrova\n"
                      "Comment=Sitrova 更新チェックファイルを開く\n"
                      "Exec=") +
          program + " %f\n" + "MimeType=" + kQdxMimeType + ";\n" + "NoDisplay=false\n" + "Terminal=false\n";
    return true;
}

// A rewrite replaces the file through a temporary beside it, so the folder must be writable
// too; a folder standing where the file should be cannot be written at all.
bool ExistsButNotWritable(const std::string& path) {
    if (!platform::FileExists(path)) return false;
    if (!platform::IsRegularFile(path) || !platform::IsWritableByUser(path)) return true;
    std::string folder = platform::FolderOf(path);
    return !platform::IsWritableByUser(folder);
}

bool SameProgram(const std::string& a, const std::string& b) {
    return a == b || platform::SameFile(a, b);
}

// A symbolic link (a managed dot-file) is followed, so that the link itself stays.
std::string ResolvedListPath(const xdg::Dirs& dirs) {
    const std::string path = dirs.UserMimeAppsList();
    if (!platform::IsSymbolicLink(path)) return path;
    // A link to nothing is written at its own name.
    if (!platform::FileExists(path)) return path;
    return platform::CanonicalPath(path);
}

// mimeapps.list exists but cannot be read: writing it would lose the lines it holds.
bool ListUnreadable(const std::string& path, std::string& text) {
    text.clear();
    return platform::FileExists(path) && !platform::ReadWholeFile(path, text);
}

bool WriteDefaultLine(const xdg::Dirs& dirs) {
    const std::string path = ResolvedListPath(dirs);
    std::string text;
    if (ListUnreadable(path, text)) return false;
    const std::string folder = platform::FolderOf(path);
    if (!folder.empty() && !platform::CreateFolderChain(folder)) return false;
    return platform::WriteFileReplacing(path, xdg::WithDefaultApplication(text, kQdxMimeType, kQdxDesktopId));
}

bool RemoveDefaultLine(const xdg::Dirs& dirs) {
    const std::string path = ResolvedListPath(dirs);
    if (!platform::FileExists(path)) return true;
    std::string text;
    if (ListUnreadable(path, text)) return false;
    const std::string changed = xdg::WithoutApplication(text, kQdxMimeType, kQdxDesktopId);
    return changed == text || platform::WriteFileReplacing(path, changed);
}

void RefreshDatabases(const xdg::Dirs& dirs) {
    xdg::RunDatabaseTool("update-mime-database", dirs.dataHome + "/mime");
    xdg::RunDatabaseTool("update-desktop-database", dirs.ApplicationsFolder());
}

}  // namespace

int QdxAssociationState(std::string* otherProgramName) {
    return QdxAssociationStateFor(platform::ProgramFolder(), otherProgramName);
}

int QdxAssociationStateFor(const std::string& programFolder, std::string* otherProgramName) {
    if (otherProgramName) otherProgramName->clear();
    const xdg::Dirs dirs = xdg::Dirs::FromEnvironment();
    int state = 0;

    // The type .qdx files have: ours when our package is seen, else whatever claims them.
    const std::vector<std::string> types = xdg::MimeTypesForGlob(dirs, "*.qdx");
    std::string type;
    for (const std::string& t : types)
        if (t == kQdxMimeType || type.empty()) type = t;

    std::string userList;
    if (type.empty() || ListUnreadable(dirs.UserMimeAppsList(), userList)) {
        state |= AssocStateUnknown;
    } else {
        const std::string id = xdg::DefaultDesktopFor(dirs, type);
        const std::string file = xdg::FindDesktopFile(dirs, id);
        if (id.empty()) {
            state |= AssocStateUnknown;
        } else {
            // The installed package's own launcher (a command on the PATH) opens .qdx files
            // with this very program too; our entry written by a copy of Sitrova elsewhere
            // names that program.
            const std::vector<std::string> exec = xdg::ExecArguments(xdg::DesktopEntryValue(file, "Exec"));
            std::string program = exec.empty() ? std::string() : exec.front();
            if (program.find('/') == std::string::npos) program = xdg::FindOnPath(program);
            const bool sameProgram = !program.empty() && SameProgram(program, CompanionPath(programFolder, Companion::Sitrova));
            if (id != kQdxDesktopId && !sameProgram) {
                state |= AssocStateOther;
                if (otherProgramName) *otherProgramName = xdg::DesktopEntryValue(file, "Name");
            } else if (!sameProgram) {
                state |= AssocStateOther;
                if (otherProgramName) *otherProgramName = exec.empty() ? std::string() : exec.front();
            }
        }
    }
    if (ExistsButNotWritable(EntryPath(dirs)) || ExistsButNotWritable(PackagePath(dirs))) state |= AssocStateNotWritable;
    return state == 0 ? AssocStateOurs : state;
}

int RegisterQdxAssociation(const std::string& programFolder) {
    const xdg::Dirs dirs = xdg::Dirs::FromEnvironment();
    int failed = 0;
    if (!platform::CreateFolderChain(PackageFolder(dirs)) || !platform::WriteFileReplacing(PackagePath(dirs), PackageText()))
        failed |= AssocPackageNotCreated;
    if (!platform::CreateFolderChain(dirs.ApplicationsFolder())) {
        failed |= AssocEntryFolderNotCreated;
    } else {
        std::string entry;
        if (!EntryText(CompanionPath(programFolder, Companion::Sitrova), entry) ||
            !platform::WriteFileReplacing(EntryPath(dirs), entry))
            failed |= AssocEntryNotWritten;
    }
    if (!WriteDefaultLine(dirs)) failed |= AssocDefaultNotWritten;
    RefreshDatabases(dirs);
    return failed == 0 ? AssocRegistered : failed;
}

int RemoveQdxAssociation() {
    const xdg::Dirs dirs = xdg::Dirs::FromEnvironment();
    int failed = 0;
    if (!RemoveDefaultLine(dirs)) failed |= AssocDefaultNotRemoved;
    if (!platform::RemoveFile(EntryPath(dirs))) failed |= AssocEntryNotDeleted;
    if (!platform::RemoveFile(PackagePath(dirs))) failed |= AssocPackageNotDeleted;
    RefreshDatabases(dirs);
    return failed == 0 ? AssocRemoved : failed;
}

}  // namespace appshell
