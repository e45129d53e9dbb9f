#include "records/WarcWriter.h"

#include <charconv>
#include <chrono>

#include "platform/GzipMember.h"
#include "platform/StreamDigest.h"
#include "records/WarcRecord.h"

namespace records {

namespace {

constexpr const char* kNotModifiedProfile = "http://netpreserve.org/warc/1.1/revisit/server-not-modified";

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string Sha1Label(const std::string& raw) { return raw.empty() ? std::string() : "sha1:" + Base32(raw); }

// The SHA-1 of `head` followed by the buffer's bytes ("" when the buffer cannot be read).
std::string DigestOf(std::string_view head, const WarcBuffer* body) {
    platform::StreamDigest digest;
    digest.Add(head);
    if (body && !body->ForEach([&](std::string_view piece) {
            digest.Add(piece);
            return true;
        }))
        return {};
    return Sha1Label(digest.Finish());
}

// One gzip member holding the WARC header, the block (head and body) and the two line ends
// that close a record, into `member`.
bool PackRecord(const std::string& header, std::string_view head, const WarcBuffer* body, WarcBuffer& member) {
    platform::GzipMember gzip;
    std::string out;
    auto flush = [&] {
        const bool kept = member.Add(out);
        out.clear();
        return kept;
    };
    if (!gzip.Add(header, out) || !gzip.Add(head, out) || !flush()) return false;
    if (body && !body->ForEach([&](std::string_view piece) { return gzip.Add(piece, out) && flush(); })) return false;
    return gzip.Add("\r\n\r\n", out) && gzip.Finish(out) && flush();
}

class ExchangeRecorder : public platform::HttpExchangeRecorder {
public:
    ExchangeRecorder(std::shared_ptr<WarcWriter> writer, platform::HttpExchangeHead head)
        : m_writer(std::move(writer)), m_head(std::move(head)), m_when(Now()), m_payload(m_writer->SpoolStem()) {}

    void Body(std::string_view bytes) override {
        try {
            if (!m_payloadLost && !m_payload.Add(bytes)) m_payloadLost = true;
        } catch (...) {
            m_payloadLost = true;  // out of memory: the record says its payload is cut short
        }
    }

    void End(bool complete) override {
        try {
            Write(complete && !m_payloadLost);
        } catch (...) {
            // Out of memory: the exchange goes unrecorded, the save goes on.
        }
    }

private:
    // Whether the stored payload is all the server sent: a body the client did not take
    // (that of a redirect it followed) is shorter than the length the head states.
    bool Whole(bool complete) const {
        if (!complete) return false;
        if (m_head.contentDecoded) return true;
        const std::string said = HeaderValue(m_head.responseHead, "content-length");
        uint64_t length = 0;
        const auto [end, ec] = std::from_chars(said.data(), said.data() + said.size(), length);
        return said.empty() || ec != std::errc() || end != said.data() + said.size() || m_payload.Size() >= length;
    }

    void Write(bool complete) {
        complete = Whole(complete);
        const bool revisit = m_head.status == 304 && m_head.conditional;
        const std::string responseId = m_writer->NewRecordId();
        const std::string requestId = m_writer->NewRecordId();
        const std::string date = WarcDate(m_when);
        const std::string head =
            revisit ? m_head.responseHead : StoredHttpHead(m_head.responseHead, m_payload.Size(), m_head.contentDecoded);
        const WarcBuffer* body = revisit ? nullptr : &m_payload;

        WarcFields fields = {{"WARC-Type", revisit ? "revisit" : "response"},
                             {"WARC-Record-ID", responseId},
                             {"WARC-Date", date},
                             {"WARC-Target-URI", m_head.url},
                             {"WARC-Concurrent-To", requestId},
                             {"Content-Type", "application/http; msgtype=response"}};
        std::string payloadDigest;
        if (revisit) {
            fields.emplace_back("WARC-Profile", kNotModifiedProfile);
        } else {
            payloadDigest = DigestOf({}, &m_payload);
            if (!payloadDigest.empty()) fields.emplace_back("WARC-Payload-Digest", payloadDigest);
        }
        const std::string blockDigest = DigestOf(head, body);
        if (!blockDigest.empty()) fields.emplace_back("WARC-Block-Digest", blockDigest);
        if (!complete && !revisit) fields.emplace_back("WARC-Truncated", "unspecified");
        const uint64_t blockLength = head.size() + (body ? body->Size() : 0);

        WarcBuffer response(m_writer->SpoolStem());
        if (!PackRecord(WarcHeader(fields, blockLength), head, body, response)) return;

        const WarcFields requestFields = {{"WARC-Type", "request"},
                                          {"WARC-Record-ID", requestId},
                                          {"WARC-Date", date},
                                          {"WARC-Target-URI", m_head.url},
                                          {"WARC-Concurrent-To", responseId},
                                          {"Content-Type", "application/http; msgtype=request"},
                                          {"WARC-Block-Digest", DigestOf(m_head.requestHead, nullptr)}};
        WarcBuffer request(m_writer->SpoolStem());
        if (!PackRecord(WarcHeader(requestFields, m_head.requestHead.size()), m_head.requestHead, nullptr, request))
            return;
        std::string requestMember;
        if (!request.ForEach([&](std::string_view piece) {
                requestMember.append(piece);
                return true;
            }))
            return;

        WrittenCapture capture;
        capture.url = m_head.url;
        capture.timestamp = WarcTimestamp(m_when);
        capture.mime = revisit ? "warc/revisit" : MediaType(HeaderValue(m_head.responseHead, "content-type"));
        capture.status = m_head.status;
        capture.digest = revisit ? std::string("-") : payloadDigest;
        (void)m_writer->AppendExchange(requestMember, response, std::move(capture));  // a loss is counted there
    }

    std::shared_ptr<WarcWriter> m_writer;
    platform::HttpExchangeHead m_head;
    int64_t m_when;
    WarcBuffer m_payload;
    bool m_payloadLost = false;
};

}  // namespace

int WarcWriter::Open(const std::string& path, const std::string& software, const std::string& description) {
    std::lock_guard<std::mutex> guard(m_lock);
    const int created = m_file.Create(path);
    if (created == platform::AppendFile::NameTaken) return WarcNameTaken;
    if (created != platform::AppendFile::Opened) return WarcOpenFailed;
    m_path = path;
    const std::string info = "software: " + software + "\r\nformat: WARC File Format 1.1\r\n" +
                             "description: " + description + "\r\n";
    std::string random(16, '\0');
    for (char& c : random) c = static_cast<char>(m_random());
    const size_t slash = path.rfind('/');
    const WarcFields fields = {{"WARC-Type", "warcinfo"},
                               {"WARC-Record-ID", WarcRecordId(random)},
                               {"WARC-Date", WarcDate(Now())},
                               {"WARC-Filename", slash == std::string::npos ? path : path.substr(slash + 1)},
                               {"Content-Type", "application/warc-fields"},
                               {"WARC-Block-Digest", DigestOf(info, nullptr)}};
    WarcBuffer member(path + ".spool");
    std::string bytes;
    if (!PackRecord(WarcHeader(fields, info.size()), info, nullptr, member) ||
        !member.ForEach([&](std::string_view piece) {
            bytes.append(piece);
            return true;
        }) ||
        !m_file.Append(bytes)) {
        m_file.Close();
        return WarcOpenFailed;
    }
    return WarcOpened;
}

std::unique_ptr<platform::HttpExchangeRecorder> WarcWriter::Begin(const platform::HttpExchangeHead& head) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_closed || !m_file.IsOpen()) return nullptr;
    }
    try {
        return std::make_unique<ExchangeRecorder>(shared_from_this(), head);
    } catch (...) {
        return nullptr;
    }
}

std::string WarcWriter::NewRecordId() {
    std::string random(16, '\0');
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (char& c : random) c = static_cast<char>(m_random());
    }
    return WarcRecordId(random);
}

std::string WarcWriter::SpoolStem() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_path + ".spool";
}

bool WarcWriter::AppendExchange(const std::string& request, const WarcBuffer& response, WrittenCapture capture) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_closed || !m_file.IsOpen()) return false;
    const uint64_t start = m_file.Size();
    bool written = m_file.AppendPart(request);
    capture.offset = m_file.Size();
    written = written && response.ForEach([&](std::string_view piece) { return m_file.AppendPart(piece); });
    if (!written) {
        m_file.Abandon(start);
        ++m_lost;
        return false;
    }
    capture.length = m_file.Size() - capture.offset;
    m_captures.push_back(std::move(capture));
    return true;
}

void WarcWriter::Close() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_closed = true;
    m_file.Close();
}

std::string WarcWriter::Path() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_path;
}

std::vector<WrittenCapture> WarcWriter::Captures() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_captures;
}

int WarcWriter::Lost() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lost;
}

}  // namespace records
