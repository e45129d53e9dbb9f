#include "app/PictureSize.h"

#include <cstdlib>

namespace app {

namespace {

uint32_t Byte(std::string_view b, size_t i) { return static_cast<unsigned char>(b[i]); }
uint32_t Be16(std::string_view b, size_t i) { return Byte(b, i) << 8 | Byte(b, i + 1); }
uint32_t Le16(std::string_view b, size_t i) { return Byte(b, i + 1) << 8 | Byte(b, i); }
uint32_t Be32(std::string_view b, size_t i) { return Be16(b, i) << 16 | Be16(b, i + 2); }
uint32_t Le32(std::string_view b, size_t i) { return Le16(b, i + 2) << 16 | Le16(b, i); }

bool Jpeg(std::string_view b, uint32_t& width, uint32_t& height) {
    size_t i = 2;
    while (i + 9 < b.size()) {
        if (Byte(b, i) != 0xFF) return false;
        const uint32_t marker = Byte(b, i + 1);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const uint32_t length = Be16(b, i + 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            height = Be16(b, i + 5);
            width = Be16(b, i + 7);
            return true;
        }
        if (length < 2) return false;
        i += 2 + length;
    }
    return false;
}

}  // namespace

bool PictureSize(std::string_view b, uint32_t& width, uint32_t& height) {
    if (b.size() >= 24 && b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
        width = Be32(b, 16);
        height = Be32(b, 20);
        return true;
    }
    if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) {
        width = Le16(b, 6);
        height = Le16(b, 8);
        return true;
    }
    if (b.size() >= 26 && b.substr(0, 2) == "BM") {
        width = Le32(b, 18);
        height = static_cast<uint32_t>(std::abs(static_cast<int32_t>(Le32(b, 22))));
        return true;
    }
    if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8) return Jpeg(b, width, height);
    return false;
}

}  // namespace app
