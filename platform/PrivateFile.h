// Small files that hold secrets: cookie files and login files the user names for a save. They
// are only read, and one readable by other users is reported so that the user can close it.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

struct PrivateFileReport {
    bool read = false;          // the whole file is in the text
    bool openToOthers = false;  // readable by the file's group or by everyone
    std::string error;          // why it could not be read (English, from the system)
};

// Reads the regular file at `path`, at most `maxBytes` of it (a longer file is not read).
PrivateFileReport ReadPrivateFile(const std::string& path, size_t maxBytes, std::string& text);

}  // namespace platform
