// Checks on the first chunk of a download: error pages that a server sends in place of the
// file.
#pragma once

#include <string_view>

namespace download {

// A "not found" page: a "<title>" with "not found" or "404" anywhere behind it.
bool IsNotFoundChunk(std::string_view chunk);
// A page of a busy server, or of a host whose bandwidth allotment is used up.
bool IsServerBusyChunk(std::string_view chunk);

}  // namespace download
