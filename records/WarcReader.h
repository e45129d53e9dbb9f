// Reading web archives (WARC files, plain or gzip-compressed, either each record its own gzip
// member or one stream) that other crawlers wrote. Nothing the file says is trusted: header
// sizes, record lengths, gzip members and the HTTP heads inside the records are checked
// against fixed bounds and the file's own size. A damaged record gets a problem line and is
// left out; the reader finds the next record and goes on. The index keeps, per URL, where its
// latest capture's payload lies, so the payloads are read on demand and a multi-gigabyte
// archive never sits in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace records {

// Bounds on what a record may claim.
constexpr size_t kWarcMaxHeader = 64 * 1024;      // the WARC header block of one record
constexpr size_t kWarcMaxHttpHead = 64 * 1024;    // the HTTP status line and headers
constexpr uint64_t kWarcMaxRecord = 1ull << 40;   // one record's Content-Length
constexpr size_t kWarcMaxProblems = 200;          // problem lines kept (the count goes on)

// The bytes of the archive, read at any offset (a file, or memory for tests and fuzzing).
class WarcBytes {
public:
    virtual ~WarcBytes() = default;
    virtual uint64_t Size() const = 0;
    virtual size_t ReadAt(uint64_t offset, char* buffer, size_t length) const = 0;
};

std::shared_ptr<WarcBytes> WarcBytesOfMemory(std::string bytes);
// Null (with `why`) when the file cannot be opened.
std::shared_ptr<WarcBytes> WarcBytesOfFile(const std::string& path, std::string* why);

// Where decoding starts to reach a byte: the file offset of its gzip member (or 0 for a plain
// file) and the count of decoded bytes before it from there.
struct WarcSpot {
    uint64_t member = 0;
    uint64_t skip = 0;
};

// One capture of a URL as the index keeps it.
struct WarcCapture {
    std::string url;
    std::string date;          // WARC-Date
    int status = 0;            // HTTP status
    std::string contentType;
    std::string location;      // of a redirect
    std::string etag, lastModified;
    std::string transferEncoding, contentEncoding;  // lower case, as stored
    WarcSpot payload;          // the HTTP body as stored (after the head)
    uint64_t payloadLength = 0;
};

class WarcArchive {
public:
    // Reads the whole archive once and builds the index. False only when nothing usable came
    // out of it (no record at all); `problems` then says why.
    [[nodiscard]] bool Read(std::shared_ptr<WarcBytes> bytes);

    const WarcCapture* Find(std::string_view url) const;
    size_t CaptureCount() const { return m_index.size(); }
    size_t RecordCount() const { return m_records; }
    // One line per damaged record ("at byte N: what"), at most kWarcMaxProblems.
    const std::vector<std::string>& Problems() const { return m_problems; }
    size_t ProblemCount() const { return m_problemCount; }

    // Streams a capture's payload, with its transfer and content encodings undone, to `sink`
    // (false from it stops). Returns 1 when the whole payload went out, 0 with `why` set
    // when the stored bytes are damaged or use an encoding this reader does not know, -1 when
    // the sink or `stop` ended it. Safe on several threads at once.
    [[nodiscard]] int ReadPayload(const WarcCapture& capture, const std::function<bool(const char*, size_t)>& sink,
                                  const std::function<bool()>& stop, std::string* why) const;

    void Problem(uint64_t at, const std::string& what);

private:
    std::shared_ptr<WarcBytes> m_bytes;
    bool m_gzip = false;
    std::unordered_map<std::string, WarcCapture> m_index;
    size_t m_records = 0;
    std::vector<std::string> m_problems;
    size_t m_problemCount = 0;
    friend class WarcScan;
};

// The key a URL is looked up by: scheme and host in lower case, no default port, no fragment,
// "/" for an empty path.
std::string WarcUrlKey(std::string_view url);

}  // namespace records
