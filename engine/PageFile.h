// The rewrite of a saved page in place, shared by every pass that changes a page's text.
#pragma once

#include <string>
#include <string_view>

namespace engine {

class SaveJob;

// Writes `text` over the saved page through a temporary name. When the write fails the old
// page stays whole and the job's log says so, which is all a caller needs. Worker thread.
void WritePageText(SaveJob& job, const std::string& pagePath, std::string_view text);

// The log line of a page that could not be rewritten.
std::string PageNotRewrittenLine(const std::string& pagePath);

}  // namespace engine
