// Reading a text file line by line in blocks, for files too large to hold whole and too
// untrusted to let one line grow without bound.
#pragma once

#include <string>

namespace platform {

// LF-terminated lines of a file, read in blocks; a line never grows past `maxLineBytes`.
class LineReader {
public:
    LineReader(const std::string& path, size_t maxLineBytes);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    enum Result { Line, LastLine, End, Damaged };
    // Line: ended by LF (the LF is not kept); LastLine: the text ended without LF; End: no
    // text left; Damaged: a read error or a line longer than the limit.
    Result Next(std::string& line);

private:
    int Fill();

    int m_fd;
    size_t m_maxLineBytes;
    std::string m_buffer;
    size_t m_pos = 0;
};

}  // namespace platform
