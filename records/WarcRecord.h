// The pieces of a WARC record (ISO 28500, version 1.1) that the writer puts together: its
// named fields, its identifiers and dates, its digests, and an HTTP head made to describe
// the payload that is stored with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace records {

using WarcFields = std::vector<std::pair<std::string, std::string>>;

// "WARC/1.1", the fields, Content-Length of the block and the empty line.
std::string WarcHeader(const WarcFields& fields, uint64_t blockLength);
// "2026-12-08T07:30:00Z" and "20261208073000" for a Unix time.
std::string WarcDate(int64_t unixSeconds);
std::string WarcTimestamp(int64_t unixSeconds);
// RFC 4648 base32 of raw bytes, without padding for whole groups (a SHA-1 gives 32 letters).
std::string Base32(std::string_view bytes);
// "<urn:uuid:...>" from 16 random bytes.
std::string WarcRecordId(std::string_view random16);

// The response head as it is stored with a payload of `payloadLength` bytes: a chunked
// transfer coding (always undone by the client) and a content encoding the client undid
// (`decoded`) are renamed to X-Archive-Orig-*, and Content-Length states the stored length
// whenever it said something else or a coding was taken away. Lines end in CR LF.
std::string StoredHttpHead(std::string_view head, uint64_t payloadLength, bool decoded);

// The value of the first header of that name in an HTTP head ("" when none).
std::string HeaderValue(std::string_view head, std::string_view name);
// The media type of a Content-Type value, lower case and without its parameters.
std::string MediaType(std::string_view contentType);

}  // namespace records
