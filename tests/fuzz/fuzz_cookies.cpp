// Cookie files of any shape: the reader takes what are cookie lines, counts the rest, and
// every line is either taken, counted or a comment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/CookieJar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::CookieJar jar;
    size_t bad = 0;
    const size_t taken = jar.AddCookiesTxt(text, &bad);
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    if (taken + bad > lines + 1) std::abort();
    return 0;
}
