// The serial-download session without a window: the run of a single file and its series,
// the question before a series, failures and their reasons, and a stop while a probe waits
// on a server that never answers.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "download/SerialFiles.h"
#include "platform/ByteSize.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"

using namespace download;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

std::string Name(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "img%03d.jpg", n);
    return name;
}

std::string Picture(int n) { return "\xFF\xD8picture " + std::to_string(n) + std::string(1500, 'x'); }

SerialSetup SetupFor(const LoopbackServer& server, const Sandbox& out, const std::string& name, bool unattended) {
    SerialSetup setup;
    setup.firstUrl = server.BaseUrl() + "/img/" + name;
    setup.firstPath = out / name;
    setup.saveName = name;
    setup.iniPath = out / "Sitrov.ini";
    setup.programFolder = out / "none";
    setup.unattended = unattended;
    setup.busyPauseMs = 1;
    return setup;
}

// Polls the session as a window does until it ends, giving `answer` to its question.
SessionJob RunToEnd(SerialSession& session, std::string& lines, int answer = AnswerGoOn) {
    session.Start();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    SessionJob state;
    while (std::chrono::steady_clock::now() < limit) {
        state = session.Take();
        for (const std::string& line : state.lines) lines += line + "\n";
        if (state.question) session.Answer(answer);
        if (state.ended) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(state.ended);
    return state;
}

}  // namespace

TEST(SerialSession, TheSeriesFollowsOnlyWithConsentAndEndsAtTheGap) {
    Sandbox site, out;
    for (int n = 1; n <= 3; ++n) Sandbox::WriteFile(site / ("img/" + Name(n)), Picture(n));
    LoopbackServer server(site.Path());
    ASSERT_TRUE(server.Running());
    {
        SerialSession declined(SerialFilesPlan(SetupFor(server, out, Name(1), false)));
        std::string lines;
        const SessionJob state = RunToEnd(declined, lines, AnswerStop);
        EXPECT_EQ(state.outcome, SerialSingleDone);
        EXPECT_EQ(state.savedCount, 1);
        EXPECT_TRUE(state.rows.empty());
        EXPECT_NE(lines.find("URLに接続しました。\nダウンロードしています･･･\nダウンロードに成功しました。\n"), std::string::npos)
            << lines;
    }
    SerialSession session(SerialFilesPlan(SetupFor(server, out, Name(1), false)));
    std::string lines;
    const SessionJob state = RunToEnd(session, lines);
    EXPECT_EQ(state.outcome, SerialSeriesDone);
    EXPECT_EQ(state.reason, "");
    EXPECT_EQ(state.stage, StageSeries);
    EXPECT_EQ(state.savedCount, 3);
    EXPECT_EQ(state.lastSaved, out / Name(3));
    ASSERT_EQ(state.rows.size(), 3u);
    EXPECT_EQ(state.rows[2], (SessionRow{Name(3), Name(3), platform::FormatByteSize(Picture(3).size())}));
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(Sandbox::ReadFile(out / Name(n)), Picture(n));
}

TEST(SerialSession, FailuresEndTheRunWithTheirReason) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "img/img001.jpg", Picture(1));
    Sandbox::WriteFile(site / "img/img005.jpg", Picture(5));
    LoopbackServer server(site.Path(), R"({"/img/img002.jpg": {"status": 403}, "/img/img005.jpg": {"status": 503}})");
    {
        SerialSession session(SerialFilesPlan(SetupFor(server, out, Name(2), true)));
        std::string lines;
        const SessionJob state = RunToEnd(session, lines);
        EXPECT_EQ(state.outcome, SerialNotFound);
        EXPECT_EQ(state.reason, "HTTP 403");
        EXPECT_NE(lines.find("[Error]指定されたファイルは存在しません。(404 Not Found.) [HTTP 403]"), std::string::npos) << lines;
    }
    {
        // Something in the way of the file: it cannot be kept, and asking for the URL again would not help.
        Sandbox::WriteFile(out / "img001.jpg.part/in-the-way", "x");
        SerialSession session(SerialFilesPlan(SetupFor(server, out, Name(1), true)));
        std::string lines;
        const SessionJob state = RunToEnd(session, lines);
        EXPECT_EQ(state.outcome, SerialNotSaved);
        EXPECT_FALSE(state.reason.empty());
        EXPECT_EQ(state.savedCount, 0);
        EXPECT_NE(lines.find("[Error]ファイルを保存できませんでした。 [" + state.reason + "]"), std::string::npos) << lines;
    }
    // Nobody watches: a server that stays busy ends the run instead of holding it for ever.
    SerialSession session(SerialFilesPlan(SetupFor(server, out, Name(5), true)));
    std::string lines;
    const SessionJob state = RunToEnd(session, lines);
    EXPECT_EQ(state.outcome, SerialNoAnswer);
    EXPECT_NE(lines.find("[Error]サーバーが応答しません。(503 Service Temporarily Unavailable / Link Down) 0秒間待機後に再試行します･･･"),
              std::string::npos)
        << lines;
}

TEST(SerialSession, StopEndsTheProbeOfAServerThatNeverAnswers) {
    Sandbox site, out;
    Sandbox::WriteFile(site / "img/img001.jpg", Picture(1));
    LoopbackServer server(site.Path(), R"({"/img/img002.jpg": {"delay": 120}})");
    SerialSession session(SerialFilesPlan(SetupFor(server, out, Name(1), true)));
    session.Start();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (server.RequestLog().find("/img/img002.jpg") == std::string::npos && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(server.RequestLog().find("/img/img002.jpg"), std::string::npos);
    const auto stopped = std::chrono::steady_clock::now();
    session.Stop();
    session.Wait();
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::seconds(2));
    const SessionJob state = session.Take();
    EXPECT_TRUE(state.ended);
    EXPECT_EQ(state.outcome, SerialStopped);
    EXPECT_EQ(state.savedCount, 1);
}
