// Answers to a save's requests from somewhere other than the network: a web archive that
// holds the site's pages. A session whose settings carry one asks it instead of libcurl, so
// the save, its fetch-ahead threads and its robots check read the same answers.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace platform {

struct HttpRequest;
struct HttpResponse;

class ReplaySource {
public:
    virtual ~ReplaySource() = default;
    // As HttpSession::FetchStreaming: `bodyStart` (may be empty) once before the first body
    // byte of a 2xx answer, then the body to `sink`. Runs on the save's worker and its
    // fetch-ahead threads at once.
    virtual HttpResponse Answer(const HttpRequest& request, const std::function<bool(bool rangeHonoured)>& bodyStart,
                                const std::function<bool(const char*, size_t)>& sink) = 0;
    // What of the source could not be read, for the user ("" when all of it was sound).
    virtual std::string DamageNote() const { return {}; }
};

}  // namespace platform
