// The description log left by an unattended save: what was saved, how it ended and when.
#pragma once

#include <string>

namespace engine {
class SaveJob;
}

namespace records {

// Path: saveFolder + the chosen save name without its extension + "-Description.log".
std::string DescriptionLogPath(const engine::SaveJob& job);

// Writes the log in Shift-JIS. Returns 1, or 0 with `error` set (a character that the code
// page cannot hold is named there; nothing is written in that case). `error` is Japanese, for
// the save log; `shown`, when given, gets the same in the user's language.
[[nodiscard]] int WriteDescriptionLogFile(const engine::SaveJob& job, const std::string& resultText,
                                          std::string& error, std::string* shown = nullptr);

// The name without its extension: the extension follows the last "." unless the name ends
// in "/".
std::string StripExtension(const std::string& name);

}  // namespace records
