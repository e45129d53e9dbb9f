// The character set a page is written in, as far as the links need it.
#pragma once

#include <string>
#include <string_view>

#include "engine/LinkTable.h"

namespace engine {

enum class PageCharset { Unknown, Utf8, ShiftJis, EucJp };

// From a byte-order mark or the page's <meta charset> / <meta http-equiv="Content-Type">.
PageCharset CharsetOfPage(std::string_view text);

// The same for a page's text in memory, from its head. A byte-order mark decides first, then
// the charset of the server's Content-Type header (when given), then the page's own <meta>.
PageCharset CharsetOfText(std::string_view text, std::string_view contentType = {});
constexpr size_t kCharsetHeadBytes = 4096;

// The charset parameter of a Content-Type header ("text/html; charset=Shift_JIS").
PageCharset CharsetOfContentType(std::string_view contentType);

// The paths of the table's links in UTF-8 (local names and requests use UTF-8, as browsers
// do); the query keeps the page's own encoding. A path that does not convert stays as it is.
void LinkPathsToUtf8(LinkTable& table, PageCharset charset);

}  // namespace engine
