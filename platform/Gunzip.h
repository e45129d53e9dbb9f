// Unpacking gzip data in memory (sitemaps served as .xml.gz), with a bound on what comes out
// so that a small file cannot unpack into all of the memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// True when `bytes` start with the gzip magic number.
bool IsGzip(std::string_view bytes);

enum GunzipResult : int {
    GunzipDone = 1,       // every member unpacked
    GunzipBroken = 0,     // the data is damaged or ends early; `out` holds what came before
    GunzipTooLarge = 2,   // more than `maxOut` bytes would come out; `out` holds the first maxOut
};

// Unpacks one or more concatenated gzip members of `bytes` into `out`, at most `maxOut`
// bytes of it.
[[nodiscard]] int Gunzip(std::string_view bytes, std::string& out, size_t maxOut);

}  // namespace platform
