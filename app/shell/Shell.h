// How Sitrova reaches outside its window: companion programs, help and read-me files, the
// .qdx file type of the desktop and the "save with Sitrova" entry for links in browsers.
// The desktop's data lives under $XDG_DATA_HOME (default ~/.local/share), so tests can point
// it at a sandbox.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace appshell {

// --- .qdx file type ---------------------------------------------------------------------
// The MIME type our package declares for "*.qdx" and the desktop entry that opens it.
constexpr const char* kQdxMimeType = "application/x-sitrova-qdx";
constexpr const char* kQdxDesktopId = "sitrova-qdx.desktop";
constexpr const char* kQdxMimePackage = "sitrova-qdx.xml";

enum AssociationState : int {
    AssocStateUnknown = 1,      // no glob for *.qdx anywhere, no default, or defaults unreadable
    AssocStateOther = 2,        // the default names another program
    AssocStateNotWritable = 4,  // our entry or package exists but cannot be rewritten
    AssocStateOurs = 8,         // alone: .qdx files open with this program
};

// Result bits of register and remove. The desktop has no registry keys; each step of ours
// takes the bit of the key operation it replaces, so the report's detail lines still apply:
//   register  64     the MIME package (mime/packages/sitrova-qdx.xml) could not be written
//             32     the default line in $XDG_CONFIG_HOME/mimeapps.list could not be written
//             0x100  the folder for desktop entries could not be created
//             128    the desktop entry (its Exec line) could not be written
//   remove    0x400  our default line could not be taken out of mimeapps.list
//             0x800  the desktop entry could not be deleted
//             0x4000 the MIME package could not be deleted
// 0x1000, 0x2000, 0x8000 and 0x10000 have no step of their own here.
enum AssociationResult : int {
    AssocDefaultNotWritten = 32,
    AssocPackageNotCreated = 64,
    AssocEntryNotWritten = 128,
    AssocEntryFolderNotCreated = 0x100,
    AssocRegistered = 512,
    AssocDefaultNotRemoved = 0x400,
    AssocEntryNotDeleted = 0x800,
    AssocPackageNotDeleted = 0x4000,
    AssocRemoved = 0x20000,
};

// State as a sum: 1 the type of ".qdx" cannot be read, 2 it names another program, 4 our
// entry cannot be opened for writing; 8 alone: .qdx files open with Sitrova.
// "Sitrova" is the program in the running program's folder.
int QdxAssociationState(std::string* otherProgramName = nullptr);
// The same for the program in `programFolder`.
int QdxAssociationStateFor(const std::string& programFolder, std::string* otherProgramName = nullptr);
// Result bits as the association's owner reports them: 512 registered without error,
// 0x20000 removed without error; otherwise the bits of the steps that failed.
int RegisterQdxAssociation(const std::string& programFolder);
int RemoveQdxAssociation();
// The settings dialog's texts for a state, and the report for a failed result (empty when
// the result is 512 or 0x20000).
std::string AssociationLabel(int state, const std::string& otherProgramName);
std::string AssociationButtonText(int state);
std::string AssociationErrorReport(int result);

// --- "save with Sitrova" for links --------------------------------------------------------
// A desktop entry "sitrova-save-link.desktop" (with the helper script beside it) that starts
// Sitrova with PresetUrl,"<link>","" — for "Open with" of link handlers or
// `gtk-launch sitrova-save-link URL`. It declares no MIME type, so it never takes links
// away from the browser. "IeContextMenu.html" is also written beside the program.
constexpr const char* kLinkDesktopId = "sitrova-save-link.desktop";
constexpr const char* kLinkScriptName = "sitrova-save-link.sh";
constexpr const char* kIeContextMenuName = "IeContextMenu.html";

int RegisterLinkMenuEntry(const std::string& programFolder);  // 1 done, 0 failed
int RemoveLinkMenuEntry();                                     // 1 done, 0 failed
// Also deletes the IeContextMenu.html of `programFolder`.
int RemoveLinkMenuEntry(const std::string& programFolder);
bool LinkMenuEntryRegistered();
// The page's bytes (Shift-JIS, CR LF) for a program; 0 with `error` set when the path has a
// character Shift-JIS cannot hold.
[[nodiscard]] int IeContextMenuText(const std::string& programPath, std::string& out, std::string* error = nullptr);
// Writes IeContextMenu.html into `programFolder`; 1 done, 0 with `error`.
[[nodiscard]] int WriteIeContextMenu(const std::string& programFolder, std::string* error = nullptr);

// --- companion programs and help ----------------------------------------------------------
enum class Companion { Sitrova, SitrovaCui, QdxSuite, QdXScheduler };
std::string CompanionPath(const std::string& programFolder, Companion which);
// Starts the program (arguments as given); 1 started, 0 missing or failed with `message`
// set to what the user is told ("" when nothing is to be told).
int StartCompanion(const std::string& programFolder, Companion which, const std::vector<std::string>& args,
                   std::string* message);

// Opens a target (a file URL) the desktop way; 1 started, 0 failed. The default is
// platform::ShellOpen; tests pass their own.
using Opener = std::function<int(const std::string& target)>;

// The help pages are HTML files in programFolder + "/help/". A topic is a page name, with
// or without a leading "/" and an "#anchor"; "" is the contents page "index.html".
constexpr const char* kHelpIndexPage = "index.html";
constexpr const char* kQdxHelpTopic = "/200832011648280.htm";
constexpr const char* kReadMeName = "Read me.txt";
// The file a topic names ("" when the topic is no plain page name).
std::string HelpTopicPath(const std::string& programFolder, const std::string& topic);
// "file://" URL of a local path, with bytes outside the URL alphabet percent-encoded.
std::string FileUrl(const std::string& path);

// Opens a help topic ("" for the contents) or the read-me file in the browser; 0 with
// `message` (file name + "  が開けません。") when missing.
int OpenHelpTopic(const std::string& programFolder, const std::string& topic, std::string* message);
int OpenHelpTopic(const std::string& programFolder, const std::string& topic, std::string* message,
                  const Opener& open);
int OpenReadMe(const std::string& programFolder, std::string* message);
int OpenReadMe(const std::string& programFolder, std::string* message, const Opener& open);

// Browser programs offered by the Qdx-file settings (the current one added when missing):
// the desktop's handler for text/html ("xdg-open" when it has none that a program path can
// stand for), the common browsers found on PATH, then `current`.
std::vector<std::string> BrowserCandidates(const std::string& current);

}  // namespace appshell
