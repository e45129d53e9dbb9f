// One save's start as the user or a caller gave it, put into the job the same way for the
// argument line, the input view and the scheduler's job command.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/ModeFlags.h"

namespace engine {

class SaveJob;

// A start URL that ends in "/" names the folder's own page: `indexLeaf` is appended, so that
// the page gets a file name, and the ModeIndexAppended bit is returned so that the fetch asks
// for the folder itself. Any other URL is left as it is and 0 is returned.
[[nodiscard]] inline uint32_t AppendIndexPage(std::string& url, std::string_view indexLeaf = "index.html") {
    if (url.empty() || url.back() != '/') return 0;
    url += indexLeaf;
    return mode::ModeIndexAppended;
}

struct JobInput {
    std::string url;
    std::string savePath;       // empty: the job's save target is left as it is
    uint32_t modeBits = 0;      // option bits added to the job's word
    int32_t lankLimit = 0;
    bool appendIndex = true;    // false: a URL ending in "/" is taken as it is
};

// Sets the start URL (with its root path, and the index page rule), the save target, the
// mode bits and the link limit of `job`.
void FillJob(SaveJob& job, const JobInput& input);

}  // namespace engine
