#include "records/WarcBuffer.h"

#include <vector>

namespace records {

bool WarcBuffer::Add(std::string_view bytes) {
    if (!m_spool.IsOpen() && m_memory.size() + bytes.size() <= m_limit) {
        m_memory.append(bytes);
        m_size += bytes.size();
        return true;
    }
    if (!m_spool.IsOpen()) {
        if (!m_spool.Open({m_stem}) || !m_spool.WriteAt(0, m_memory)) return false;
        std::string().swap(m_memory);
    }
    if (!m_spool.WriteAt(m_size, bytes)) return false;
    m_size += bytes.size();
    return true;
}

bool WarcBuffer::ForEach(const std::function<bool(std::string_view)>& take) const {
    if (!m_spool.IsOpen()) return m_memory.empty() || take(m_memory);
    std::vector<char> piece(1u << 20);
    for (uint64_t at = 0; at < m_size;) {
        const int64_t got = m_spool.ReadAt(at, piece.data(), piece.size());
        if (got <= 0) return false;
        if (!take(std::string_view(piece.data(), static_cast<size_t>(got)))) return false;
        at += static_cast<uint64_t>(got);
    }
    return true;
}

}  // namespace records
