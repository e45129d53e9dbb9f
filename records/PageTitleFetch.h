// The title of a web page dropped on the related-link window, read from the start of the
// page.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace records {

// Only the start of a page is read for its title.
constexpr size_t kTitleReadBytes = 2048;
// The link name takes at most this many bytes of the title.
constexpr size_t kTitleNameBytes = 260;

// The title of a page head as UTF-8: UTF-8 or Shift-JIS text (a charset that names Shift-JIS
// is tried first), cut to kTitleNameBytes bytes of the page without splitting a character.
// "" when the head has no title or its bytes are neither encoding.
std::string TitleFromHead(std::string_view head);

// Worker thread. Fetches the first kTitleReadBytes bytes of `url` and returns its title ("" on
// any failure). `stopRequested` is polled during the transfer.
std::string FetchPageTitle(const std::string& url, const std::function<bool()>& stopRequested);

}  // namespace records
