#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/InstanceBlock.h"

using platform::InstanceBlock;

namespace {

std::string UniqueName(const char* tag) { return std::string(tag) + "-" + std::to_string(::getpid()) + ".qdx"; }

}  // namespace

TEST(InstanceBlock, SecondRegistrationAsksTheFirstToComeToFront) {
    const std::string name = UniqueName("front");
    InstanceBlock first;
    ASSERT_EQ(first.CreateAndRegister(name), InstanceBlock::Registered);
    EXPECT_EQ(InstanceBlock::LookUp(name), static_cast<uint32_t>(::getpid()));
    EXPECT_FALSE(first.TakeFrontRequest());

    // Another process registering the same name hands over and leaves.
    pid_t child = ::fork();
    if (child == 0) {
        InstanceBlock second;
        ::_exit(second.CreateAndRegister(name) == InstanceBlock::OwnedElsewhere ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(first.TakeFrontRequest());
    EXPECT_FALSE(first.TakeFrontRequest());
}

TEST(InstanceBlock, NameIsFreeAgainAfterRelease) {
    const std::string name = UniqueName("free");
    {
        InstanceBlock block;
        ASSERT_EQ(block.CreateAndRegister(name), InstanceBlock::Registered);
    }
    EXPECT_EQ(InstanceBlock::LookUp(name), 0u);
    EXPECT_FALSE(InstanceBlock::RequestFront(name));
}

TEST(InstanceBlock, BlockOfADeadProcessIsTakenOver) {
    const std::string name = UniqueName("stale");
    pid_t child = ::fork();
    if (child == 0) {
        auto* leaked = new InstanceBlock;  // dies without releasing, like a crash
        ::_exit(leaked->CreateAndRegister(name) == InstanceBlock::Registered ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(InstanceBlock::LookUp(name), 0u);
    InstanceBlock mine;
    EXPECT_EQ(mine.CreateAndRegister(name), InstanceBlock::Registered);
}

TEST(InstanceBlock, RecordsOfOneNameInDifferentFoldersAreSeparateInstances) {
    const std::string tag = std::to_string(::getpid());
    const std::string names[] = {"/saves/one/site.qdx" + tag, "/saves/two/site.qdx" + tag,
                                 "/saves/a/b_c/site.qdx" + tag, "/saves/a_b/c/site.qdx" + tag,
                                 "/" + std::string(300, 'x') + "/1/site.qdx" + tag,
                                 "/" + std::string(300, 'x') + "/2/site.qdx" + tag};
    InstanceBlock blocks[6];
    for (int i = 0; i < 6; ++i) ASSERT_EQ(blocks[i].CreateAndRegister(names[i]), InstanceBlock::Registered) << names[i];
    for (const std::string& name : names) EXPECT_EQ(InstanceBlock::LookUp(name), static_cast<uint32_t>(::getpid()));
}
