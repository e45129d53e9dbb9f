#include "platform/Clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace platform {

namespace {

std::tm LocalTm(std::time_t t) {
    std::tm tm {};
    localtime_r(&t, &tm);
    return tm;
}

std::string DateOf(const std::tm& tm) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%02d/%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

std::string TimeOf(const std::tm& tm) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

}  // namespace

uint64_t TickCount() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string LocalDateText() { return DateOf(LocalTm(std::time(nullptr))); }

std::string LocalTimeText() { return TimeOf(LocalTm(std::time(nullptr))); }

std::string LocalDateTimeText(int64_t epochSeconds) {
    std::tm tm = LocalTm(static_cast<std::time_t>(epochSeconds));
    return DateOf(tm) + " " + TimeOf(tm);
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace platform
