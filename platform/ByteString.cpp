#include "platform/ByteString.h"

#include <algorithm>
#include <climits>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace platform {

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

namespace {

// How often a byte turns up in the text of pages, roughly (lower: rarer). Letters count both
// cases; a blank or a letter common in English is a poor place to look for a needle.
struct CommonnessTable {
    unsigned char of[256];
    constexpr CommonnessTable() : of() {
        constexpr std::string_view kLetters = "zqxjkvbpygfwmucldrhsnioate";  // rarest first
        for (int c = 0; c < 256; ++c) of[c] = 1;
        for (size_t at = 0; at < kLetters.size(); ++at) {
            const auto lower = static_cast<unsigned char>(kLetters[at]);
            of[lower] = of[lower - 'a' + 'A'] = static_cast<unsigned char>(10 + at);
        }
        for (unsigned char c : std::string_view(" \n\r\t")) of[c] = 100;
        for (unsigned char c : std::string_view("<>\"=/")) of[c] = 8;
    }
};

// Looked up, not worked out: every search of a short text asks it for each byte of its needle.
int Commonness(char c) {
    static constexpr CommonnessTable kTable;
    return kTable.of[static_cast<unsigned char>(c)];
}

// For short needles, short texts and the last places of long ones. Candidates are the places
// of the needle's rarest byte, in either case, found with memchr.
size_t FindIScalar(std::string_view haystack, std::string_view needle, size_t from) {
    size_t anchor = 0;
    for (size_t k = 1; k < needle.size(); ++k)
        if (Commonness(needle[k]) < Commonness(needle[anchor])) anchor = k;
    const char lower = AsciiLower(needle[anchor]), upper = AsciiUpper(needle[anchor]);
    const char* const text = haystack.data();
    // The anchor of a match starting at i lies at i + anchor, for i in [from, last].
    const size_t begin = from + anchor, end = haystack.size() - needle.size() + anchor + 1;
    const auto next = [text, end](char c, size_t at) -> size_t {
        if (at >= end) return npos;
        const void* hit = std::memchr(text + at, static_cast<unsigned char>(c), end - at);
        return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text) : npos;
    };
    size_t atLower = next(lower, begin);
    size_t atUpper = lower == upper ? npos : next(upper, begin);
    while (atLower != npos || atUpper != npos) {
        const size_t at = std::min(atLower, atUpper);
        const size_t i = at - anchor;
        if (EqualsI(haystack.substr(i, needle.size()), needle)) return i;
        if (at == atLower) atLower = next(lower, at + 1);
        else atUpper = next(upper, at + 1);
    }
    return npos;
}

#if defined(__x86_64__)
// Pages are searched many times over, so on processors that have the registers for it,
// thirty-two places are looked at in one step: only where the needle's first and last bytes
// both match (a letter in either case) is the rest compared. Returns the match, or npos with
// `from` moved to the first place not looked at.
__attribute__((target("avx2"))) size_t FindIWide(std::string_view haystack, std::string_view needle,
                                                 size_t& from) {
    const size_t m = needle.size();
    const size_t last = haystack.size() - m;
    const char first = AsciiLower(needle.front()), end = AsciiLower(needle.back());
    const bool firstLetter = first >= 'a' && first <= 'z', endLetter = end >= 'a' && end <= 'z';
    const __m256i firstValue = _mm256_set1_epi8(firstLetter ? first : needle.front());
    const __m256i firstFold = _mm256_set1_epi8(firstLetter ? 0x20 : 0);
    const __m256i endValue = _mm256_set1_epi8(endLetter ? end : needle.back());
    const __m256i endFold = _mm256_set1_epi8(endLetter ? 0x20 : 0);
    const std::string_view middle = needle.substr(1, m - 2);
    const char* const text = haystack.data();
    for (; from + 31 <= last; from += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + from));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + from + m - 1));
        const __m256i both = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(a, firstFold), firstValue),
                                              _mm256_cmpeq_epi8(_mm256_or_si256(b, endFold), endValue));
        for (auto bits = static_cast<unsigned>(_mm256_movemask_epi8(both)); bits != 0; bits &= bits - 1) {
            const size_t at = from + static_cast<size_t>(__builtin_ctz(bits));
            if (EqualsI(haystack.substr(at + 1, m - 2), middle)) return at;
        }
    }
    return npos;
}

bool HasWideRegisters() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

}  // namespace

size_t FindI(std::string_view haystack, std::string_view needle, size_t from) {
    if (needle.empty()) return from <= haystack.size() ? from : npos;
    if (haystack.size() < needle.size() || from > haystack.size() - needle.size()) return npos;
#if defined(__x86_64__)
    if (needle.size() >= 2 && HasWideRegisters()) {
        if (const size_t at = FindIWide(haystack, needle, from); at != npos) return at;
    }
#endif
    return FindIScalar(haystack, needle, from);
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
        // Sized once, so that a big page is not held three times over while the copy grows.
        if (count == 0) out.reserve(text.size() + (to.size() > from.size() ? 16 * (to.size() - from.size()) : 0));
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

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace platform
