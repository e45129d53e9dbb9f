// The HTTP parts of a WARC response record: its head (status line and headers, bounded), and
// its body as other tools store it, with a chunked transfer encoding and a gzip, deflate or
// brotli content encoding still on it. The decoder takes the stored bytes in pieces and gives
// out the payload a browser would see.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "records/WarcReader.h"

namespace records {

// Parses an HTTP head `head` (status line up to the blank line, which must be in it) into the
// fields of `capture`. The head's length including its blank line in `headLength`. False with
// `why` when it is no HTTP head or its end is not within `head`.
[[nodiscard]] bool ParseHttpHead(std::string_view head, WarcCapture& capture, size_t& headLength, std::string* why);

class PayloadDecoder {
public:
    using Sink = std::function<bool(const char*, size_t)>;
    PayloadDecoder() = default;
    ~PayloadDecoder();
    PayloadDecoder(const PayloadDecoder&) = delete;
    PayloadDecoder& operator=(const PayloadDecoder&) = delete;

    // False with `why` for an encoding this decoder does not know.
    [[nodiscard]] bool Begin(const std::string& transferEncoding, const std::string& contentEncoding, std::string* why);
    // 1 on, 0 damaged (`Why()`), -1 the sink said stop.
    [[nodiscard]] int Feed(const char* data, size_t length, const Sink& sink);
    // After the last piece: 1 when the body was whole, 0 when it ended early.
    [[nodiscard]] int Finish();
    const std::string& Why() const { return m_why; }

private:
    int Dechunk(const char* data, size_t length, const Sink& sink);
    int Decode(const char* data, size_t length, const Sink& sink);
    int Fail(const char* why);

    enum class Chunk { Off, Size, Data, DataEnd, Trailer, Done };
    enum class Coding { Identity, Zlib, Brotli };
    Chunk m_chunk = Chunk::Off;
    std::string m_line;
    uint64_t m_left = 0;
    Coding m_coding = Coding::Identity;
    bool m_deflate = false;       // "deflate": zlib-wrapped or raw, told by its first bytes
    bool m_started = false;
    bool m_codingDone = false;
    void* m_z = nullptr;          // z_stream
    void* m_brotli = nullptr;     // BrotliDecoderState
    std::string m_why;
};

}  // namespace records
