// The small page that leads from the file the user chose to the real start page of a save.
#pragma once

#include <string>

namespace records {

// Title pieces: each already carries the closing "</title>" and a line break.
std::string DataFolderShortcutTitle();
std::string LevelShortcutTitle(const std::string& saveName);

// The page bytes in Shift-JIS with CR LF. `target` is the relative path of the start page
// ("/"-separated); `title` is one of the pieces above. Characters that code page 932 cannot
// hold become HTML character references, which the browser reads back as the same text.
std::string ShortcutPageBytes(const std::string& target, const std::string& title);

// Writes the page through a temporary file. 1 written, 0 failed.
[[nodiscard]] int WriteShortcutFile(const std::string& path, const std::string& target, const std::string& title);

// Name of the level shortcut beside the chosen target: "「" + saveName + "」へのショートカット.htm".
std::string LevelShortcutName(const std::string& saveName);

}  // namespace records
