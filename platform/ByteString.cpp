#include "platform/ByteString.h"

#include <climits>

namespace platform {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLowerCopy(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

bool EqualsI(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool StartsWithI(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsI(text.substr(0, prefix.size()), prefix);
}

bool EndsWithI(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualsI(text.substr(text.size() - suffix.size()), suffix);
}

size_t FindI(std::string_view haystack, std::string_view needle, size_t from) {
    if (needle.empty()) return from <= haystack.size() ? from : npos;
    if (haystack.size() < needle.size()) return npos;
    const char first = AsciiLower(needle[0]);
    const size_t last = haystack.size() - needle.size();
    for (size_t i = from; i <= last; ++i) {
        if (AsciiLower(haystack[i]) != first) continue;
        size_t k = 1;
        while (k < needle.size() && AsciiLower(haystack[i + k]) == AsciiLower(needle[k])) ++k;
        if (k == needle.size()) return i;
    }
    return npos;
}

size_t RFindI(std::string_view haystack, std::string_view needle) {
    if (haystack.size() < needle.size()) return npos;
    for (size_t i = haystack.size() - needle.size() + 1; i-- > 0;)
        if (EqualsI(haystack.substr(i, needle.size()), needle)) return i;
    return npos;
}

bool ContainsI(std::string_view haystack, std::string_view needle) {
    return FindI(haystack, needle) != npos;
}

size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to, bool ignoreCase) {
    if (from.empty()) return 0;
    auto next = [&](size_t pos) { return ignoreCase ? FindI(text, from, pos) : text.find(from, pos); };
    size_t count = 0;
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = next(pos)) != std::string::npos; pos = hit + from.size()) {
        out.append(text, pos, hit - pos);
        out.append(to);
        ++count;
    }
    if (count == 0) return 0;
    out.append(text, pos, std::string::npos);
    text = std::move(out);
    return count;
}

std::string_view UpToLast(std::string_view text, char sep, bool keepSep) {
    size_t p = text.rfind(sep);
    if (p == std::string_view::npos) return {};
    return text.substr(0, keepSep ? p + 1 : p);
}

std::string_view AfterLast(std::string_view text, char sep) {
    size_t p = text.rfind(sep);
    return p == std::string_view::npos ? text : text.substr(p + 1);
}

long long ParseDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int d = text[i] - '0';
        if (value > (LLONG_MAX - d) / 10) return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + d;
    }
    return negative ? -value : value;
}

}  // namespace platform
