// What a save's start input must allow before anything is fetched.
#pragma once

#include <string>

namespace engine {

class SaveJob;

// 1 when the save can start; 0 with a message for the user that says what is wrong: the
// save path names a folder, the save folder cannot be made or written (which one and why),
// a path of the save is longer than the file system allows, or the URL or path holds a
// character the record files cannot hold. Creates the save folder, and nothing when it fails.
[[nodiscard]] int CheckSaveStart(const SaveJob& job, std::string& message);

}  // namespace engine
