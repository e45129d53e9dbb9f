// The pixel size of a picture file from its header (PNG, GIF, JPEG, BMP), without decoding it.
#pragma once

#include <cstdint>
#include <string_view>

namespace app {

// True when the header names the size; width and height are then set.
bool PictureSize(std::string_view bytes, uint32_t& width, uint32_t& height);

}  // namespace app
