#include "platform/Codepage.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace platform {

namespace {

int Convert(const char* to, const char* from, std::string_view in, std::string& out, size_t* badOffset) {
    out.clear();
    if (IsAscii(in)) {
        out.assign(in);
        return CodepageOk;
    }
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return CodepageUnavailable;
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
    iconv_close(cd);
    if (rc != CodepageOk) return rc;
    result.resize(used);
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
    return Convert("CP932", "UTF-8", utf8, out, badOffset);
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
