// The fingerprint of a file's contents, by which an update tells a changed file from an
// unchanged one whatever their sizes: SHA-256, written as 64 lower-case hex digits.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string ContentHash(std::string_view bytes);
// "" when the file cannot be read whole.
std::string FileContentHash(const std::string& path);

}  // namespace platform
