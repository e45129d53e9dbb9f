#include "platform/LineReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

LineReader::LineReader(const std::string& path, size_t maxLineBytes)
    : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), m_maxLineBytes(maxLineBytes) {}

LineReader::~LineReader() {
    if (m_fd >= 0) ::close(m_fd);
}

LineReader::Result LineReader::Next(std::string& line) {
    line.clear();
    for (;;) {
        const size_t lf = m_buffer.find('\n', m_pos);
        if (lf != std::string::npos) {
            if (lf - m_pos > m_maxLineBytes) return Damaged;
            line.assign(m_buffer, m_pos, lf - m_pos);
            m_pos = lf + 1;
            return Line;
        }
        if (m_buffer.size() - m_pos > m_maxLineBytes) return Damaged;
        const int filled = Fill();
        if (filled < 0) return Damaged;
        if (filled == 0) {
            if (m_pos >= m_buffer.size()) return End;
            line.assign(m_buffer, m_pos, std::string::npos);
            m_pos = m_buffer.size();
            return LastLine;
        }
    }
}

int LineReader::Fill() {
    m_buffer.erase(0, m_pos);
    m_pos = 0;
    char block[16384];
    for (;;) {
        const ssize_t n = ::read(m_fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        m_buffer.append(block, static_cast<size_t>(n));
        return n > 0 ? 1 : 0;
    }
}

}  // namespace platform
