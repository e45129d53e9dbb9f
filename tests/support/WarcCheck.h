// A reader of the WARC files the save writes, of the tests' own (zlib's inflate and the record
// layout, none of the writer's code), and the outside reader (warcio from npm) when one is
// installed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

struct WarcTestRecord {
    uint64_t offset = 0, length = 0;  // of its gzip member in the file
    std::map<std::string, std::string> fields;
    std::string block;
    std::string problem;  // "" for a well-formed record whose digests hold

    std::string Field(const std::string& name) const;
    std::string Type() const { return Field("WARC-Type"); }
    std::string Url() const { return Field("WARC-Target-URI"); }
    // The HTTP head of the block (ending with the empty line), its payload and status.
    std::string Head() const;
    std::string Payload() const;
    int Status() const;
};

// Each gzip member of the file as one record. A member cut off by the end of the bytes sets
// `torn` and ends the list; without `torn`, it is a problem of a last record of its own.
std::vector<WarcTestRecord> ReadWarcRecords(const std::string& bytes, bool* torn = nullptr);

// "sha1:" and the base32 SHA-1 of the bytes (the WARC digest form), and the plain hex form.
std::string WarcSha1(const std::string& bytes);
std::string HexSha1(const std::string& bytes);

// The warcio command of npm: $SITROVA_WARCIO, else bench/warcio/node_modules/.bin/warcio of
// this tree (bench/warcio-check.sh installs it there), else one on PATH; "" when none.
std::string WarcioProgram();

}  // namespace testsupport
