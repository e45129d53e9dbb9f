#include "records/WarcRecord.h"

#include <chrono>
#include <cstdio>

namespace records {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// The head's lines without their line ends; the empty line that ends it is not among them.
std::vector<std::string_view> HeadLines(std::string_view head) {
    std::vector<std::string_view> lines;
    size_t at = 0;
    while (at < head.size()) {
        size_t end = head.find('\n', at);
        if (end == std::string_view::npos) end = head.size();
        std::string_view line = head.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        at = end + 1;
        if (line.empty()) break;
        lines.push_back(line);
    }
    return lines;
}

struct Civil {
    int year, month, day, hour, minute, second;
};

Civil CivilOf(int64_t unixSeconds) {
    using namespace std::chrono;
    const sys_seconds when{seconds(unixSeconds)};
    const sys_days day = floor<days>(when);
    const year_month_day ymd(day);
    const hh_mm_ss<seconds> time(when - day);
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count())};
}

}  // namespace

std::string WarcHeader(const WarcFields& fields, uint64_t blockLength) {
    std::string text = "WARC/1.1\r\n";
    for (const auto& [name, value] : fields) text += name + ": " + value + "\r\n";
    text += "Content-Length: " + std::to_string(blockLength) + "\r\n\r\n";
    return text;
}

std::string WarcDate(int64_t unixSeconds) {
    const Civil c = CivilOf(unixSeconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", c.year, c.month, c.day, c.hour, c.minute, c.second);
    return text;
}

std::string WarcTimestamp(int64_t unixSeconds) {
    const Civil c = CivilOf(unixSeconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", c.year, c.month, c.day, c.hour, c.minute, c.second);
    return text;
}

std::string Base32(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    std::string text;
    uint32_t buffer = 0;
    int bits = 0;
    for (unsigned char byte : bytes) {
        buffer = (buffer << 8) | byte;
        bits += 8;
        while (bits >= 5) {
            text += kAlphabet[(buffer >> (bits - 5)) & 31];
            bits -= 5;
        }
    }
    if (bits > 0) text += kAlphabet[(buffer << (5 - bits)) & 31];
    while (text.size() % 8 != 0) text += '=';
    return text;
}

std::string WarcRecordId(std::string_view random16) {
    unsigned char b[16] = {};
    for (size_t i = 0; i < 16 && i < random16.size(); ++i) b[i] = static_cast<unsigned char>(random16[i]);
    b[6] = static_cast<unsigned char>((b[6] & 0x0f) | 0x40);  // version 4: random
    b[8] = static_cast<unsigned char>((b[8] & 0x3f) | 0x80);
    char text[64];
    std::snprintf(text, sizeof text,
                  "<urn:uuid:%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x>", b[0], b[1], b[2],
                  b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

std::string StoredHttpHead(std::string_view head, uint64_t payloadLength, bool decoded) {
    const std::vector<std::string_view> lines = HeadLines(head);
    std::string out;
    bool changed = false;
    bool lengthSaid = false;
    std::string lengthValue;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const size_t colon = line.find(':');
        if (i == 0 || colon == std::string_view::npos) {
            out += std::string(line) + "\r\n";
            continue;
        }
        const std::string_view name = Trim(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        const bool encoding = EqualsNoCase(name, "content-encoding") && decoded;
        const bool transfer = EqualsNoCase(name, "transfer-encoding");
        if (encoding || transfer) {
            out += "X-Archive-Orig-" + std::string(name) + ": " + std::string(value) + "\r\n";
            changed = true;
        } else if (EqualsNoCase(name, "content-length")) {
            lengthSaid = true;
            lengthValue = std::string(value);
        } else {
            out += std::string(line) + "\r\n";
        }
    }
    const std::string stored = std::to_string(payloadLength);
    // A head that already describes the payload is stored byte for byte as it came.
    if (!changed && (!lengthSaid || lengthValue == stored)) return std::string(head);
    if (lengthSaid && lengthValue != stored) out += "X-Archive-Orig-Content-Length: " + lengthValue + "\r\n";
    if (lengthSaid || changed) out += "Content-Length: " + stored + "\r\n";
    return out + "\r\n";
}

std::string HeaderValue(std::string_view head, std::string_view name) {
    const std::vector<std::string_view> lines = HeadLines(head);
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t colon = lines[i].find(':');
        if (colon != std::string_view::npos && EqualsNoCase(Trim(lines[i].substr(0, colon)), name))
            return std::string(Trim(lines[i].substr(colon + 1)));
    }
    return {};
}

std::string MediaType(std::string_view contentType) {
    std::string type(Trim(contentType.substr(0, contentType.find(';'))));
    for (char& c : type) c = Lower(c);
    return type;
}

}  // namespace records
