#include "tests/support/WarcCheck.h"

#include <openssl/evp.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>

namespace testsupport {

namespace {

std::string RawSha1(const std::string& bytes) {
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), sum, &length, EVP_sha1(), nullptr);
    return std::string(reinterpret_cast<const char*>(sum), length);
}

// The record's fields and block from the text of one gzip member; digests checked.
WarcTestRecord ParseRecord(const std::string& text) {
    WarcTestRecord r;
    const size_t end = text.find("\r\n\r\n");
    if (text.rfind("WARC/1.1\r\n", 0) != 0 || end == std::string::npos) {
        r.problem = "no WARC header";
        return r;
    }
    for (size_t at = 10; at < end + 2;) {
        const size_t eol = text.find("\r\n", at);
        const std::string line = text.substr(at, eol - at);
        const size_t colon = line.find(": ");
        if (colon == std::string::npos) r.problem = "bad field " + line;
        else r.fields[line.substr(0, colon)] = line.substr(colon + 2);
        at = eol + 2;
    }
    const uint64_t length = std::strtoull(r.Field("Content-Length").c_str(), nullptr, 10);
    if (text.size() != end + 4 + length + 4 || text.compare(text.size() - 4, 4, "\r\n\r\n") != 0) {
        r.problem = "block length";
        return r;
    }
    r.block = text.substr(end + 4, length);
    if (r.Field("WARC-Block-Digest") != WarcSha1(r.block)) r.problem = "block digest";
    if (r.Type() == "response") {
        if (r.Field("WARC-Payload-Digest") != WarcSha1(r.Payload())) r.problem = "payload digest";
        // The stored head describes the stored payload.
        const std::string head = r.Head();
        const size_t said = head.find("\r\nContent-Length: ");
        if (said != std::string::npos && std::strtoull(head.c_str() + said + 18, nullptr, 10) != r.Payload().size())
            r.problem = "HTTP Content-Length";
        if (head.find("\r\nTransfer-Encoding:") != std::string::npos) r.problem = "Transfer-Encoding";
    }
    return r;
}

}  // namespace

std::string WarcTestRecord::Field(const std::string& name) const {
    auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second;
}

std::string WarcTestRecord::Head() const { return block.substr(0, block.find("\r\n\r\n") + 4); }

std::string WarcTestRecord::Payload() const {
    const size_t end = block.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : block.substr(end + 4);
}

int WarcTestRecord::Status() const {
    const size_t space = block.find(' ');
    return space == std::string::npos ? 0 : std::atoi(block.c_str() + space + 1);
}

std::vector<WarcTestRecord> ReadWarcRecords(const std::string& bytes, bool* torn) {
    std::vector<WarcTestRecord> records;
    if (torn) *torn = false;
    size_t at = 0;
    while (at < bytes.size()) {
        z_stream z{};
        inflateInit2(&z, 16 + 15);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + at));
        z.avail_in = static_cast<uInt>(bytes.size() - at);
        std::string out;
        int rc = Z_OK;
        char buffer[65536];
        while (rc == Z_OK) {
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            rc = inflate(&z, Z_NO_FLUSH);
            out.append(buffer, sizeof buffer - z.avail_out);
            if (rc == Z_BUF_ERROR && z.avail_in == 0) break;
        }
        const size_t used = z.total_in;
        inflateEnd(&z);
        if (rc != Z_STREAM_END) {
            if (torn) {
                *torn = true;
            } else {
                WarcTestRecord cut;
                cut.offset = at;
                cut.problem = "gzip member does not end";
                records.push_back(std::move(cut));
            }
            break;
        }
        WarcTestRecord r = ParseRecord(out);
        r.offset = at;
        r.length = used;
        records.push_back(std::move(r));
        at += used;
    }
    return records;
}

std::string WarcSha1(const std::string& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    const std::string sum = RawSha1(bytes);
    std::string text;
    for (size_t bit = 0; bit < sum.size() * 8; bit += 5) {
        unsigned value = 0;
        for (size_t k = 0; k < 5; ++k) {
            const size_t b = bit + k;
            value = (value << 1) | (b < sum.size() * 8 ? (static_cast<unsigned char>(sum[b / 8]) >> (7 - b % 8)) & 1 : 0);
        }
        text += alphabet[value];
    }
    return "sha1:" + text;
}

std::string HexSha1(const std::string& bytes) {
    std::string text;
    char two[3];
    for (unsigned char c : RawSha1(bytes)) {
        std::snprintf(two, sizeof two, "%02x", c);
        text += two;
    }
    return text;
}

std::string WarcioProgram() {
    if (const char* given = std::getenv("SITROVA_WARCIO"); given && *given) return given;
    const std::string bench = std::string(SITROVA_TEST_DATA) + "/../../bench/warcio/node_modules/.bin/warcio";
    if (::access(bench.c_str(), X_OK) == 0) return bench;
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "";
    for (size_t from = 0; from <= folders.size();) {
        size_t colon = folders.find(':', from);
        if (colon == std::string::npos) colon = folders.size();
        const std::string candidate = folders.substr(from, colon - from) + "/warcio";
        if (colon > from && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        from = colon + 1;
    }
    return {};
}

}  // namespace testsupport
