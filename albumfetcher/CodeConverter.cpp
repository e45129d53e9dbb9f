#include "albumfetcher/CodeConverter.h"

#include <cstring>
#include <vector>

#include "platform/Codepage.h"
#include "platform/DynamicLibrary.h"

namespace album {

namespace {

extern "C" {
using SetOptionFn = int (*)(const char* option);
using ConvertFn = void (*)(char* out, const char* in);
}

}  // namespace

std::string ConvertTitle(const std::string& programFolder, const std::string& title) {
    platform::DynamicLibrary library;
    if (!library.Open(programFolder + "/nkf32.so")) return title;
    const auto setOption = library.Function<SetOptionFn>("SetNkfOption");
    const auto convert = library.Function<ConvertFn>("NkfConvert");
    if (!setOption || !convert) return title;
    (void)setOption("s");  // Shift-JIS out
    // The converter writes at most the title's length; two more bytes leave room for its end.
    std::vector<char> out(title.size() + 2, '\0');
    convert(out.data(), title.c_str());
    std::string sjis(out.data(), strnlen(out.data(), title.size()));
    std::string text;
    if (platform::Cp932ToUtf8(sjis, text) != platform::CodepageOk || text.empty()) return title;
    return text;
}

}  // namespace album
