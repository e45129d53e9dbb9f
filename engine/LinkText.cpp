#include "engine/LinkText.h"

#include <vector>

#include "engine/UrlModel.h"
#include "platform/ByteString.h"

namespace engine {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The character reference at text[at] ("&..."): its length and its text, or 0.
size_t Reference(std::string_view text, size_t at, std::string& out) {
    static constexpr struct { std::string_view name, text; } kNamed[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "},
    };
    const size_t semi = text.find(';', at);
    if (semi == std::string_view::npos || semi - at > 10) {
        // "&amp" without its ";" still means "&" to a browser.
        if (platform::StartsWithI(text.substr(at), "&amp")) {
            out = "&";
            return 4;
        }
        return 0;
    }
    const std::string_view name = text.substr(at + 1, semi - at - 1);
    if (!name.empty() && name[0] == '#') {
        uint32_t cp = 0;
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) return 0;
        for (char c : digits) {
            const int v = hex ? HexValue(c) : (IsDigit(c) ? c - '0' : -1);
            if (v < 0 || cp > 0x10FFFF) return 0;
            cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(v);
        }
        if (cp == 0 || cp > 0x10FFFF) return 0;
        out.clear();
        platform::AppendUtf8(out, cp);
        return semi - at + 1;
    }
    for (const auto& n : kNamed) {
        if (platform::EqualsI(name, n.name)) {
            out = n.text;
            return semi - at + 1;
        }
    }
    return 0;
}

}  // namespace

std::string DecodeAttributeValue(std::string_view value) {
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    if (value.find('&') == std::string_view::npos) return std::string(value);
    std::string out, ref;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const size_t used = value[i] == '&' ? Reference(value, i, ref) : 0;
        if (used == 0) {
            out += value[i];
            continue;
        }
        out += ref;
        i += used - 1;
    }
    return out;
}

bool DecodePercentName(std::string_view name, std::string& out) {
    out.clear();
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '%' && i + 2 < name.size() && HexValue(name[i + 1]) >= 0 && HexValue(name[i + 2]) >= 0) {
            const char c = static_cast<char>(HexValue(name[i + 1]) * 16 + HexValue(name[i + 2]));
            if (c == '/' || c == '\\' || c == '\0') return false;
            out += c;
            i += 2;
        } else {
            out += name[i];
        }
    }
    return true;
}

namespace {

// `path` with every byte that `escaped` picks written as %XX.
template <typename Pick>
std::string PercentEncode(std::string_view path, Pick escaped) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (escaped(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

std::string EncodeRequestPath(std::string_view path) {
    return PercentEncode(path, [](unsigned char c) { return c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>'; });
}

std::string EncodeLocalLink(std::string_view path) {
    // Non-ASCII bytes too: the escaped UTF-8 name opens the file whatever the page's charset.
    return PercentEncode(path, [](unsigned char c) {
        return c <= 0x20 || c >= 0x7F || std::string_view("%#?\"'<>\\").find(static_cast<char>(c)) != std::string_view::npos;
    });
}

bool IsOtherScheme(std::string_view link) {
    if (link.empty() || !IsAlpha(link[0])) return false;
    size_t i = 1;
    while (i < link.size() && (IsAlpha(link[i]) || IsDigit(link[i]) || link[i] == '+' || link[i] == '-' || link[i] == '.'))
        ++i;
    if (i >= link.size() || link[i] != ':') return false;
    // A one-letter "scheme" is a drive, which the scanner drops on its own.
    return i > 1 && !IsAbsoluteUrl(link);
}

std::string WithRootPath(std::string_view url) {
    const size_t scheme = SchemeEnd(url);
    if (scheme == std::string_view::npos || url.size() == scheme) return std::string(url);
    const size_t end = url.find_first_of("/?#", scheme);
    if (end == std::string_view::npos) return std::string(url) + "/";
    if (url[end] != '/') return std::string(url.substr(0, end)) + "/" + std::string(url.substr(end));
    return std::string(url);
}

std::string SchemeAndHost(std::string_view url) {
    const size_t scheme = SchemeEnd(url);
    if (scheme == std::string_view::npos) return {};
    const size_t end = url.find_first_of("/?#", scheme);
    return std::string(url.substr(0, end));
}

namespace {

// Removes the "." and ".." steps of a path that starts with "/".
std::string RemoveDotSteps(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 1;
    bool folderEnd = false;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        folderEnd = part == "." || part == "..";
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (std::string_view p : parts) {
        out += '/';
        out += p;
    }
    if (out.empty() || folderEnd) out += '/';
    return out;
}

}  // namespace

std::string JoinUrl(std::string_view base, std::string_view link) {
    if (IsAbsoluteUrl(link) || IsOtherScheme(link)) return std::string(link);
    const std::string origin = SchemeAndHost(base);
    if (origin.empty()) return std::string(link);
    if (link.substr(0, 2) == "//") return std::string(base.substr(0, SchemeEnd(base) - 2)) + std::string(link);
    std::string_view basePath = base.substr(origin.size());
    const std::string_view baseNoFrag = basePath.substr(0, basePath.find('#'));
    if (link.empty()) return origin + std::string(baseNoFrag);
    if (link[0] == '#') return origin + std::string(baseNoFrag) + std::string(link);
    const std::string_view baseOnlyPath = basePath.substr(0, basePath.find_first_of("?#"));
    if (link[0] == '?') return origin + std::string(baseOnlyPath.empty() ? "/" : baseOnlyPath) + std::string(link);
    const size_t tailAt = link.find_first_of("?#");
    const std::string_view linkPath = link.substr(0, tailAt);
    const std::string_view tail = tailAt == std::string_view::npos ? std::string_view() : link.substr(tailAt);
    std::string merged;
    if (!linkPath.empty() && linkPath[0] == '/') {
        merged = linkPath;
    } else {
        merged = baseOnlyPath.empty() ? "/" : std::string(platform::UpToLast(baseOnlyPath, '/'));
        merged += linkPath;
    }
    return origin + RemoveDotSteps(merged) + std::string(tail);
}

std::string RelativeLocalLink(std::string_view fromPath, std::string_view toPath) {
    const std::string_view fromFolder = platform::UpToLast(fromPath, '/');
    size_t common = 0;
    for (size_t i = 0; i < fromFolder.size() && i < toPath.size() && fromFolder[i] == toPath[i]; ++i)
        if (fromFolder[i] == '/') common = i + 1;
    std::string out;
    for (size_t i = common; i < fromFolder.size(); ++i)
        if (fromFolder[i] == '/') out += "../";
    out += toPath.substr(common);
    return out;
}

}  // namespace engine
