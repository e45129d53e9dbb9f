#include "platform/Gunzip.h"

#include <zlib.h>

#include <algorithm>

namespace platform {

bool IsGzip(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1f &&
           static_cast<unsigned char>(bytes[1]) == 0x8b;
}

int Gunzip(std::string_view bytes, std::string& out, size_t maxOut) {
    out.clear();
    z_stream stream{};
    // 16 + window bits: a gzip header and trailer, not a zlib one.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return GunzipBroken;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    int result = GunzipBroken;
    size_t inLeft = bytes.size();
    char buffer[64 * 1024];
    for (;;) {
        // zlib counts its input in uInt; feed a large input in pieces.
        if (stream.avail_in == 0 && inLeft > 0) {
            stream.avail_in = static_cast<uInt>(std::min<size_t>(inLeft, 1u << 30));
            inLeft -= stream.avail_in;
        }
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        const int status = inflate(&stream, Z_NO_FLUSH);
        const size_t produced = sizeof buffer - stream.avail_out;
        if (out.size() + produced > maxOut) {
            out.append(buffer, maxOut - out.size());
            result = GunzipTooLarge;
            break;
        }
        out.append(buffer, produced);
        if (status == Z_STREAM_END) {
            // Another member may follow (gzip files may be concatenated); blanks after the
            // last one are tolerated as gzip itself tolerates them.
            if (stream.avail_in == 0 && inLeft == 0) {
                result = GunzipDone;
                break;
            }
            if (!IsGzip(std::string_view(reinterpret_cast<const char*>(stream.next_in), stream.avail_in))) {
                result = GunzipDone;
                break;
            }
            if (inflateReset(&stream) != Z_OK) break;
            continue;
        }
        if (status == Z_BUF_ERROR && stream.avail_in == 0 && inLeft == 0) break;  // ends early
        if (status != Z_OK && status != Z_BUF_ERROR) break;                        // damaged
    }
    inflateEnd(&stream);
    return result;
}

}  // namespace platform
