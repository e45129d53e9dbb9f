#include "records/PageTitleFetch.h"

#include "engine/Fetcher.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/Codepage.h"
#include "platform/HttpClient.h"

namespace records {

namespace {

// A dropped page answers at once or not at all; the window does not wait for it anyway.
constexpr int kDroppedTitleTimeoutSec = 20;

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

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        if (c < 0x80) extra = 0;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2) extra = 1;
        else if ((c & 0xF0) == 0xE0) extra = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4) extra = 3;
        else return false;
        if (i + extra >= text.size()) return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
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

int FetchPageHead(const TitleHeadRequest& request, const std::function<bool()>& stopRequested, std::string& head) {
    platform::HttpSession http;
    platform::HttpRequest transfer;
    transfer.url = request.url;
    transfer.agent = request.agent;
    transfer.extraHeaders = request.extraHeaders;
    transfer.connectTimeoutSec = request.timeoutSec;
    transfer.receiveTimeoutSec = request.timeoutSec;
    transfer.stopRequested = stopRequested;
    const platform::HttpResponse response = http.FetchToMemory(transfer, head, request.bytes);
    return response.result == platform::HttpOk ? 1 : 0;
}

std::string FetchPageTitle(const std::string& url, const std::function<bool()>& stopRequested) {
    TitleHeadRequest request;
    request.url = url;
    request.agent = engine::AgentString(65, "");
    request.timeoutSec = kDroppedTitleTimeoutSec;
    std::string head;
    if (!FetchPageHead(request, stopRequested, head)) return std::string();
    return TitleFromHead(head);
}

std::string TitleAsUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string utf8;
    if (platform::Cp932ToUtf8(bytes, utf8) == platform::CodepageOk) return utf8;
    return {};
}

std::string TitleReferer(std::string_view url) {
    size_t hostStart = engine::SchemeEnd(url);
    if (hostStart == std::string_view::npos) hostStart = 0;
    // From the next-to-last character back to the first one behind the scheme.
    for (size_t i = url.size() > 0 ? url.size() - 1 : 0; i > hostStart;) {
        --i;
        if (url[i] == '/') return std::string(url.substr(0, i + 1));
    }
    return std::string(url);
}

}  // namespace records
