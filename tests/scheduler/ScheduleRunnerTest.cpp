#include "scheduler/ScheduleRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

using scheduler::ScheduleRunner;
using namespace std::chrono_literals;

namespace {

// Records the commands run, and how many ran at once.
struct FakeRuns {
    std::mutex lock;
    std::vector<std::string> done;
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::atomic<bool> hold{false};

    ScheduleRunner::RunCommand Runner() {
        return [this](const std::string& command) {
            most = std::max(most.load(), ++running);
            while (hold) std::this_thread::sleep_for(1ms);
            std::this_thread::sleep_for(5ms);
            --running;
            std::lock_guard<std::mutex> guard(lock);
            done.push_back(command);
        };
    }
    size_t Count() {
        std::lock_guard<std::mutex> guard(lock);
        return done.size();
    }
};

bool WaitFor(const std::function<bool()>& ready) {
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

TEST(ScheduleRunner, RunsEachJobInTurnAndEnds) {
    FakeRuns runs;
    ScheduleRunner runner(runs.Runner());
    EXPECT_EQ(runner.Start({}), 0);
    ASSERT_EQ(runner.Start({"a", "b", "c"}), 1);
    EXPECT_EQ(runner.Start({"d"}), 0);
    ASSERT_TRUE(WaitFor([&] { return runner.Ended(); }));
    EXPECT_EQ(runs.done, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(runs.most.load(), 1);
    EXPECT_EQ(runner.CurrentIndex(), 3);
}

TEST(ScheduleRunner, PauseHoldsTheNextJobUntilResumed) {
    FakeRuns runs;
    runs.hold = true;
    ScheduleRunner runner(runs.Runner());
    ASSERT_EQ(runner.Start({"a", "b"}), 1);
    ASSERT_TRUE(WaitFor([&] { return runs.running.load() == 1; }));
    EXPECT_EQ(runner.Pause(), 0);
    runner.Replace(0, "changed-a");  // the running job keeps its command
    runner.Replace(1, "changed-b");
    runner.Append("c");
    runs.hold = false;
    ASSERT_TRUE(WaitFor([&] { return runs.Count() == 1; }));
    std::this_thread::sleep_for(50ms);
    // The finished run is not even recorded while paused; nothing new starts.
    EXPECT_EQ(runner.CurrentIndex(), 0);
    EXPECT_EQ(runs.running.load(), 0);
    runner.Resume();
    ASSERT_TRUE(WaitFor([&] { return runner.Ended(); }));
    EXPECT_EQ(runs.done, (std::vector<std::string>{"a", "changed-b", "c"}));
}

TEST(ScheduleRunner, ClosingTheWindowLeavesARunningJobAlone) {
    FakeRuns runs;
    runs.hold = true;
    auto runner = std::make_unique<ScheduleRunner>(runs.Runner());
    ASSERT_EQ(runner->Start({"a", "b"}), 1);
    ASSERT_TRUE(WaitFor([&] { return runs.running.load() == 1; }));
    runner.reset();  // returns at once although "a" still runs
    runs.hold = false;
    ASSERT_TRUE(WaitFor([&] { return runs.Count() == 1; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(runs.Count(), 1u);  // "b" is not started for a window that has gone
}

}  // namespace
