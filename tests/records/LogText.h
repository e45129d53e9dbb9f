// Saved-site logs written by hand for the record tests, in the file's own format, so that a
// test can stand for a save made elsewhere (another folder, another system).
#pragma once

#include <string>
#include <vector>

#include "platform/Codepage.h"

namespace recordstest {

struct LogEntry {
    std::string path;
    std::string url;
    int level = 0;
    long long size = 0;
};

struct LogHeader {
    std::string storedFolder;  // line 2, as the saving system wrote it
    std::string saveName;
    std::string urlBase;
    std::string urlLeaf;
    unsigned modeWord = 769;
    int lankLimit = 0;
};

inline std::string LogText(const LogHeader& h, const std::vector<LogEntry>& entries) {
    std::string signature;
    (void)platform::Utf8ToCp932("Sitrova Ver3.30～", signature);
    std::string text = signature + "\r\n" + h.storedFolder + "\r\n" + h.saveName + "\r\n" + h.urlBase + "\r\n" +
                       h.urlLeaf + "\r\n" + std::to_string(h.modeWord) + "\r\n" + std::to_string(h.lankLimit) +
                       "\r\n" + std::to_string(entries.size()) + "\r\n" +
                       "--- Dummy -------------------------------\r\n";
    for (const LogEntry& e : entries)
        text += e.path + "\r\n" + e.url + "\r\n" + std::to_string(e.level) + "\r\n" + std::to_string(e.size) + "\r\n";
    return text;
}

}  // namespace recordstest
