// Play lists found in a page are announced in the log; their media are not fetched.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

class SaveHost;
class SaveJob;

// Worker thread. The engine does not use the result.
int HandlePlayList(SaveHost& host, SaveJob& job, const std::string& url, const std::string& path, int32_t level);

}  // namespace engine
