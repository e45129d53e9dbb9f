// The text a reader sees of a saved page, for the change report's comparison: tags, scripts,
// styles and comments left out, character references decoded, in UTF-8 whatever the page's
// own charset, one line per block of the page with its blanks folded.
#pragma once

#include <string>
#include <string_view>

namespace records {

// `bytes` is the page as saved. Bytes that do not convert become "?": a broken page still
// shows what can be read of it.
std::string PageVisibleText(std::string_view bytes);

}  // namespace records
