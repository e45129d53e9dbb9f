// Where the files that the programs keep beside themselves go. A program folder the user can
// write to (a build tree, a portable copy) keeps them, as it always has. An installed
// program's folder is shared by every user of the machine and is not theirs to write, so
// there each user's files go to the user's own folders (XDG base directories):
//   Sitrov.ini, QdxSuite.ini          $XDG_CONFIG_HOME/sitrova   (~/.config/sitrova)
//   BatTask/, QdxSuite.xml, plug-ins  $XDG_DATA_HOME/sitrova     (~/.local/share/sitrova)
//   temporary files                   $XDG_RUNTIME_DIR/sitrova, else $TMPDIR, else /tmp
// Every caller that places such a file asks here; nothing else decides.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum class Place : int {
    Settings,  // settings files
    Data,      // the batch queue, the catalogue, IeContextMenu.html
};

// The package lays this file beside the programs: its folder keeps no user's files even for
// root, who may write anywhere.
constexpr const char* kPerUserMarkerName = "per-user-places";

// The user's folders as the environment names them (a relative value counts as unset).
struct UserFolders {
    std::string configHome;  // $XDG_CONFIG_HOME, else ~/.config
    std::string dataHome;    // $XDG_DATA_HOME, else ~/.local/share
    std::string runtimeDir;  // $XDG_RUNTIME_DIR, or ""
    static UserFolders FromEnvironment();
};

// True when the files of a program in `programFolder` go to the user's folders: the folder
// carries the package's marker, or it exists and the user cannot write to it. An empty or
// missing folder (a job that names no program) keeps the old rule.
bool KeepsFilesPerUser(const std::string& programFolder);

// The folder for `place`, without a trailing "/": the program folder itself, or the user's
// folder + "/sitrova" when `perUser`. Decides only; makes nothing.
std::string PlaceFolder(Place place, const std::string& programFolder, bool perUser, const UserFolders& user);

// The folder for `place` of a program in `programFolder`; a user's folder is made when it is
// missing (if that fails, the writes into it report their own failure).
std::string PlaceFor(Place place, const std::string& programFolder);

// Folders searched for check plug-ins (*.qdi): the program folder, then, for an installed
// program, the user's own "plugins" folder in the data place.
std::vector<std::string> PlugInFolders(const std::string& programFolder);

}  // namespace platform
