// The description log left by an unattended save: what was saved, how it ended and when.
#pragma once

#include <string>

#include "records/RecordCodec.h"

namespace engine {
class SaveJob;
}

namespace records {

// Path: saveFolder + the chosen save name without its extension + "-Description.log".
std::string DescriptionLogPath(const engine::SaveJob& job);

// Writes the log in Shift-JIS. Returns 1, or 0 with `error` set (a character that the code
// page cannot hold is named there, for `reader`; nothing is written in that case).
[[nodiscard]] int WriteDescriptionLogFile(const engine::SaveJob& job, const std::string& resultText,
                                          std::string& error, ErrorReader reader = ErrorReader::Log);

// The name without its extension: the extension follows the last "." unless the name ends
// in "/".
std::string StripExtension(const std::string& name);

}  // namespace records
