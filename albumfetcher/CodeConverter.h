// The optional Japanese code converter beside the program ("nkf32.so"), loaded by name for
// each file name. Without it, or without its exports, a title is used as it is.
#pragma once

#include <string>

namespace album {

// The title converted to Shift-JIS by the converter and read back as our text; the title
// itself when the converter is missing or its answer is no Shift-JIS text.
std::string ConvertTitle(const std::string& programFolder, const std::string& title);

}  // namespace album
