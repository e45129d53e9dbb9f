// Small helpers of the tests that run a complete save against the loopback server.
#pragma once

#include <algorithm>
#include <string>

#include "engine/SaveJob.h"

namespace testsupport {

// A page with a title and `body`.
inline std::string Page(const std::string& body) {
    return "<html><head><title>t</title></head><body>" + body + "</body></html>";
}

// How many lines of the job's detailed log hold `part`.
inline int LinesWith(const engine::SaveJob& job, const std::string& part) {
    const auto log = job.DetailedLog();
    return static_cast<int>(
        std::count_if(log.begin(), log.end(), [&](const std::string& line) { return line.find(part) != std::string::npos; }));
}

inline bool LogHasPart(const engine::SaveJob& job, const std::string& part) { return LinesWith(job, part) > 0; }

}  // namespace testsupport
