#include "engine/ArchivePages.h"

#include "engine/ChosenHosts.h"
#include "platform/ByteString.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

constexpr std::string_view kPathIndexMarker = "Path Index Error.";
constexpr std::string_view kFailedConnectionMarker = "Failed Connection.";
// Stands for the archived page's address while the fixed text is converted.
constexpr char kAddressSlot = '\x01';

// The archived page's own address as the stand-in page shows it behind "http:/": the URL
// from its first "/www." on. The text goes into the page as it is, except for the characters
// that would end the markup around it, which are percent-encoded as in any URL.
std::string ArchivedAddress(std::string_view url) {
    const size_t at = platform::FindI(url, "/www.");
    if (at == std::string_view::npos) return {};
    std::string out;
    for (char c : url.substr(at)) {
        if (c == '<') out += "%3C";
        else if (c == '>') out += "%3E";
        else if (c == '"') out += "%22";
        else out += c;
    }
    return out;
}

}  // namespace

int IsWebArchiveUrl(std::string_view url) {
    return platform::StartsWithI(url, hosts::kWebArchivePrefix) ||
                   platform::StartsWithI(url, hosts::kWebArchivePrefixHttps)
               ? 1
               : 0;
}

ArchiveError ArchiveErrorOf(std::string_view text) {
    if (platform::ContainsI(text, kPathIndexMarker)) return ArchiveError::PathIndex;
    if (platform::ContainsI(text, kFailedConnectionMarker)) return ArchiveError::FailedConnection;
    return ArchiveError::None;
}

std::string ArchiveReplacementPage(ArchiveError kind, std::string_view url) {
    if (kind == ArchiveError::None) return {};
    const bool pathIndex = kind == ArchiveError::PathIndex;
    const std::string title(pathIndex ? kPathIndexMarker : kFailedConnectionMarker);
    // The fixed text is converted to Shift-JIS on its own; the address, the one text from
    // outside, goes in afterwards as the bytes it came as.
    const std::string address(1, kAddressSlot);
    std::string page = "<html><head>\r\n"
                       "<title>" + title + "</title>\r\n"
                       "</head><body>\r\n"
                       "<H1>" + title + "</H1>\r\n"
                       "<br><br><br>\r\n"
                       "このページ<br>\r\n"
                       "<center>http:/" + address + "</center><br>\r\n"
                       "は Internet Archive において保存されています。<br>\r\n";
    if (pathIndex) {
        page += "しかし、検索することが出来ませんでした。<br>\r\n"
                "時間をおいてアクセスするか、もしくは別の時系列のページを下記より検索してください。<br>\r\n";
    } else {
        page += "しかしなんらかの技術的問題のため、現在は読み込むことが出来ませんでした。<br>\r\n"
                "後日に下記より再度アクセスしてみてください。<br>\r\n";
    }
    page += "<br>\r\n"
            "<a href=\"" + std::string(hosts::kWebArchiveHome) + "\">\r\n"
            "\tInternet Archive\r\n"
            "</a>\r\n"
            "<br>\r\n"
            "<div align=\"right\" style=\"font-size:9pt;font-weight:bold;\">Commented by Sitrova.</div>\r\n"
            "<hr>\r\n"
            "<span style=\"font-size:9pt;color:#777777;\">\r\n";
    if (pathIndex) {
        page += "(原文)<br>Sorry, we can't find the archived version of this page. The URL has been archived but not "
                "indexed. Try another request or click here to search for all pages on http:/" + address + "\r\n";
    } else {
        page += "(原文)<br>We're sorry. Your request failed to connect to our servers. We may be experiencing "
                "technical difficulties and suggest that you try again later.\r\n";
    }
    page += "</span>\r\n"
            "</body>\r\n"
            "</html>\r\n";
    std::string sjis;
    if (platform::Utf8ToCp932(page, sjis) != platform::CodepageOk) return {};
    const std::string own = ArchivedAddress(url);
    std::string out;
    for (char c : sjis) {
        if (c == kAddressSlot) out += own;
        else out += c;
    }
    return out;
}

int CheckArchivePage(const std::string& url, const std::string& path) {
    const auto replace = [&url](std::string& text) {
        std::string page = ArchiveReplacementPage(ArchiveErrorOf(text), url);
        if (page.empty()) return false;
        text = std::move(page);
        return true;
    };
    return platform::RewriteFileInPlace(path, replace, platform::Durability::Fast);
}

}  // namespace engine
