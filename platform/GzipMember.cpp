#include "platform/GzipMember.h"

#include <zlib.h>

namespace platform {

struct GzipMember::State {
    z_stream stream{};
    bool ready = false;
};

GzipMember::GzipMember() : m_state(std::make_unique<State>()) {
    // 15 + 16: a gzip wrapper around the deflate data.
    m_state->ready = deflateInit2(&m_state->stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) == Z_OK;
}

GzipMember::~GzipMember() {
    if (m_state->ready) deflateEnd(&m_state->stream);
}

namespace {

bool Pump(z_stream& stream, std::string_view bytes, int flush, std::string& out) {
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    char buffer[65536];
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        const int rc = deflate(&stream, flush);
        if (rc == Z_STREAM_ERROR) return false;
        out.append(buffer, sizeof buffer - stream.avail_out);
        if (flush == Z_FINISH ? rc == Z_STREAM_END : (stream.avail_in == 0 && stream.avail_out != 0)) return true;
    }
}

}  // namespace

bool GzipMember::Add(std::string_view bytes, std::string& out) {
    if (!m_state->ready) return false;
    // Pieces larger than zlib's counters take are given in parts.
    constexpr size_t kPart = 1u << 30;
    while (!bytes.empty()) {
        const std::string_view part = bytes.substr(0, kPart);
        if (!Pump(m_state->stream, part, Z_NO_FLUSH, out)) return false;
        bytes.remove_prefix(part.size());
    }
    return true;
}

bool GzipMember::Finish(std::string& out) {
    if (!m_state->ready) return false;
    const bool done = Pump(m_state->stream, {}, Z_FINISH, out);
    deflateEnd(&m_state->stream);
    m_state->ready = false;
    return done;
}

}  // namespace platform
