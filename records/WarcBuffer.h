// Bytes of one record on their way into the WARC file: held in memory while small, in a
// nameless scratch file beyond that, so that a large download does not fill the memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/SpoolFile.h"

namespace records {

class WarcBuffer {
public:
    // `spoolStem`: where the scratch file may be made (a path and the start of a name).
    explicit WarcBuffer(std::string spoolStem, size_t memoryLimit = 8u << 20)
        : m_stem(std::move(spoolStem)), m_limit(memoryLimit) {}

    // False when the bytes could not be kept (no scratch file could be made or written).
    [[nodiscard]] bool Add(std::string_view bytes);
    uint64_t Size() const { return m_size; }
    // Hands the bytes over in pieces, in order; false when a piece could not be read or
    // `take` refused one.
    [[nodiscard]] bool ForEach(const std::function<bool(std::string_view)>& take) const;

private:
    std::string m_stem;
    size_t m_limit;
    std::string m_memory;
    platform::SpoolFile m_spool;
    uint64_t m_size = 0;
};

}  // namespace records
