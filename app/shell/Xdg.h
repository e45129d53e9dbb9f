// The freedesktop.org places and files the shell integration reads and writes: base
// directories, desktop entries, mimeapps.list and the shared MIME database's globs.
#pragma once

#include <string>
#include <vector>

namespace appshell::xdg {

struct Dirs {
    std::string dataHome;                 // $XDG_DATA_HOME or ~/.local/share
    std::string configHome;               // $XDG_CONFIG_HOME or ~/.config
    std::vector<std::string> dataDirs;    // $XDG_DATA_DIRS or /usr/local/share:/usr/share
    std::vector<std::string> configDirs;  // $XDG_CONFIG_DIRS or /etc/xdg
    std::vector<std::string> desktops;    // $XDG_CURRENT_DESKTOP, lower case

    static Dirs FromEnvironment();
    std::string ApplicationsFolder() const { return dataHome + "/applications"; }
    std::string UserMimeAppsList() const { return configHome + "/mimeapps.list"; }
};

// --- key files (desktop entries, mimeapps.list) ------------------------------------------
// Value of `key` in group `group` of a key file's text ("" when missing); `found` tells.
std::string KeyFileValue(const std::string& text, const std::string& group, const std::string& key,
                         bool* found = nullptr);
// Value of a key of the [Desktop Entry] group of a file ("" when missing or unreadable).
std::string DesktopEntryValue(const std::string& path, const std::string& key);
// Path of an installed desktop entry by its id, searched in dataHome then dataDirs; "" when
// not installed. "vendor-app.desktop" is also found as "vendor/app.desktop".
std::string FindDesktopFile(const Dirs& dirs, const std::string& id);

// --- Exec lines ---------------------------------------------------------------------------
// The arguments of an Exec value with quoting and escapes undone and field codes (%f, %u, …)
// dropped.
std::vector<std::string> ExecArguments(const std::string& execValue);
// One argument quoted for an Exec value; false when the text cannot be put there (control
// characters).
bool QuoteExecArgument(const std::string& argument, std::string& out);

// --- default applications -----------------------------------------------------------------
// The mimeapps.list files in lookup order.
std::vector<std::string> MimeAppsLists(const Dirs& dirs);
// The desktop id that opens `mimeType`: the first installed entry of a [Default Applications]
// line in lookup order, else of the desktop database caches (mimeinfo.cache); "" when none.
std::string DefaultDesktopFor(const Dirs& dirs, const std::string& mimeType);
// mimeapps.list text with `id` as the default for `mimeType` (every other line kept).
std::string WithDefaultApplication(const std::string& text, const std::string& mimeType, const std::string& id);
// mimeapps.list text without `id` for `mimeType` in [Default Applications] and [Added
// Associations]; other programs of the line stay.
std::string WithoutApplication(const std::string& text, const std::string& mimeType, const std::string& id);

// --- shared MIME database -----------------------------------------------------------------
// The MIME types that declare the glob `pattern` (compared ignoring case), from the packages
// and the compiled globs of dataHome and dataDirs, in the order found.
std::vector<std::string> MimeTypesForGlob(const Dirs& dirs, const std::string& pattern);

// --- programs -----------------------------------------------------------------------------
// Full path of an executable `name` on $PATH; "" when not found.
std::string FindOnPath(const std::string& name);
// Runs a desktop database tool on a folder and waits; a missing tool is no error.
void RunDatabaseTool(const std::string& tool, const std::string& folder);

}  // namespace appshell::xdg
