// The decoded bytes of a web archive from a given spot on: a plain file as it is, a gzip
// file member after member. Knows, for the next byte, the spot to start from to reach it
// again, and stops (Damaged) where the compressed data is broken or ends inside a member.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

#include "records/WarcReader.h"

namespace records {

class WarcStream {
public:
    WarcStream(const WarcBytes& bytes, bool gzip, WarcSpot start);
    ~WarcStream();
    WarcStream(const WarcStream&) = delete;
    WarcStream& operator=(const WarcStream&) = delete;

    // Makes at least `n` bytes readable if the data has them; the bytes readable (at most n).
    std::string_view Peek(size_t n);
    void Consume(size_t n);
    // Reads past `n` bytes; the count passed (short at the end or at damage).
    uint64_t Skip(uint64_t n);
    // Up to `n` bytes through `sink`; the count given.
    uint64_t Pass(uint64_t n, const std::function<bool(const char*, size_t)>& sink, bool* sinkStopped);

    WarcSpot Spot();
    bool AtEnd();
    bool Damaged() const { return m_damaged; }
    // After damage in a gzip file: on to the next gzip member after the broken one. False when
    // none follows.
    bool RecoverAtNextMember();
    // The file offset of the gzip member being decoded (0 for a plain file).
    uint64_t MemberOffset() const { return m_memberStart; }

private:
    bool Fill();
    bool FillPlain();
    bool FillGzip();
    void StartMember(uint64_t offset);

    const WarcBytes& m_bytes;
    bool m_gzip;
    std::string m_buf;
    size_t m_pos = 0;
    uint64_t m_global = 0;    // decoded offset of m_buf[m_pos] since the stream's start
    uint64_t m_decoded = 0;   // decoded bytes produced so far
    uint64_t m_filePos = 0;   // next file byte to read
    bool m_ended = false;
    bool m_damaged = false;
    // Plain files: the spot of decoded offset 0. Gzip: decoded offset -> member offset.
    uint64_t m_base = 0;
    std::deque<std::pair<uint64_t, uint64_t>> m_members;
    uint64_t m_memberStart = 0;
    void* m_zip = nullptr;    // z_stream
    std::string m_in;
    bool m_inMember = false;
};

}  // namespace records
