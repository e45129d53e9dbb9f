#include "records/WarcReader.h"

#include <algorithm>
#include <charconv>
#include <cctype>

#include "platform/ByteString.h"
#include "platform/RandomAccessFile.h"
#include "records/WarcPayload.h"
#include "records/WarcStream.h"

namespace records {

namespace {

class MemoryBytes : public WarcBytes {
public:
    explicit MemoryBytes(std::string bytes) : m_bytes(std::move(bytes)) {}
    uint64_t Size() const override { return m_bytes.size(); }
    size_t ReadAt(uint64_t offset, char* buffer, size_t length) const override {
        if (offset >= m_bytes.size()) return 0;
        const size_t n = std::min<uint64_t>(length, m_bytes.size() - offset);
        std::copy_n(m_bytes.data() + offset, n, buffer);
        return n;
    }

private:
    std::string m_bytes;
};

class FileBytes : public WarcBytes {
public:
    bool Open(const std::string& path, std::string* why) { return m_file.Open(path, why); }
    uint64_t Size() const override { return static_cast<uint64_t>(m_file.Size()); }
    size_t ReadAt(uint64_t offset, char* buffer, size_t length) const override {
        return m_file.ReadAt(offset, buffer, length);
    }

private:
    platform::RandomAccessFile m_file;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// A length field: decimal digits only, within kWarcMaxRecord.
bool ParseLength(std::string_view text, uint64_t& value) {
    text = Trim(text);
    if (text.empty() || text.size() > 15) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value <= kWarcMaxRecord;
}

// What a record's WARC header says that the index uses.
struct WarcHead {
    std::string type, uri, date, refersUri, refersDate, payloadDigest, contentType;
    uint64_t length = 0;
    bool hasLength = false;
};

std::string Unbracket(std::string_view uri) {
    uri = Trim(uri);
    if (uri.size() >= 2 && uri.front() == '<' && uri.back() == '>') uri = uri.substr(1, uri.size() - 2);
    return std::string(uri);
}

// A revisit waiting for the response it refers to.
struct Revisit {
    WarcCapture own;   // its own URL, date and (when it has one) HTTP head
    bool hasHead = false;
    std::string refersUri, refersDate, digest;
};

}  // namespace

std::shared_ptr<WarcBytes> WarcBytesOfMemory(std::string bytes) {
    return std::make_shared<MemoryBytes>(std::move(bytes));
}

std::shared_ptr<WarcBytes> WarcBytesOfFile(const std::string& path, std::string* why) {
    auto file = std::make_shared<FileBytes>();
    if (!file->Open(path, why)) return nullptr;
    return file;
}

std::string WarcUrlKey(std::string_view url) {
    url = Trim(url);
    url = url.substr(0, url.find('#'));
    const size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) return std::string(url);
    std::string key;
    for (char c : url.substr(0, scheme + 3)) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string_view rest = url.substr(scheme + 3);
    const size_t pathAt = rest.find_first_of("/?");
    std::string host;
    for (char c : rest.substr(0, pathAt)) host += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((key == "http://" && platform::EndsWithI(host, ":80")) || (key == "https://" && platform::EndsWithI(host, ":443")))
        host.erase(host.rfind(':'));
    key += host;
    const std::string_view path = pathAt == std::string_view::npos ? std::string_view() : rest.substr(pathAt);
    if (path.empty() || path.front() != '/') key += '/';
    key += path;
    return key;
}

// One pass over the archive that fills its index.
class WarcScan {
public:
    explicit WarcScan(WarcArchive& archive) : m_archive(archive), m_stream(*archive.m_bytes, archive.m_gzip, {}) {}

    void Run() {
        for (;;) {
            SkipBlankLines();
            if (m_stream.AtEnd()) {
                // A broken member may swallow what follows it without a decoding error: the
                // records after it are looked for from the next member on.
                if (!m_stream.Damaged()) break;
                m_archive.Problem(Offset(), "damaged or cut-short gzip member");
                if (!m_stream.RecoverAtNextMember()) break;
                continue;
            }
            const uint64_t at = Offset();
            std::string why;
            if (!ReadRecord(why)) {
                if (m_stream.Damaged()) why = "damaged or cut-short gzip member (" + why + ")";
                m_archive.Problem(at, why);
                if (!Resync()) break;
            }
        }
        ResolveRevisits();
    }

private:
    // Where the user finds the place: the file offset for a plain file, the gzip member's.
    uint64_t Offset() {
        const WarcSpot spot = m_stream.Spot();
        return m_archive.m_gzip ? spot.member : spot.skip;
    }

    void SkipBlankLines() {
        for (;;) {
            const std::string_view b = m_stream.Peek(1);
            if (b.empty() || (b[0] != '\r' && b[0] != '\n')) return;
            m_stream.Consume(1);
        }
    }

    // Reads the WARC header block into `head`; false with `why`.
    bool ReadHeader(WarcHead& head, std::string& why) {
        const std::string_view block = m_stream.Peek(kWarcMaxHeader);
        if (!platform::StartsWithI(block, "WARC/")) {
            why = "no WARC record starts here";
            return false;
        }
        size_t end = block.find("\r\n\r\n");
        size_t endLength = 4;
        if (end == std::string_view::npos) {
            end = block.find("\n\n");
            endLength = 2;
        }
        if (end == std::string_view::npos) {
            why = block.size() >= kWarcMaxHeader ? "WARC header longer than 64 KiB" : "WARC header cut short";
            return false;
        }
        std::string_view lines = block.substr(0, end);
        while (!lines.empty()) {
            const size_t next = lines.find('\n');
            const std::string_view line = lines.substr(0, next);
            lines = next == std::string_view::npos ? std::string_view() : lines.substr(next + 1);
            const size_t colon = line.find(':');
            if (colon == std::string_view::npos) continue;
            const std::string_view name = Trim(line.substr(0, colon));
            const std::string_view value = Trim(line.substr(colon + 1));
            auto is = [&](const char* n) { return platform::EqualsI(name, n); };
            if (is("WARC-Type")) head.type = std::string(value);
            else if (is("WARC-Target-URI")) head.uri = Unbracket(value);
            else if (is("WARC-Date")) head.date = std::string(value);
            else if (is("WARC-Refers-To-Target-URI")) head.refersUri = Unbracket(value);
            else if (is("WARC-Refers-To-Date")) head.refersDate = std::string(value);
            else if (is("WARC-Payload-Digest")) head.payloadDigest = std::string(value);
            else if (is("Content-Type")) head.contentType = std::string(value);
            else if (is("Content-Length")) {
                if (!ParseLength(value, head.length)) {
                    why = "Content-Length is no length: " + std::string(value.substr(0, 40));
                    return false;
                }
                head.hasLength = true;
            }
        }
        if (!head.hasLength) {
            why = "WARC record without Content-Length";
            return false;
        }
        m_stream.Consume(end + endLength);
        // A plain file tells at once whether the block fits; a compressed one when it ends.
        if (!m_archive.m_gzip && head.length > m_archive.m_bytes->Size() - m_stream.Spot().skip) {
            why = "Content-Length " + std::to_string(head.length) + " reaches beyond the end of the file";
            return false;
        }
        return true;
    }

    bool ReadRecord(std::string& why) {
        WarcHead head;
        if (!ReadHeader(head, why)) return false;
        const bool http = platform::StartsWithI(head.uri, "http://") || platform::StartsWithI(head.uri, "https://");
        const bool response = platform::EqualsI(head.type, "response") && http;
        const bool revisit = platform::EqualsI(head.type, "revisit") && http;
        WarcCapture capture;
        capture.url = head.uri;
        capture.date = head.date;
        bool hasHead = false;
        uint64_t used = 0;
        if ((response || revisit) && head.length > 0) {
            const std::string_view block = m_stream.Peek(static_cast<size_t>(std::min<uint64_t>(head.length, kWarcMaxHttpHead)));
            size_t headLength = 0;
            std::string headWhy;
            if (ParseHttpHead(block, capture, headLength, &headWhy)) {
                hasHead = true;
                m_stream.Consume(headLength);
                used = headLength;
                capture.payload = m_stream.Spot();
                capture.payloadLength = head.length - headLength;
            } else if (response) {
                // The record is framed right: it is left out, and the reading goes on after it.
                m_archive.Problem(Offset(), headWhy + " (" + head.uri.substr(0, 200) + ")");
            }
        }
        if (m_stream.Skip(head.length - used) != head.length - used) {
            why = "record cut short: Content-Length " + std::to_string(head.length) + " reaches beyond the data";
            return false;
        }
        ++m_archive.m_records;
        if (response && hasHead) {
            if (!head.payloadDigest.empty()) m_byDigest[head.payloadDigest] = capture;
            m_byUriDate[WarcUrlKey(capture.url) + " " + capture.date] = capture;
            Keep(std::move(capture));
        } else if (revisit) {
            Revisit r;
            r.own = std::move(capture);
            r.hasHead = hasHead;
            r.refersUri = head.refersUri.empty() ? head.uri : head.refersUri;
            r.refersDate = head.refersDate;
            r.digest = head.payloadDigest;
            m_revisits.push_back(std::move(r));
        }
        return true;
    }

    // The latest capture of each URL stays; of two with the same date, the later record.
    void Keep(WarcCapture capture) {
        std::string key = WarcUrlKey(capture.url);
        auto found = m_archive.m_index.find(key);
        if (found == m_archive.m_index.end()) m_archive.m_index.emplace(std::move(key), std::move(capture));
        else if (found->second.date <= capture.date) found->second = std::move(capture);
    }

    void ResolveRevisits() {
        for (Revisit& r : m_revisits) {
            const WarcCapture* original = nullptr;
            if (auto it = m_byUriDate.find(WarcUrlKey(r.refersUri) + " " + r.refersDate); it != m_byUriDate.end())
                original = &it->second;
            else if (auto d = m_byDigest.find(r.digest); !r.digest.empty() && d != m_byDigest.end())
                original = &d->second;
            if (!original) {
                m_archive.Problem(0, "revisit of " + r.own.url.substr(0, 200) + " refers to no response in the archive");
                continue;
            }
            WarcCapture resolved = *original;
            resolved.url = r.own.url;
            resolved.date = r.own.date;
            Keep(std::move(resolved));
        }
    }

    // After a damaged record: on to the next place a record starts.
    bool Resync() {
        if (m_stream.Damaged()) return m_stream.RecoverAtNextMember();
        m_stream.Consume(1);
        for (;;) {
            const std::string_view b = m_stream.Peek(64 * 1024);
            if (b.size() < 8) return false;
            for (size_t i = 0; i + 7 < b.size(); ++i) {
                if ((i == 0 || b[i - 1] == '\n') && b.compare(i, 7, "WARC/1.") == 0) {
                    m_stream.Consume(i);
                    return true;
                }
            }
            m_stream.Consume(b.size() - 7);
        }
    }

    WarcArchive& m_archive;
    WarcStream m_stream;
    std::vector<Revisit> m_revisits;
    std::unordered_map<std::string, WarcCapture> m_byDigest, m_byUriDate;
};

void WarcArchive::Problem(uint64_t at, const std::string& what) {
    ++m_problemCount;
    if (m_problems.size() < kWarcMaxProblems) m_problems.push_back("at byte " + std::to_string(at) + ": " + what);
}

bool WarcArchive::Read(std::shared_ptr<WarcBytes> bytes) {
    m_bytes = std::move(bytes);
    m_index.clear();
    m_records = 0;
    char magic[2] = {};
    m_gzip = m_bytes->ReadAt(0, magic, 2) == 2 && static_cast<unsigned char>(magic[0]) == 0x1f &&
             static_cast<unsigned char>(magic[1]) == 0x8b;
    WarcScan scan(*this);
    scan.Run();
    if (m_records == 0 && m_problems.empty()) Problem(0, "no WARC record in the file");
    return m_records > 0;
}

const WarcCapture* WarcArchive::Find(std::string_view url) const {
    const auto found = m_index.find(WarcUrlKey(url));
    return found == m_index.end() ? nullptr : &found->second;
}

int WarcArchive::ReadPayload(const WarcCapture& capture, const std::function<bool(const char*, size_t)>& sink,
                             const std::function<bool()>& stop, std::string* why) const {
    PayloadDecoder decoder;
    if (!decoder.Begin(capture.transferEncoding, capture.contentEncoding, why)) return 0;
    WarcStream stream(*m_bytes, m_gzip, capture.payload);
    uint64_t left = capture.payloadLength;
    while (left > 0) {
        if (stop && stop()) return -1;
        const std::string_view piece = stream.Peek(static_cast<size_t>(std::min<uint64_t>(left, 64 * 1024)));
        if (piece.empty()) {
            if (why) *why = "the archive's data ends inside this payload";
            return 0;
        }
        const int fed = decoder.Feed(piece.data(), piece.size(), sink);
        if (fed != 1) {
            if (fed == 0 && why) *why = decoder.Why();
            return fed;
        }
        left -= piece.size();
        stream.Consume(piece.size());
    }
    if (decoder.Finish() != 1) {
        if (why) *why = decoder.Why();
        return 0;
    }
    return 1;
}

}  // namespace records
