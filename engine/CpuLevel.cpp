#include "engine/CpuLevel.h"

#include <cmath>

namespace engine {

uint32_t SleepForLevel(int level) {
    if (level < 0) level = 0;
    if (level > 100) level = 100;
    const double e = level * (-1.0 / 30.0) + 10.0 / 3.0;
    // A tiny bias keeps exact powers of ten (L 40 → 99 ms) from landing just below.
    return static_cast<uint32_t>(std::pow(10.0, e) - 1.0 + 1e-9);
}

int LevelForSleep(uint32_t sleepMs) {
    const double q = std::log(static_cast<double>(sleepMs) + 1.0) / std::log(10.0);
    return static_cast<int>(100.0 - 30.0 * q + 1e-9);
}

std::string LevelName(uint32_t sleepMs) {
    const int level = LevelForSleep(sleepMs);
    if (level >= 100) return "最大";
    if (level >= 80) return "最適";
    if (level >= 40) return "軽い";
    return "最小";
}

uint32_t SleepForCommandLevel(int commandLevel) {
    switch (commandLevel) {
    case 1: return SleepForLevel(10);
    case 2: return SleepForLevel(40);
    case 3: return SleepForLevel(80);
    case 4: return SleepForLevel(100);
    default: return 0;
    }
}

}  // namespace engine
