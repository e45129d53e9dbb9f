// Link kinds by name, the name tests, start-URL encoding and the local names of query URLs.
#include "engine/UrlModel.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "engine/ChosenHosts.h"
#include "engine/LinkKind.h"
#include "engine/LinkTable.h"
#include "engine/LinkText.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

using platform::ContainsI;
using platform::EndsWithI;
using platform::EqualsI;
using platform::StartsWithI;

namespace {

// "logo@2x.png", "icon@3x.webp": sites name their high-resolution pictures with an "@", and
// such a name is a file, never a mail address; no mail host ends in one of these.
bool IsPictureOrStyleName(std::string_view name) {
    name = name.substr(0, name.find('?'));
    for (std::string_view ext : {".png", ".jpg", ".jpeg", ".gif", ".webp", ".avif", ".svg", ".ico", ".bmp", ".css",
                                 ".js", ".woff", ".woff2", ".ttf", ".otf", ".mp4", ".webm", ".mp3"})
        if (EndsWithI(name, ext)) return true;
    return false;
}

// The short extensions (lower case, sorted) of pictures, fonts, media, archives, documents,
// data and program files. A name with one of them is a file without asking its server.
constexpr std::array<std::string_view, 123> kShortFileExtensions = {
    "3gp", "7z",  "aac", "ai",  "aif", "apk", "arj", "asc", "asf", "asx", "au",  "avi", "bat", "bin", "bmp", "bz2",
    "c",   "cab", "cc",  "cer", "chm", "cpp", "crt", "csv", "cur", "dat", "deb", "dll", "dmg", "doc", "dtd", "eot",
    "eps", "exe", "flv", "fon", "gif", "gpx", "gz",  "h",   "hlp", "hqx", "ico", "ics", "img", "ini", "iso", "jar",
    "jpe", "jpg", "key", "kml", "kmz", "lha", "log", "lz",  "lzh", "m4a", "m4v", "map", "md",  "mid", "mjs", "mkv",
    "mov", "mp2", "mp3", "mp4", "mpe", "mpg", "msi", "odp", "ods", "odt", "oga", "ogg", "ogv", "otf", "pdf", "pem",
    "pls", "png", "pps", "ppt", "ps",  "psd", "py",  "qt",  "ra",  "ram", "rar", "rm",  "rpm", "rss", "rtf", "sh",
    "sig", "sit", "srt", "svg", "swf", "tar", "tex", "tgz", "tif", "ts",  "tsv", "ttf", "txt", "vcf", "vtt", "wav",
    "wma", "wmv", "xbm", "xls", "xml", "xpi", "xsl", "xz",  "z",   "zip", "zst",
};

bool IsKnownShortFileExtension(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot < 2 || name.size() - dot > 4) return false;
    char lower[3] = {};
    const size_t length = name.size() - dot - 1;
    for (size_t i = 0; i < length; ++i) lower[i] = platform::AsciiLower(name[dot + 1 + i]);
    const std::string_view ext(lower, length);
    return std::binary_search(kShortFileExtensions.begin(), kShortFileExtensions.end(), ext);
}

// The name's extension (after its last dot) in lower case, written into `buffer`; "" when
// there is none or it is longer than any extension the kinds go by. Every link of every page
// has its kind looked up, so the extension is cut out once rather than each one compared
// with the name's end.
std::string_view LowerExtension(std::string_view name, std::array<char, 11>& buffer) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot - 1 > buffer.size()) return {};
    const size_t length = name.size() - dot - 1;
    for (size_t i = 0; i < length; ++i) buffer[i] = platform::AsciiLower(name[dot + 1 + i]);
    return {buffer.data(), length};
}

bool IsOneOf(std::string_view ext, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), ext) != list.end();
}

}  // namespace

int32_t LinkKindOfName(std::string_view name) {
    if (name.empty() || IsCgiName(name)) return NotFollowed;
    if (IsDynamicName(name)) return DynamicPage;
    if (StartsWithI(name, "mailto") || name.back() == ')') return NotFollowed;
    if (name.find('@') != std::string_view::npos && !IsPictureOrStyleName(name)) return NotFollowed;
    const std::string_view whole = name;
    name = name.substr(0, name.find('?'));
    std::array<char, 11> buffer{};
    const std::string_view ext = LowerExtension(name, buffer);
    if (IsOneOf(ext, {"htm", "html", "com"})) return LinkPage;
    if (ext == "js") return ScriptData;
    if (ext == "jpeg") return EmbedData;
    if (ext == "css") return CssData;
    if (ext == "m3u") return PlayList;
    // Today's pictures, fonts and media have longer extensions than the short-name rule takes.
    if (IsOneOf(ext, {"webp", "avif", "woff", "woff2", "webm", "weba", "mpeg", "tiff", "heic", "flac", "opus", "apng",
                      "jfif", "svgz", "json", "webmanifest"}))
        return EmbedData;
    // A short extension of one to three characters marks a file when it is one that files
    // bear; "tkinter.ttk" or "sect.apt-get" on a site with clean URLs is a page's name.
    if (IsKnownShortFileExtension(name)) return EmbedData;
    // A query alone names the page it is written in, and a folder's name is never a file's.
    if (name.empty() || name.back() == '/' || name.back() == '.') return NotFollowed;
    // An anchor or another scheme ("tel:") names nothing the answer could decide on.
    if (whole.find('#') != std::string_view::npos ||
        whole.substr(0, whole.find('/')).find(':') != std::string_view::npos)
        return NotFollowed;
    return AnswerDecides;
}

bool IsDynamicName(std::string_view name) {
    // ".php", ".asp" or ".shtml" anywhere: each dot of the name is looked at once.
    for (size_t dot = name.find('.'); dot != std::string_view::npos; dot = name.find('.', dot + 1)) {
        const std::string_view rest = name.substr(dot + 1);
        if (StartsWithI(rest, "php") || StartsWithI(rest, "asp") || StartsWithI(rest, "shtml")) return true;
    }
    return false;
}

bool IsCgiName(std::string_view name) {
    // Only a folder named "cgi-bin" or a name ending ".cgi" runs a script; "robin/", "cabin/"
    // and "/usr/bin/" are folders like any other. The query names no folder.
    name = name.substr(0, name.find_first_of("?#"));
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view segment = name.substr(start, end - start);
        if (EqualsI(segment, "cgi-bin") || EndsWithI(segment, ".cgi")) return true;
        start = end + 1;
    }
    return false;
}

bool IsPageUrl(std::string_view url) {
    if (!(EndsWithI(url, ".htm") || EndsWithI(url, ".html") || (!url.empty() && url.back() == '/'))) return false;
    return !ContainsI(url, ".cgi") && !IsDynamicName(url);
}

bool IsAnswerNamedPage(std::string_view path, std::string_view url) {
    if (url.find_first_of("?#") != std::string_view::npos) return false;
    const std::string_view leaf = url.substr(url.rfind('/') + 1);
    std::string name;
    if (LinkKindOfName(leaf) != AnswerDecides || !DecodePercentName(leaf, name)) return false;
    name += ".html";
    return path.size() > name.size() && path.ends_with(name) && path[path.size() - name.size() - 1] == '/';
}

bool IsPageName(std::string_view name) {
    return !name.empty() && (name.back() == '/' || EndsWithI(name, ".htm") || EndsWithI(name, ".html"));
}

bool IsSwfName(std::string_view name) { return name.size() >= 5 && EndsWithI(name, ".swf"); }

bool IsDirectory(const std::string& path) { return platform::IsDirectory(path); }

bool IsAbsoluteUrl(std::string_view url) { return SchemeEnd(url) != std::string_view::npos; }

size_t SchemeEnd(std::string_view url) {
    if (StartsWithI(url, "http://")) return 7;
    if (StartsWithI(url, "https://")) return 8;
    return std::string_view::npos;
}

namespace {

bool IsAsciiAlnum(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The part of a path component before its first ".", as the system reads device names.
bool IsReservedComponent(std::string_view component) {
    std::string_view stem = component.substr(0, component.find('.'));
    for (std::string_view device : {"AUX", "CON", "NUL", "PRN", "CLOCK$"})
        if (EqualsI(stem, device)) return true;
    if (stem.size() > 3) {
        std::string_view head = stem.substr(0, stem.size() - 1);
        if (EqualsI(head, "COM") || EqualsI(head, "LPT")) return true;
    }
    return false;
}

}  // namespace

std::string EncodeUrl(std::string_view text) {
    static constexpr std::string_view kKept = "'.-*()_/:?=#$%&~";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsAsciiAlnum(c) || kKept.find(ch) != std::string_view::npos) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

bool ContainsReservedDeviceName(std::string_view urlOrPath) {
    if (StartsWithI(urlOrPath, "http://")) urlOrPath.remove_prefix(7);
    else if (StartsWithI(urlOrPath, "https://")) urlOrPath.remove_prefix(8);
    if (urlOrPath.size() >= 2 && urlOrPath[1] == ':' && platform::AsciiLower(urlOrPath[0]) >= 'a' &&
        platform::AsciiLower(urlOrPath[0]) <= 'z') {
        urlOrPath.remove_prefix(2);
        if (!urlOrPath.empty() && (urlOrPath[0] == '\\' || urlOrPath[0] == '/')) urlOrPath.remove_prefix(1);
    }
    size_t start = 0;
    while (start <= urlOrPath.size()) {
        // Walked byte by byte: find_first_of asks its list of two once per byte.
        size_t end = start;
        while (end < urlOrPath.size() && urlOrPath[end] != '/' && urlOrPath[end] != '\\') ++end;
        if (IsReservedComponent(urlOrPath.substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

size_t DynamicLocalName(std::string_view url, std::string& out, std::vector<std::string>& originals,
                        std::vector<std::string>& newNames) {
    const size_t php = platform::FindI(url, ".php");
    if (php == platform::npos || php + 4 == url.size()) return 0;
    std::string name(url.substr(0, php));
    const size_t stem = name.size();
    name += "__php__";
    for (size_t i = php + 4; i < url.size(); ++i) {
        switch (url[i]) {
        case '?': name += "__q_"; break;
        case '&':
            // The "&" of an "&quot;" goes; "quot;" follows as plain characters.
            if (!StartsWithI(url.substr(i), "&quot;")) name += "__a_";
            break;
        case '*': name += "__t"; break;
        case ',': name += "__r_"; break;
        case ':': name += "__k_"; break;
        case ';': name += "__s_"; break;
        default: name += url[i]; break;
        }
    }
    name += ".html";
    // A cut name would stand for another URL; such a URL keeps its own form instead.
    if (name.size() > kLinkMax) return 0;
    originals.emplace_back(url.substr(php));
    newNames.push_back(name.substr(stem));
    out = std::move(name);
    return out.size();
}

bool IsNovelSiteUrl(const std::string& url) {
    constexpr std::string_view kPlain = hosts::kNovelSite;
    constexpr std::string_view kSecure = hosts::kNovelSiteHttps;
    return (url.size() >= 25 && url.compare(0, kPlain.size(), kPlain) == 0) ||
           (url.size() >= 26 && url.compare(0, kSecure.size(), kSecure) == 0);
}

}  // namespace engine
