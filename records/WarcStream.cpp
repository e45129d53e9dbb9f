#include "records/WarcStream.h"

#include <zlib.h>

#include <algorithm>

namespace records {

namespace {

constexpr size_t kPiece = 64 * 1024;

z_stream* Zip(void* p) { return static_cast<z_stream*>(p); }

}  // namespace

WarcStream::WarcStream(const WarcBytes& bytes, bool gzip, WarcSpot start) : m_bytes(bytes), m_gzip(gzip) {
    if (!m_gzip) {
        m_filePos = start.member + start.skip;
        m_base = m_filePos;
        return;
    }
    m_zip = new z_stream{};
    if (inflateInit2(Zip(m_zip), 16 + MAX_WBITS) != Z_OK) {
        m_ended = m_damaged = true;
        return;
    }
    StartMember(start.member);
    if (Skip(start.skip) != start.skip) m_ended = true;
}

WarcStream::~WarcStream() {
    if (m_zip) {
        inflateEnd(Zip(m_zip));
        delete Zip(m_zip);
    }
}

void WarcStream::StartMember(uint64_t offset) {
    m_memberStart = offset;
    m_filePos = offset;
    m_in.clear();
    Zip(m_zip)->avail_in = 0;
    m_inMember = true;
    m_members.emplace_back(m_decoded, offset);
}

bool WarcStream::Fill() {
    if (m_ended) return false;
    // Drop what was read, so the buffer holds only the bytes still ahead.
    if (m_pos > 0) {
        m_buf.erase(0, m_pos);
        m_pos = 0;
    }
    return m_gzip ? FillGzip() : FillPlain();
}

bool WarcStream::FillPlain() {
    char piece[kPiece];
    const size_t n = m_bytes.ReadAt(m_filePos, piece, sizeof piece);
    if (n == 0) {
        m_ended = true;
        return false;
    }
    m_filePos += n;
    m_decoded += n;
    m_buf.append(piece, n);
    return true;
}

bool WarcStream::FillGzip() {
    z_stream* z = Zip(m_zip);
    char out[kPiece];
    for (;;) {
        if (!m_inMember) {
            // Between members: another one follows only where the gzip magic stands.
            char magic[2];
            if (m_bytes.ReadAt(m_filePos, magic, 2) != 2 || static_cast<unsigned char>(magic[0]) != 0x1f ||
                static_cast<unsigned char>(magic[1]) != 0x8b) {
                m_ended = true;
                return false;
            }
            if (inflateReset(z) != Z_OK) {
                m_ended = m_damaged = true;
                return false;
            }
            StartMember(m_filePos);
        }
        if (z->avail_in == 0) {
            m_in.resize(kPiece);
            const size_t n = m_bytes.ReadAt(m_filePos, m_in.data(), m_in.size());
            if (n == 0) {
                // The file ends inside a member.
                m_ended = m_damaged = true;
                return false;
            }
            m_filePos += n;
            z->next_in = reinterpret_cast<Bytef*>(m_in.data());
            z->avail_in = static_cast<uInt>(n);
        }
        z->next_out = reinterpret_cast<Bytef*>(out);
        z->avail_out = sizeof out;
        const int status = inflate(z, Z_NO_FLUSH);
        const size_t produced = sizeof out - z->avail_out;
        m_buf.append(out, produced);
        m_decoded += produced;
        if (status == Z_STREAM_END) {
            // The next member starts right after this one's trailer.
            m_filePos -= z->avail_in;
            z->avail_in = 0;
            m_inMember = false;
            if (produced > 0) return true;
            continue;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            m_ended = m_damaged = true;
            return produced > 0;
        }
        if (produced > 0) return true;
    }
}

std::string_view WarcStream::Peek(size_t n) {
    while (m_buf.size() - m_pos < n && Fill()) {
    }
    return std::string_view(m_buf).substr(m_pos, std::min(n, m_buf.size() - m_pos));
}

void WarcStream::Consume(size_t n) {
    n = std::min(n, m_buf.size() - m_pos);
    m_pos += n;
    m_global += n;
}

uint64_t WarcStream::Skip(uint64_t n) {
    return Pass(n, nullptr, nullptr);
}

uint64_t WarcStream::Pass(uint64_t n, const std::function<bool(const char*, size_t)>& sink, bool* sinkStopped) {
    uint64_t done = 0;
    while (done < n) {
        if (m_pos == m_buf.size() && !Fill()) break;
        const size_t take = static_cast<size_t>(std::min<uint64_t>(n - done, m_buf.size() - m_pos));
        if (sink && !sink(m_buf.data() + m_pos, take)) {
            if (sinkStopped) *sinkStopped = true;
            break;
        }
        Consume(take);
        done += take;
    }
    return done;
}

WarcSpot WarcStream::Spot() {
    if (!m_gzip) return {0, m_base + m_global};
    while (m_members.size() > 1 && m_members[1].first <= m_global) m_members.pop_front();
    if (m_members.empty()) return {0, m_global};
    return {m_members.front().second, m_global - m_members.front().first};
}

bool WarcStream::AtEnd() {
    return Peek(1).empty();
}

bool WarcStream::RecoverAtNextMember() {
    if (!m_gzip) return false;
    char piece[kPiece];
    uint64_t at = m_memberStart + 1;
    for (;;) {
        const size_t n = m_bytes.ReadAt(at, piece, sizeof piece);
        if (n < 3) return false;
        for (size_t i = 0; i + 2 < n; ++i) {
            if (static_cast<unsigned char>(piece[i]) == 0x1f && static_cast<unsigned char>(piece[i + 1]) == 0x8b &&
                piece[i + 2] == 8) {
                m_buf.clear();
                m_pos = 0;
                m_global = m_decoded;
                m_members.clear();
                m_ended = m_damaged = false;
                if (inflateReset(Zip(m_zip)) != Z_OK) return false;
                StartMember(at + i);
                return true;
            }
        }
        at += n - 2;
    }
}

}  // namespace records
