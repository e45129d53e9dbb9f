// The options of one save, as they were chosen before it started. The job freezes them when
// its worker starts: from then on a window or a later step cannot change a save under way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ModeFlags.h"
#include "engine/NamedOptions.h"

namespace engine {

struct SaveOptions {
    // The option and job kind bits of ModeFlags.h, in the word the records and the command
    // line carry; the run state bits are kept apart in the job's progress.
    uint32_t modeFlags = 0;
    int32_t lankLimit = 0;  // never negative
    // The save checks an earlier copy of the same site for updates (found while it is prepared).
    bool updateCheck = false;
    // The URL parts the user chose to follow below the first level (TraceSelect).
    std::vector<std::string> traceSelection;
    NamedOptions named;

    bool Has(uint32_t bits) const { return (modeFlags & bits) != 0; }
};

}  // namespace engine
