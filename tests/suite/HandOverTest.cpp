// The hand-over of a registration through named shared memory.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <future>
#include <thread>

#include "platform/InstanceBlock.h"
#include "suite/HandOver.h"

using namespace suite;

namespace {

std::string UniqueName(const char* what) { return std::string("suite-test-") + what + "-" + std::to_string(::getpid()); }

}  // namespace

TEST(HandOver, RegistrationReachesTheRunningInstance) {
    const std::string instance = UniqueName("instance"), map = UniqueName("map");
    const Registration sent{"FILE", "http://h/a b'.jpg", "/s/a.jpg"};
    EXPECT_EQ(SendHandOver(sent, 200, instance, map), HandOverNobody);

    platform::InstanceBlock block;
    ASSERT_EQ(block.CreateAndRegister(instance), platform::InstanceBlock::Registered);
    HandOverReceiver receiver(map);
    auto sender = std::async(std::launch::async, [&] { return SendHandOver(sent, 10000, instance, map); });
    Registration got;
    for (int i = 0; i < 1000 && !receiver.Take(got); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(got.kind, sent.kind);
    EXPECT_EQ(got.first, sent.first);
    EXPECT_EQ(got.second, sent.second);
    receiver.FinishHandOver();
    EXPECT_EQ(sender.get(), HandOverDone);

    // Nobody takes it: the sender withdraws and says so, and a late receiver finds nothing.
    EXPECT_EQ(SendHandOver(sent, 100, instance, map), HandOverFailed);
    EXPECT_FALSE(receiver.Take(got));
}

TEST(HandOver, MapWithLengthsBeyondItsSizeIsRefused) {
    const std::string map = UniqueName("hostile");
    const std::string shm = "/sitrova." + map;
    int fd = ::shm_open(shm.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 64), 0);
    void* view = ::mmap(nullptr, 64, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    ASSERT_NE(view, MAP_FAILED);
    const uint32_t lengths[3] = {4, 0x7fffffff, 1};
    std::memcpy(view, lengths, sizeof lengths);
    const uint32_t control[2] = {1, static_cast<uint32_t>(::getpid())};  // ready, from us
    std::memcpy(static_cast<char*>(view) + 56, control, sizeof control);
    HandOverReceiver receiver(map);
    Registration got;
    EXPECT_FALSE(receiver.Take(got));
    ::munmap(view, 64);
    ::shm_unlink(shm.c_str());
}
