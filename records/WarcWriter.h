// The WARC file of a save: a warcinfo record, then a request and a response record (a
// revisit record for a 304 to a conditional request) for every HTTP exchange of the save, as
// the exchanges end. Each record is one gzip member, appended whole under one lock that the
// save's threads share, so a killed save leaves a file that is whole up to its last record.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "platform/AppendFile.h"
#include "platform/HttpExchange.h"
#include "records/WarcBuffer.h"

namespace records {

// One response or revisit record, for the index.
struct WrittenCapture {
    std::string url;
    std::string timestamp;  // 14 digits, UTC
    std::string mime;       // "warc/revisit" for a revisit
    long status = 0;
    std::string digest;     // "sha1:" and the payload's base32 digest
    uint64_t offset = 0;    // of the record's gzip member in the file
    uint64_t length = 0;    // of the member
};

class WarcWriter : public platform::HttpExchangeObserver, public std::enable_shared_from_this<WarcWriter> {
public:
    WarcWriter() = default;

    enum OpenResult : int { WarcOpened = 1, WarcOpenFailed = 0, WarcNameTaken = -2 };
    // Creates the file (never over an existing one) and writes its warcinfo record.
    [[nodiscard]] int Open(const std::string& path, const std::string& software, const std::string& description);

    // Any thread (the transfer's): the exchange's records are written when it ends.
    std::unique_ptr<platform::HttpExchangeRecorder> Begin(const platform::HttpExchangeHead& head) override;

    // No record is written after this; exchanges still under way are dropped.
    void Close();
    std::string Path() const;
    std::vector<WrittenCapture> Captures() const;
    // Records that could not be written (a full disk); the file holds every other one.
    int Lost() const;

    // Used by the exchanges: a fresh record identifier, and the append of an exchange's two
    // members, request first. False when they could not be written (nothing of them stays).
    std::string NewRecordId();
    [[nodiscard]] bool AppendExchange(const std::string& request, const WarcBuffer& response, WrittenCapture capture);
    // Where an exchange may keep what outgrows memory.
    std::string SpoolStem() const;

private:
    mutable std::mutex m_lock;
    platform::AppendFile m_file;
    std::string m_path;
    std::vector<WrittenCapture> m_captures;
    int m_lost = 0;
    bool m_closed = false;
    std::mt19937_64 m_random{std::random_device{}()};
};

}  // namespace records
