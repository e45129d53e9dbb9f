#include "download/SerialName.h"

#include <vector>

namespace download {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One byte of a file name and the way the URL writes it: itself, or its "%XX" escape.
struct NameUnit {
    char byte;
    std::string_view written;
};

std::vector<NameUnit> DecodeUnits(std::string_view text) {
    std::vector<NameUnit> units;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            units.push_back({static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])), text.substr(i, 3)});
            i += 3;
        } else {
            units.push_back({text[i], text.substr(i, 1)});
            ++i;
        }
    }
    return units;
}

std::string Decoded(const std::vector<NameUnit>& units) {
    std::string text;
    for (const NameUnit& unit : units) text += unit.byte;
    return text;
}

std::string Escaped(std::string_view decoded) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (char c : decoded) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            text += c;
        } else {
            text += '%';
            text += kHex[b >> 4];
            text += kHex[b & 0xF];
        }
    }
    return text;
}

// The file name `stepped` written as the URL wrote `units`: what did not change keeps its
// writing, the changed middle is escaped where it has to be.
std::string Reencoded(const std::vector<NameUnit>& units, const std::string& stepped) {
    const std::string old = Decoded(units);
    size_t same = 0;
    while (same < old.size() && same < stepped.size() && old[same] == stepped[same]) ++same;
    size_t tail = 0;
    while (tail < old.size() - same && tail < stepped.size() - same &&
           old[old.size() - 1 - tail] == stepped[stepped.size() - 1 - tail])
        ++tail;
    std::string text;
    for (size_t i = 0; i < same; ++i) text += units[i].written;
    text += Escaped(std::string_view(stepped).substr(same, stepped.size() - same - tail));
    for (size_t i = old.size() - tail; i < old.size(); ++i) text += units[i].written;
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexLetter(char c) { return c >= 'a' && c <= 'f'; }

std::string Join(const std::string& name, const UrlNameParts& parts) {
    return parts.hasExtension ? name + "." + parts.extension : name;
}

}  // namespace

UrlNameParts SplitUrlName(std::string_view url) {
    UrlNameParts parts;
    const size_t slash = url.rfind('/');
    const size_t dot = url.rfind('.');
    // A dot before the last "/" belongs to the host or a folder, not to the file name.
    if (url.empty() || url.back() == '/' || dot == std::string_view::npos ||
        (slash != std::string_view::npos && dot < slash)) {
        parts.name = std::string(url);
        return parts;
    }
    parts.name = std::string(url.substr(0, dot));
    parts.extension = std::string(url.substr(dot + 1));
    parts.hasExtension = true;
    return parts;
}

std::string StepHexPair(std::string_view name) {
    const size_t n = name.size();
    if (n < 3 || name[n - 3] != '_') return {};
    std::string s(name);
    char& last = s[n - 1];
    if (IsDigit(last) && last != '9') {
        ++last;
    } else if (last == '9') {
        last = 'a';
    } else if (IsHexLetter(last) && last != 'f') {
        ++last;
    } else if (last == 'f') {
        last = '0';
        ++s[n - 2];
    } else {
        return {};
    }
    if (n >= 4 && IsDigit(s[n - 4])) {
        if (s[n - 4] == '9') {
            s[n - 4] = '0';
            if (n >= 5) ++s[n - 5];
        } else {
            ++s[n - 4];
        }
    }
    return s;
}

std::string StepDecimal(std::string_view name) {
    std::string s(name);
    size_t start = s.size();
    while (start > 0 && IsDigit(s[start - 1])) --start;
    if (start == s.size()) return s + "1";
    size_t i = s.size();
    while (i > start) {
        --i;
        if (s[i] != '9') {
            ++s[i];
            return s;
        }
        s[i] = '0';
    }
    s.insert(start, "1");
    return s;
}

// The number is counted in the file name as the server knows it: "my%20pic%2009.jpg" is
// "my pic 09.jpg", followed by "my pic 10.jpg", and the escapes are not part of the count.
int NextSerialUrl(const std::string& url, std::string& next, const ExistsProbe& exists) {
    const size_t fileStart = url.rfind('/') == std::string::npos ? 0 : url.rfind('/') + 1;
    const std::string folder = url.substr(0, fileStart);
    const std::vector<NameUnit> units = DecodeUnits(std::string_view(url).substr(fileStart));
    const UrlNameParts parts = SplitUrlName(Decoded(units));
    const std::string hex = StepHexPair(parts.name);
    if (!hex.empty()) {
        next = folder + Reencoded(units, Join(hex, parts));
        if (exists(next) != 0) return 1;
    }
    next = folder + Reencoded(units, Join(StepDecimal(parts.name), parts));
    return exists(next) != 0 ? 1 : 0;
}

std::string SerialTail(std::string_view name) {
    const size_t n = name.size();
    size_t start = n;
    if (n >= 3 && name[n - 3] == '_' && (IsDigit(name[n - 2]) || IsHexLetter(name[n - 2])) &&
        (IsDigit(name[n - 1]) || IsHexLetter(name[n - 1])))
        start = n - 3;
    while (start > 0 && IsDigit(name[start - 1])) --start;
    return std::string(name.substr(start));
}

std::string SerialLocalName(const std::string& firstSaveName, const std::string& nextUrl) {
    const size_t dot = firstSaveName.rfind('.');
    std::string stem = dot == std::string::npos ? firstSaveName : firstSaveName.substr(0, dot);
    stem.resize(stem.size() - SerialTail(stem).size());
    std::string file = Decoded(DecodeUnits(UrlFileName(nextUrl)));
    // An escaped "/" must not turn the name into a path.
    for (char& c : file)
        if (c == '/' || c == '\0') c = '_';
    const UrlNameParts parts = SplitUrlName(file);
    std::string name = stem + SerialTail(parts.name);
    if (parts.hasExtension) name += "." + parts.extension;
    return name;
}

std::string UrlFileName(std::string_view url) {
    const size_t slash = url.rfind('/');
    return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

}  // namespace download
