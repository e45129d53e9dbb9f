// The .qdx record file: its reader for the saved-site view, the command line and the drop
// window.
#pragma once

#include <string>

namespace records {

enum QdxStatus : int { QdxReadable = 0, QdxUnsupported = 1, QdxCannotOpen = 2, QdxLogError = 3 };

struct QdxRecordReader {
    int status = QdxCannotOpen;
    std::string message;   // for status 1..3, shown in an error box titled "Sitrova"
    std::string logPath;   // the saved-site log the record points at
    unsigned long modeWord = 0;
};

// Opens the record at `path` and reads the header of its saved-site log.
[[nodiscard]] int OpenQdxRecord(const std::string& path, QdxRecordReader& reader);

}  // namespace records
