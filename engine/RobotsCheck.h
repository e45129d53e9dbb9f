// Whether the save may fetch a URL by its host's robots.txt, read once per host per save on
// the worker thread.
#pragma once

#include <string>
#include <vector>

namespace engine {

class SaveJob;

// True when the save may fetch `url`: the save ignores robots.txt, the URL is not HTTP(S),
// the host has no robots.txt (4xx) or it could not be read (5xx, no answer: logged), or its
// rules for us allow the URL. The first question about a host reads its robots.txt, logs a
// file that could be read only in part and the host's Crawl-delay, and hands the delay to
// the run's pacer. Worker thread only.
[[nodiscard]] bool RobotsAllowUrl(SaveJob& job, const std::string& url);

// As RobotsAllowUrl for a link the walk found; a forbidden one is logged once per save with
// the reason it is not fetched.
[[nodiscard]] bool RobotsAllowLink(SaveJob& job, const std::string& url);

// The sitemaps the robots.txt of `url`'s host names, as written. A save that ignores
// robots.txt reads the file for them alone: its rules and Crawl-delay stay unused. Worker
// thread only.
std::vector<std::string> RobotsSitemaps(SaveJob& job, const std::string& url);

}  // namespace engine
