// What a save's start input must allow before anything is fetched.
#pragma once

#include <string>

namespace engine {

class SaveJob;

enum StartCheck : int {
    StartBadInput = 0,     // the save path names a folder, a path of the save is longer than the
                           // file system allows, or the URL or path holds a character the record
                           // files cannot hold
    StartReady = 1,
    StartCannotWrite = 2,  // the save folder cannot be made or written (the message says which and why)
};

// A StartCheck; anything but StartReady comes with a message for the user that says what is
// wrong. Creates the save folder, and nothing when it fails.
[[nodiscard]] int CheckSaveStart(const SaveJob& job, std::string& message);

}  // namespace engine
