#include "platform/Codepage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// The converters this thread has opened, one per direction. Opening one looks up and loads the
// converter module, which cost more than the conversion itself for a log line; the log of a
// large save converts hundreds of thousands of lines.
class Converters {
public:
    Converters() = default;
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        for (const Entry& e : m_entries)
            if (e.cd != kNoConverter) iconv_close(e.cd);
    }
    // A converter in its initial state, or kNoConverter.
    iconv_t Get(const char* to, const char* from) {
        for (const Entry& e : m_entries) {
            if (std::strcmp(e.to, to) != 0 || std::strcmp(e.from, from) != 0) continue;
            if (e.cd != kNoConverter) (void)iconv(e.cd, nullptr, nullptr, nullptr, nullptr);
            return e.cd;
        }
        m_entries.push_back({to, from, iconv_open(to, from)});
        return m_entries.back().cd;
    }

private:
    struct Entry {
        const char* to;
        const char* from;
        iconv_t cd;
    };
    std::vector<Entry> m_entries;
};

int Convert(const char* to, const char* from, std::string_view in, std::string& out, size_t* badOffset) {
    out.clear();
    if (IsAscii(in)) {
        out.assign(in);
        return CodepageOk;
    }
    thread_local Converters converters;
    iconv_t cd = converters.Get(to, from);
    if (cd == kNoConverter) return CodepageUnavailable;
    std::string result;
    result.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    size_t used = 0;
    int rc = CodepageOk;
    while (srcLeft > 0) {
        char* dst = result.data() + used;
        size_t dstLeft = result.size() - used;
        size_t n = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        used = result.size() - dstLeft;
        if (n != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            result.resize(result.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL: a character without a code, or a broken sequence.
        if (badOffset) *badOffset = static_cast<size_t>(src - in.data());
        rc = CodepageUnmappable;
        break;
    }
    if (rc != CodepageOk) return rc;
    result.resize(used);
    out = std::move(result);
    return CodepageOk;
}

struct ViewHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// UTF-8 never uses an ASCII byte inside a character and the code page keeps ASCII as it is,
// so a text converts as its ASCII runs, kept, and the runs between them, converted. Those are
// few and come back again and again (the log's own phrases), so each thread remembers them.
int Utf8RunsToCp932(std::string_view in, std::string& out, size_t* badOffset) {
    constexpr size_t kRunsKept = 4096, kLongestRunKept = 256;  // a page's text is converted, not kept
    thread_local std::unordered_map<std::string, std::string, ViewHash, std::equal_to<>> converted;
    out.clear();
    std::string result;
    result.reserve(in.size());
    const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    for (size_t i = 0; i < in.size();) {
        size_t run = i;
        while (run < in.size() && ascii(in[run])) ++run;
        result.append(in.substr(i, run - i));
        if (run == in.size()) break;
        size_t end = run;
        while (end < in.size() && !ascii(in[end])) ++end;
        const std::string_view part = in.substr(run, end - run);
        auto it = part.size() <= kLongestRunKept ? converted.find(part) : converted.end();
        if (it != converted.end()) {
            result += it->second;
        } else {
            std::string bytes;
            size_t bad = 0;
            if (const int rc = Convert("CP932", "UTF-8", part, bytes, &bad); rc != CodepageOk) {
                if (rc == CodepageUnmappable && badOffset) *badOffset = run + bad;
                return rc;
            }
            result += bytes;
            if (part.size() <= kLongestRunKept) {
                if (converted.size() >= kRunsKept) converted.clear();
                converted.emplace(part, std::move(bytes));
            }
        }
        i = end;
    }
    out = std::move(result);
    return CodepageOk;
}

}  // namespace

bool IsAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

int Utf8ToCp932(std::string_view utf8, std::string& out, size_t* badOffset) {
    return Utf8RunsToCp932(utf8, out, badOffset);
}

int Cp932ToUtf8(std::string_view sjis, std::string& out, size_t* badOffset) {
    return Convert("UTF-8", "CP932", sjis, out, badOffset);
}

int EucJpToUtf8(std::string_view eucjp, std::string& out, size_t* badOffset) {
    return Convert("UTF-8", "EUC-JP", eucjp, out, badOffset);
}

std::string DescribeUnmappable(std::string_view utf8, size_t badOffset) {
    if (badOffset >= utf8.size()) return "?";
    unsigned char c = static_cast<unsigned char>(utf8[badOffset]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (badOffset + len > utf8.size()) len = 1;
    unsigned cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t i = 1; i < len; ++i) cp = (cp << 6) | (static_cast<unsigned char>(utf8[badOffset + i]) & 0x3F);
    char buf[32];
    std::snprintf(buf, sizeof buf, "U+%04X (", cp);
    return std::string(buf) + std::string(utf8.substr(badOffset, len)) + ")";
}

}  // namespace platform
