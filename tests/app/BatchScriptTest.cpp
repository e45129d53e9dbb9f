// The batch script against a stand-in SitrovaCui: signals, a killed script, the lock.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "app/BatchTask.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WaitFor.h"

using testsupport::Sandbox;
using testsupport::WaitFor;

namespace {

// Gone, or dead and waiting for its parent to collect it.
bool ProcessGone(long long pid) {
    const std::string stat = Sandbox::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    return stat.empty() || stat.find(") Z ") != std::string::npos;
}

class BatchScript : public ::testing::Test {
protected:
    Sandbox box;
    std::string program = box.Path().substr(0, box.Path().size() - 1);
    std::string bat = app::BatchFolder(program) + "/";
    long long scriptPid = 0;
    std::vector<long long> started;  // processes of ours to end when the test is over

    void SetUp() override {
        for (const char* name : {"a.xml", "b.xml"}) Sandbox::WriteFile(bat + name, "x");
    }
    // `body` ends the stand-in SitrovaCui, which notes each file it is given in ran.txt.
    void StandIn(const std::string& body) {
        Sandbox::WriteFile(program + "/SitrovaCui",
                           "#!/bin/sh\ncd \"$(dirname \"$0\")\"\necho \"$2\" >> ran.txt\n" + body + "\n");
        ::chmod((program + "/SitrovaCui").c_str(), 0755);
    }
    // Starts the batch without waiting and notes the script's process id.
    int Start() {
        const std::string pidFile = box / "script.pid";
        const int result = app::RunBatch(program, false, [&](const std::string&, const std::vector<std::string>& a) {
            return platform::StartProcess("sh", {"-c", "echo $$ > \"$1\"; exec sh \"$0\"", a.at(0), pidFile}, false);
        });
        EXPECT_TRUE(WaitFor([&] { return Sandbox::ReadFile(pidFile).ends_with("\n"); }));
        scriptPid = platform::ParseDecimal(Sandbox::ReadFile(pidFile));
        return result;
    }
    long long PidIn(const std::string& name) {
        EXPECT_TRUE(WaitFor([&] { return Sandbox::ReadFile(box / name).ends_with("\n"); }));
        started.push_back(platform::ParseDecimal(Sandbox::ReadFile(box / name)));
        return started.back();
    }
    // A fresh script file is taken for a script still starting: this one is from a while ago.
    void AgeScript() {
        std::error_code ec;
        std::filesystem::last_write_time(bat + app::kBatchScriptName,
                                         std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1), ec);
        EXPECT_FALSE(ec);
    }
    bool ScriptEnded() {
        return WaitFor([&] { return ::waitpid(static_cast<pid_t>(scriptPid), nullptr, WNOHANG) == scriptPid; });
    }
    void TearDown() override {
        for (long long pid : started)
            if (pid > 0 && !ProcessGone(pid)) ::kill(static_cast<pid_t>(pid), SIGKILL);
        if (scriptPid > 0 && ::waitpid(static_cast<pid_t>(scriptPid), nullptr, WNOHANG) == 0) {
            ::kill(static_cast<pid_t>(scriptPid), SIGKILL);
            ::waitpid(static_cast<pid_t>(scriptPid), nullptr, 0);
        }
    }
};

}  // namespace

TEST_F(BatchScript, CtrlCStopsTheSaveInItsOwnProcessGroupAndKeepsTheJobsQueued) {
    // Like SitrovaCui, the stand-in waits for a save that runs in a process group of its own.
    StandIn("setsid sleep 60 &\necho $! > save.pid\nwait $!");
    ASSERT_EQ(Start(), 2);
    const long long save = PidIn("save.pid");
    ASSERT_EQ(::kill(static_cast<pid_t>(scriptPid), SIGINT), 0);
    EXPECT_TRUE(ScriptEnded());
    EXPECT_TRUE(WaitFor([&] { return ProcessGone(save); }));
    EXPECT_EQ(Sandbox::ReadFile(box / "ran.txt"), bat + "a.xml\n");
    EXPECT_TRUE(Sandbox::Exists(bat + "a.xml"));  // interrupted: it runs again next time
    EXPECT_TRUE(Sandbox::Exists(bat + "b.xml"));
}

TEST_F(BatchScript, AJobThatRanToItsEndLeavesTheQueueWhenTheBatchIsTerminated) {
    StandIn("trap '' TERM\necho $$ > cui.pid\nsleep 1");
    ASSERT_EQ(Start(), 2);
    (void)PidIn("cui.pid");
    ASSERT_EQ(::kill(static_cast<pid_t>(scriptPid), SIGTERM), 0);
    EXPECT_TRUE(ScriptEnded());
    EXPECT_FALSE(Sandbox::Exists(bat + "a.xml"));
    EXPECT_TRUE(Sandbox::Exists(bat + "b.xml"));
    EXPECT_EQ(Sandbox::ReadFile(box / "ran.txt"), bat + "a.xml\n");
}

TEST_F(BatchScript, OnlyALiveScriptBlocksTheNextRunNotOneThatWasKilled) {
    StandIn("echo $$ > cui.pid\n[ -e hold ] && exec sleep 60\nexit 0");
    Sandbox::WriteFile(program + "/hold", "");
    ASSERT_EQ(Start(), 2);
    const long long cui = PidIn("cui.pid");
    AgeScript();
    EXPECT_EQ(app::RunBatch(program, false, {}), app::BatchRunning);
    ASSERT_EQ(::kill(static_cast<pid_t>(scriptPid), SIGKILL), 0);
    ASSERT_TRUE(ScriptEnded());
    ASSERT_TRUE(Sandbox::Exists(bat + app::kBatchScriptName));  // left behind by the kill
    ::kill(static_cast<pid_t>(cui), SIGKILL);
    AgeScript();

    ASSERT_TRUE(platform::RemoveFile(program + "/hold"));
    const auto runNow = [](const std::string& p, const std::vector<std::string>& a) {
        return platform::StartProcess(p, a, true);
    };
    EXPECT_EQ(app::RunBatch(program, false, runNow), 2);
    EXPECT_FALSE(Sandbox::Exists(bat + "a.xml"));
    EXPECT_FALSE(Sandbox::Exists(bat + "b.xml"));
    EXPECT_FALSE(Sandbox::Exists(bat + app::kBatchScriptName));
}
