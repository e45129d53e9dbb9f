#include "platform/ConsoleText.h"

#include <clocale>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>

#include "platform/ByteString.h"

namespace platform {

namespace {

std::string LocaleCodeset() {
    // Read the user's choice without changing the program's own locale.
    locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (!loc) return "UTF-8";
    std::string codeset = nl_langinfo_l(CODESET, loc);
    freelocale(loc);
    return codeset;
}

}  // namespace

std::string ToConsoleText(std::string_view utf8) {
    static const std::string codeset = LocaleCodeset();
    if (codeset == "UTF-8" || codeset == "utf8") return std::string(utf8);
    iconv_t cd = iconv_open(codeset.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
    std::string out;
    char* src = const_cast<char*>(utf8.data());
    size_t left = utf8.size();
    char buf[256];
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t n = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (n == static_cast<size_t>(-1) && errno != E2BIG) {
            // Skip one character the locale cannot show.
            out += '?';
            ++src;
            --left;
            while (left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80) {
                ++src;
                --left;
            }
        }
    }
    iconv_close(cd);
    return out;
}

void PrintMessageLine(std::string_view caption, std::string_view text) {
    std::string flat(text);
    (void)ReplaceAll(flat, "\r\n", " ");
    std::fprintf(stderr, "[%s] %s\n", ToConsoleText(caption).c_str(), ToConsoleText(flat).c_str());
    std::fflush(stderr);
}

}  // namespace platform
