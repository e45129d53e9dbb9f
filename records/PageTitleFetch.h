// The titles of web pages, read from the start of each page: the one place that fetches a
// page's head for its title, for the related-link window, the input view, the trace and
// out-domain choices, the page measure and the helper library.
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

// How a caller reads the head of a page for its title.
struct TitleHeadRequest {
    std::string url;
    std::string agent;         // "" sends none
    std::string extraHeaders;  // a "Referer: ..." line, or ""
    size_t bytes = kTitleReadBytes;
    int timeoutSec = 20;
};

// Worker thread. Reads the first `request.bytes` bytes of the page into `head`: 1 when the
// transfer succeeded, 0 on any failure. `stopRequested` is polled during the transfer.
[[nodiscard]] int FetchPageHead(const TitleHeadRequest& request, const std::function<bool()>& stopRequested,
                                std::string& head);

// Worker thread. Fetches the first kTitleReadBytes bytes of `url` and returns its title ("" on
// any failure). `stopRequested` is polled during the transfer.
std::string FetchPageTitle(const std::string& url, const std::function<bool()>& stopRequested);

// A title's bytes as UTF-8 (pages come in UTF-8 or Shift-JIS); empty when neither fits.
std::string TitleAsUtf8(std::string_view bytes);
// The referring page sent with a title request: the URL up to its last "/" behind the host.
std::string TitleReferer(std::string_view url);

}  // namespace records
