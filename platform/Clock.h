// Tick count and local date/time texts.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Milliseconds from a fixed point (monotonic); only differences mean anything.
uint64_t TickCount();

// "2026/12/07" and "9:05:03": month and day, minutes and seconds in two digits.
std::string LocalDateText();
std::string LocalTimeText();
// The same two for a given time (seconds since the epoch), joined as "2026/12/07 9:05:03".
std::string LocalDateTimeText(int64_t epochSeconds);

// Sleeps the calling thread.
void SleepMs(uint32_t ms);

}  // namespace platform
