// "Save with Sitrova" for links. Browsers here have no context-menu extension for scripts,
// so a desktop entry takes the link instead: whatever can hand a URL to an application
// ("Open with", gtk-launch) starts Sitrova with it as PresetUrl and an empty save path.

#include "app/shell/Shell.h"
#include "app/shell/Xdg.h"
#include "platform/ByteString.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/ProgramFolder.h"
#include "platform/UserPlaces.h"

namespace appshell {

namespace {

std::string EntryPath(const xdg::Dirs& dirs) { return dirs.ApplicationsFolder() + "/" + kLinkDesktopId; }
std::string ScriptPath(const xdg::Dirs& dirs) { return dirs.ApplicationsFolder() + "/" + kLinkScriptName; }

std::string ShellQuoted(std::string text) {
    platform::ReplaceAll(text, "'", "'\\''");
    return "'" + text + "'";
}

std::string ScriptText(const std::string& programPath) {
    return "#!/bin/sh\n"
           "# Written by Sitrova: hands the link in $1 to Sitrova with an empty save path.\n"
           "# A double quote would end the field early, so it travels as %22.\n"
           "url=$(printf '%s' \"$1\" | sed 's/\"/%22/g')\n"
           "exec " + ShellQuoted(programPath) + " \"PresetUrl,\\\"$url\\\",\\\"\\\"\"\n";
}

bool EntryText(const std::string& scriptPath, std::string& out) {
    std::string script;
    if (!xdg::QuoteExecArgument(scriptPath, script)) return false;
    out = "[Desktop Entry]\n"
          "Type=Application\n"
          "Name=Sitrova で保存する\n"
          "Comment=リンク先を Sitrova で保存します\n"
          "Exec=sh " + script + " %u\n"
          "Terminal=false\n";
    return true;
}

}  // namespace

int IeContextMenuText(const std::string& programPath, std::string& out, std::string* error) {
    const std::string programUrl = "file://" + programPath;
    const char* lines[] = {
        "<HTML>",
        "<!-- IeContextMenu.html -->",
        "<SCRIPT LANGUAGE=\"JavaScript\" defer>",
        "<!--",
        "",
        "var PWin = external.menuArguments; //IEのオブジェクト（窓の情報全部入ってる。）",
        "var commandArgv = \"PresetUrl,\"+\"\\\"\" + PWin.event.srcElement.toString() + \"\\\",\\\"\\\"\";",
        nullptr,  // the program's line
        "",
        "var objShell = new ActiveXObject(\"WScript.Shell\");",
        "objShell.Run( exePath + \" \" + commandArgv, 1, false);",
        "",
        "//-->",
        "</SCRIPT>",
        "</HTML>",
    };
    std::string text;
    for (const char* line : lines) {
        text += line ? std::string(line) : "var exePath = \"\\\"" + programUrl + "\\\"\"";
        text += "\r\n";
    }
    out.clear();
    size_t bad = 0;
    if (platform::Utf8ToCp932(text, out, &bad) != platform::CodepageOk) {
        if (error) *error = std::string(kIeContextMenuName) + ": Shift-JIS にできない文字があります: " +
                            platform::DescribeUnmappable(text, bad);
        return 0;
    }
    return 1;
}

namespace {

// Beside the program, or with the user's other files when the program is installed.
std::string IeContextMenuPath(const std::string& programFolder) {
    return platform::PlaceFor(platform::Place::Data, programFolder) + "/" + kIeContextMenuName;
}

}  // namespace

int WriteIeContextMenu(const std::string& programFolder, std::string* error) {
    std::string bytes;
    if (IeContextMenuText(CompanionPath(programFolder, Companion::Sitrova), bytes, error) != 1) return 0;
    const std::string path = IeContextMenuPath(programFolder);
    if (!platform::WriteFileReplacing(path, bytes)) {
        if (error) *error = path + " を書き込めません。";
        return 0;
    }
    return 1;
}

int RegisterLinkMenuEntry(const std::string& programFolder) {
    // The page only mirrors the Windows entry; an installed program's folder is often not
    // writable, and the desktop entry below works without it.
    (void)WriteIeContextMenu(programFolder);

    const xdg::Dirs dirs = xdg::Dirs::FromEnvironment();
    std::string entry;
    if (!platform::CreateFolderChain(dirs.ApplicationsFolder()) || !EntryText(ScriptPath(dirs), entry)) return 0;
    if (!platform::WriteFileReplacing(ScriptPath(dirs), ScriptText(CompanionPath(programFolder, Companion::Sitrova))))
        return 0;
    // A script that cannot be run makes a menu entry that does nothing.
    if (!platform::MakeExecutable(ScriptPath(dirs)) || !platform::WriteFileReplacing(EntryPath(dirs), entry)) {
        (void)platform::RemoveFile(ScriptPath(dirs));
        return 0;
    }
    return 1;
}

int RemoveLinkMenuEntry() { return RemoveLinkMenuEntry(platform::ProgramFolder()); }

int RemoveLinkMenuEntry(const std::string& programFolder) {
    (void)platform::RemoveFile(IeContextMenuPath(programFolder));
    const xdg::Dirs dirs = xdg::Dirs::FromEnvironment();
    const bool entryGone = platform::RemoveFile(EntryPath(dirs));
    const bool scriptGone = platform::RemoveFile(ScriptPath(dirs));
    return entryGone && scriptGone ? 1 : 0;
}

bool LinkMenuEntryRegistered() {
    return platform::IsRegularFile(EntryPath(xdg::Dirs::FromEnvironment()));
}

}  // namespace appshell
