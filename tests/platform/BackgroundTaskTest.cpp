// The background-task helper: stop reaches the work, a new start waits for the work before
// it, and the running flag follows the work.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/BackgroundTask.h"

using namespace std::chrono_literals;

namespace {

// Work that waits until it is told to stop, counting its ends.
platform::BackgroundTask::Work WaitForStop(std::atomic<int>& ends) {
    return [&ends](std::stop_token stop) {
        std::mutex lock;
        std::condition_variable_any never;
        std::unique_lock hold(lock);
        never.wait_for(hold, stop, 30s, [] { return false; });
        ++ends;
    };
}

}  // namespace

TEST(BackgroundTask, StopReachesTheWorkAndANewStartWaitsForTheOneBefore) {
    std::atomic<int> ends = 0;
    platform::BackgroundTask task;
    EXPECT_FALSE(task.Running());
    task.Wait();  // nothing started: returns at once
    const auto began = std::chrono::steady_clock::now();
    task.Start(WaitForStop(ends));
    EXPECT_TRUE(task.Running());
    task.Start(WaitForStop(ends));  // the first work is stopped and has ended before the second begins
    EXPECT_EQ(ends.load(), 1);
    EXPECT_TRUE(task.Running());
    task.StopAndWait();
    EXPECT_EQ(ends.load(), 2);
    EXPECT_FALSE(task.Running());
    EXPECT_LT(std::chrono::steady_clock::now() - began, 5s);

    std::atomic<bool> ran = false;
    task.Start([&ran](std::stop_token) { ran = true; });
    task.Wait();
    EXPECT_TRUE(ran.load());
    EXPECT_FALSE(task.Running());
}

TEST(BackgroundTask, DestroyingTheTaskStopsItsWork) {
    std::atomic<int> ends = 0;
    {
        platform::BackgroundTask task;
        task.Start(WaitForStop(ends));
    }
    EXPECT_EQ(ends.load(), 1);
}
