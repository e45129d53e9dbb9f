// The CPU throttle: an occupancy level L (0..100) is a pause per handled link of
// trunc(10^((100 - L) / 30) - 1) milliseconds.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

uint32_t SleepForLevel(int level);
int LevelForSleep(uint32_t sleepMs);
// "最大", "最適", "軽い" or "最小" for the level that a pause stands for.
std::string LevelName(uint32_t sleepMs);
// Command-line levels 1..4 are L 10, 40, 80 and 100; any other level means no pause.
uint32_t SleepForCommandLevel(int commandLevel);

}  // namespace engine
