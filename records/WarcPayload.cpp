#include "records/WarcPayload.h"

#include <brotli/decode.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>

#include "platform/ByteString.h"

namespace records {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

z_stream* Z(void* p) { return static_cast<z_stream*>(p); }

}  // namespace

bool ParseHttpHead(std::string_view head, WarcCapture& capture, size_t& headLength, std::string* why) {
    size_t end = head.find("\r\n\r\n");
    size_t endLength = 4;
    if (const size_t bare = head.find("\n\n"); bare != std::string_view::npos && (end == std::string_view::npos || bare < end)) {
        end = bare;
        endLength = 2;
    }
    if (end == std::string_view::npos) {
        if (why) *why = "HTTP head without an end within " + std::to_string(head.size()) + " bytes";
        return false;
    }
    headLength = end + endLength;
    std::string_view lines = head.substr(0, end);
    const size_t firstEnd = lines.find('\n');
    const std::string_view statusLine = TrimBlanks(lines.substr(0, firstEnd));
    // "HTTP/1.1 200 OK": exactly three digits after the version.
    if (!platform::StartsWithI(statusLine, "HTTP/") || statusLine.size() < 12 || statusLine[8] != ' ' ||
        !std::isdigit(static_cast<unsigned char>(statusLine[9])) || !std::isdigit(static_cast<unsigned char>(statusLine[10])) ||
        !std::isdigit(static_cast<unsigned char>(statusLine[11])) ||
        (statusLine.size() > 12 && statusLine[12] != ' ')) {
        if (why) *why = "no HTTP status line";
        return false;
    }
    capture.status = (statusLine[9] - '0') * 100 + (statusLine[10] - '0') * 10 + (statusLine[11] - '0');
    if (capture.status < 100) {
        if (why) *why = "HTTP status out of range";
        return false;
    }
    lines = firstEnd == std::string_view::npos ? std::string_view() : lines.substr(firstEnd + 1);
    while (!lines.empty()) {
        const size_t next = lines.find('\n');
        const std::string_view line = lines.substr(0, next);
        lines = next == std::string_view::npos ? std::string_view() : lines.substr(next + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string name = Lower(TrimBlanks(line.substr(0, colon)));
        const std::string value(TrimBlanks(line.substr(colon + 1)));
        if (name == "content-type") capture.contentType = value;
        else if (name == "location") capture.location = value;
        else if (name == "etag") capture.etag = value;
        else if (name == "last-modified") capture.lastModified = value;
        else if (name == "transfer-encoding") capture.transferEncoding = Lower(value);
        else if (name == "content-encoding") capture.contentEncoding = Lower(value);
    }
    return true;
}

PayloadDecoder::~PayloadDecoder() {
    if (m_z) {
        inflateEnd(Z(m_z));
        delete Z(m_z);
    }
    if (m_brotli) BrotliDecoderDestroyInstance(static_cast<BrotliDecoderState*>(m_brotli));
}

bool PayloadDecoder::Begin(const std::string& transferEncoding, const std::string& contentEncoding, std::string* why) {
    if (transferEncoding.find("chunked") != std::string::npos) m_chunk = Chunk::Size;
    const std::string coding(TrimBlanks(contentEncoding));
    if (coding.empty() || coding == "identity") return true;
    if (coding == "gzip" || coding == "x-gzip" || coding == "deflate") {
        m_coding = Coding::Zlib;
        m_deflate = coding == "deflate";
        return true;
    }
    if (coding == "br") {
        m_brotli = BrotliDecoderCreateInstance(nullptr, nullptr, nullptr);
        m_coding = Coding::Brotli;
        if (m_brotli) return true;
    }
    if (why) *why = "content encoding \"" + coding + "\" is not supported";
    return false;
}

int PayloadDecoder::Fail(const char* why) {
    m_why = why;
    return 0;
}

int PayloadDecoder::Feed(const char* data, size_t length, const Sink& sink) {
    if (m_chunk != Chunk::Off) return Dechunk(data, length, sink);
    return Decode(data, length, sink);
}

int PayloadDecoder::Dechunk(const char* data, size_t length, const Sink& sink) {
    size_t i = 0;
    while (i < length) {
        switch (m_chunk) {
        case Chunk::Size:
        case Chunk::Trailer: {
            const char c = data[i++];
            if (c != '\n') {
                if (m_line.size() >= 1024) return Fail("chunk size line too long");
                m_line += c;
                break;
            }
            std::string_view line = TrimBlanks(m_line);
            if (m_chunk == Chunk::Trailer) {
                if (line.empty()) m_chunk = Chunk::Done;
                m_line.clear();
                break;
            }
            line = TrimBlanks(line.substr(0, line.find(';')));
            if (line.empty() || line.size() > 15) return Fail("bad chunk size");
            uint64_t size = 0;
            for (char h : line) {
                if (!std::isxdigit(static_cast<unsigned char>(h))) return Fail("bad chunk size");
                size = size * 16 + static_cast<uint64_t>(std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::tolower(h) - 'a' + 10));
            }
            m_line.clear();
            m_left = size;
            m_chunk = size == 0 ? Chunk::Trailer : Chunk::Data;
            break;
        }
        case Chunk::Data: {
            const size_t take = static_cast<size_t>(std::min<uint64_t>(m_left, length - i));
            if (const int r = Decode(data + i, take, sink); r != 1) return r;
            i += take;
            m_left -= take;
            if (m_left == 0) m_chunk = Chunk::DataEnd;
            break;
        }
        case Chunk::DataEnd: {
            const char c = data[i++];
            if (c == '\n') m_chunk = Chunk::Size;
            else if (c != '\r') return Fail("chunk without its line end");
            break;
        }
        case Chunk::Done:
            return 1;  // bytes after the last chunk are no part of the payload
        case Chunk::Off:
            break;
        }
    }
    return 1;
}

int PayloadDecoder::Decode(const char* data, size_t length, const Sink& sink) {
    if (length == 0) return 1;
    if (m_coding == Coding::Identity) return sink(data, length) ? 1 : -1;
    if (m_codingDone) return 1;
    char out[64 * 1024];
    if (m_coding == Coding::Brotli) {
        auto* state = static_cast<BrotliDecoderState*>(m_brotli);
        size_t inLeft = length;
        const uint8_t* in = reinterpret_cast<const uint8_t*>(data);
        for (;;) {
            size_t outLeft = sizeof out;
            uint8_t* next = reinterpret_cast<uint8_t*>(out);
            const BrotliDecoderResult r = BrotliDecoderDecompressStream(state, &inLeft, &in, &outLeft, &next, nullptr);
            const size_t produced = sizeof out - outLeft;
            if (produced > 0 && !sink(out, produced)) return -1;
            if (r == BROTLI_DECODER_RESULT_ERROR) return Fail("damaged brotli body");
            if (r == BROTLI_DECODER_RESULT_SUCCESS) {
                m_codingDone = true;
                return 1;
            }
            if (r == BROTLI_DECODER_RESULT_NEEDS_MORE_INPUT) return 1;
        }
    }
    if (!m_started) {
        m_started = true;
        m_z = new z_stream{};
        int bits = 16 + MAX_WBITS;
        if (m_deflate) {
            // Servers send "deflate" both with the zlib wrapper and without it.
            const auto b0 = static_cast<unsigned char>(data[0]);
            const bool wrapped = length >= 2 && (b0 & 0x0f) == 8 && ((b0 << 8) | static_cast<unsigned char>(data[1])) % 31 == 0;
            bits = wrapped ? MAX_WBITS : -MAX_WBITS;
        }
        if (inflateInit2(Z(m_z), bits) != Z_OK) return Fail("cannot start the decompressor");
    }
    z_stream* z = Z(m_z);
    z->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z->avail_in = static_cast<uInt>(length);
    while (z->avail_in > 0) {
        z->next_out = reinterpret_cast<Bytef*>(out);
        z->avail_out = sizeof out;
        const int status = inflate(z, Z_NO_FLUSH);
        const size_t produced = sizeof out - z->avail_out;
        if (produced > 0 && !sink(out, produced)) return -1;
        if (status == Z_STREAM_END) {
            m_codingDone = true;
            return 1;
        }
        if (status != Z_OK && !(status == Z_BUF_ERROR && produced > 0)) return Fail("damaged compressed body");
    }
    return 1;
}

int PayloadDecoder::Finish() {
    if (m_chunk != Chunk::Off && m_chunk != Chunk::Done && m_chunk != Chunk::Trailer) return Fail("chunked body cut short");
    if (m_coding != Coding::Identity && m_started == false && m_coding == Coding::Zlib) return 1;  // empty body
    if (m_coding != Coding::Identity && !m_codingDone && (m_started || m_coding == Coding::Brotli))
        return Fail("compressed body cut short");
    return 1;
}

}  // namespace records
