#include "download/SerialName.h"

namespace download {

namespace {

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

int NextSerialUrl(const std::string& url, std::string& next, const ExistsProbe& exists) {
    const UrlNameParts parts = SplitUrlName(url);
    const std::string hex = StepHexPair(parts.name);
    if (!hex.empty()) {
        next = Join(hex, parts);
        if (exists(next) != 0) return 1;
    }
    next = Join(StepDecimal(parts.name), parts);
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
    const UrlNameParts parts = SplitUrlName(UrlFileName(nextUrl));
    std::string name = stem + SerialTail(parts.name);
    if (parts.hasExtension) name += "." + parts.extension;
    return name;
}

std::string UrlFileName(std::string_view url) {
    const size_t slash = url.rfind('/');
    return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

}  // namespace download
