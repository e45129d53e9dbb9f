// Files a save reads about a host rather than saves (robots.txt, sitemaps): fetched with our
// robots product token, in the host's turn, through the save's session.
#pragma once

#include <cstddef>
#include <string>

#include "platform/HttpClient.h"

namespace engine {

class SaveJob;

// Fetches `url` into `bytes`, cut at `maxBytes`, keeping the save's interval to the host.
// Uses the job's session, or a session of its own when the job has none. Worker thread only.
platform::HttpResponse FetchHostFile(SaveJob& job, const std::string& url, size_t maxBytes, std::string& bytes);

}  // namespace engine
