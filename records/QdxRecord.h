// The .qdx record file: its reader for the saved-site view, the command line and the drop
// window.
#pragma once

#include <cstdint>
#include <string>

#include "records/SavedSiteLog.h"

namespace records {

enum QdxStatus : int { QdxReadable = 0, QdxUnsupported = 1, QdxCannotOpen = 2, QdxLogError = 3 };

struct QdxRecordReader {
    int status = QdxCannotOpen;
    std::string message;   // for status 1..3, shown in an error box titled "Sitrova" (user's language)
    std::string logPath;   // the saved-site log the record points at
    unsigned long modeWord = 0;
    SavedSiteLogReader log;  // the log's header, when status is 0
};

// What becomes of a record whose saved-site log no longer exists.
enum class StaleRecord {
    Remove,  // deleted, so stale records leave the user's folders
    Keep,    // kept; the message names what is missing (a renamed data folder, say)
};

// Opens the record at `path` and reads the header of its saved-site log. Returns the status.
[[nodiscard]] int OpenQdxRecord(const std::string& path, QdxRecordReader& reader,
                                StaleRecord stale = StaleRecord::Remove);

// True when the record at `path` exists but does not begin with a mode word (an emptied or
// overwritten file, which no window can open); the next save writes it anew.
bool QdxRecordDamaged(const std::string& path);

// Where the log of a record lies: beside it, or in its data folder when the mode word has
// the data-folder bit.
std::string QdxLogPath(const std::string& recordPath, uint32_t modeWord);

}  // namespace records
