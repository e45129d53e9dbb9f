#include "records/PageTitleFetch.h"

#include "engine/Fetcher.h"
#include "platform/ByteString.h"
#include "platform/Codepage.h"
#include "platform/HttpClient.h"

namespace records {

namespace {

// A dropped page answers at once or not at all; the window does not wait for it anyway.
constexpr int kTitleTimeoutSec = 20;

// Length of the longest prefix of `text` made of whole UTF-8 characters, or npos when a
// byte sequence is no UTF-8 at all.
size_t WholeUtf8Prefix(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (len == 0) return std::string_view::npos;
        if (i + len > text.size()) return i;  // a character cut by the length limit
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return std::string_view::npos;
        i += len;
    }
    return i;
}

bool DecodeUtf8(std::string_view raw, std::string& out) {
    const size_t whole = WholeUtf8Prefix(raw);
    if (whole == std::string_view::npos) return false;
    out.assign(raw.substr(0, whole));
    return true;
}

bool DecodeShiftJis(std::string_view raw, std::string& out) {
    if (platform::Cp932ToUtf8(raw, out) == platform::CodepageOk) return true;
    // The limit may have cut a two-byte character in half.
    return !raw.empty() && platform::Cp932ToUtf8(raw.substr(0, raw.size() - 1), out) == platform::CodepageOk;
}

bool NamesShiftJis(std::string_view head) {
    return platform::ContainsI(head, "shift_jis") || platform::ContainsI(head, "shift-jis") ||
           platform::ContainsI(head, "x-sjis") || platform::ContainsI(head, "windows-31j") ||
           platform::ContainsI(head, "cp932");
}

}  // namespace

std::string TitleFromHead(std::string_view head) {
    std::string raw;
    if (!engine::PageTitle(head, raw, kTitleNameBytes)) return std::string();
    std::string title;
    const bool sjisFirst = NamesShiftJis(head);
    const bool decoded = sjisFirst ? (DecodeShiftJis(raw, title) || DecodeUtf8(raw, title))
                                   : (DecodeUtf8(raw, title) || DecodeShiftJis(raw, title));
    if (!decoded) return std::string();
    for (char& c : title)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return title;
}

std::string FetchPageTitle(const std::string& url, const std::function<bool()>& stopRequested) {
    platform::HttpSession http;
    platform::HttpRequest request;
    request.url = url;
    request.agent = engine::AgentString(65, "");
    request.connectTimeoutSec = kTitleTimeoutSec;
    request.receiveTimeoutSec = kTitleTimeoutSec;
    request.stopRequested = stopRequested;
    std::string head;
    const platform::HttpResponse response = http.FetchToMemory(request, head, kTitleReadBytes);
    if (response.result != platform::HttpOk) return std::string();
    return TitleFromHead(head);
}

}  // namespace records
