// The Sitrova program killed part-way through a save of a site of a few thousand pages, then
// run again into the same target; and two runs started into one target at once.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/Codepage.h"
#include "records/HistoryIndex.h"
#include "records/KeptVersions.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sandbox.h"
#include "tests/support/WarcCheck.h"

namespace fs = std::filesystem;
using testsupport::LoopbackServer;
using testsupport::Sandbox;

namespace {

// 657 pages with the folder indexes and the top page: large enough that a kill lands in the
// middle of the walk, small enough for a busy machine and a sanitizer build.
constexpr int kFolders = 16;
constexpr int kPagesPerFolder = 40;

// A site whose top page leads to folder indexes that lead to their pages; each page links to
// its neighbour and back up, and the top page embeds a style sheet.
int WriteSite(const std::string& root) {
    int pages = 1;
    std::string top = "<html><head><link rel=\"stylesheet\" href=\"style.css\"></head><body>\n";
    for (int f = 0; f < kFolders; ++f) {
        const std::string dir = "d" + std::to_string(f) + "/";
        fs::create_directories(root + dir);
        top += "<a href=\"" + dir + "\">" + dir + "</a>\n";
        std::string index = "<html><body><a href=\"../index.html\">up</a>\n";
        for (int p = 0; p < kPagesPerFolder; ++p) {
            const std::string name = "p" + std::to_string(p) + ".html";
            index += "<a href=\"" + name + "\">" + name + "</a>\n";
            Sandbox::WriteFile(root + dir + name, "<html><body><a href=\"index.html\">index</a> <a href=\"p" +
                                                      std::to_string((p + 1) % kPagesPerFolder) +
                                                      ".html\">next</a></body></html>\n");
        }
        Sandbox::WriteFile(root + dir + "index.html", index + "</body></html>\n");
        pages += 1 + kPagesPerFolder;
    }
    Sandbox::WriteFile(root + "index.html", top + "</body></html>\n");
    Sandbox::WriteFile(root + "style.css", "body { color: black; }\n");
    return pages;
}

// Sitrova started without a display on one save, its stderr kept in a file.
class SitrovaRun {
public:
    // `options`: "--name=value" arguments given before the save's.
    SitrovaRun(const std::string& argument, const std::string& stderrPath, const std::vector<std::string>& options = {}) {
        std::vector<std::string> words = options;
        words.push_back(argument);
        m_pid = ::fork();
        if (m_pid != 0) return;
        const int fd = ::open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) ::dup2(fd, 2);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        const std::string program = std::string(SITROVA_BIN_DIR) + "/Sitrova";
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ~SitrovaRun() { Kill(); }

    void Kill() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    // The exit code, or -1 when it did not end within the limit (it is then killed).
    int Wait(int limitSeconds) {
        for (int i = 0; i < limitSeconds * 100; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        Kill();
        return -1;
    }

private:
    pid_t m_pid = -1;
};

size_t CountFiles(const std::string& folder) {
    std::error_code ec;
    size_t n = 0;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) ++n;
    return n;
}

// Waits (at most 30 s) until `done` holds.
template <typename F>
bool WaitFor(F done) {
    for (int i = 0; i < 3000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Staging files of any run, and relative links of the saved pages that lead to no file.
void ExpectWholeCopy(const std::string& out, int pages, const std::string& trace) {
    SCOPED_TRACE(trace);
    const fs::path data = out + "site.files";
    std::set<std::string> staging, broken;
    int saved = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        const std::string name = entry.path().filename().string();
        for (const char* tail : {".pre", ".part", "Temp", ".tmp", ".SitrovLock"})
            if (name.size() > strlen(tail) && name.compare(name.size() - strlen(tail), std::string::npos, tail) == 0)
                staging.insert(entry.path().string());
        // Earlier versions kept by updates are no part of the copy's pages.
        if (entry.path().string().find("/_history/") != std::string::npos) continue;
        // So is an update's change report, whose links stay inside itself and the copy.
        if (name.rfind("更新レポート_", 0) == 0) continue;
        if (entry.path().extension() != ".html" || entry.path().parent_path() == fs::path(out).parent_path()) continue;
        const std::string text = Sandbox::ReadFile(entry.path().string());
        if (text.find("Failed Download") != std::string::npos) broken.insert(entry.path().string() + " failed");
        ++saved;
        for (size_t at = text.find("href=\""); at != std::string::npos; at = text.find("href=\"", at + 6)) {
            const std::string target = text.substr(at + 6, text.find('"', at + 6) - at - 6);
            if (!fs::exists(entry.path().parent_path() / target))
                broken.insert(entry.path().string() + " -> " + target);
        }
    }
    EXPECT_TRUE(staging.empty()) << *staging.begin();
    EXPECT_TRUE(broken.empty()) << broken.size() << " like " << *broken.begin();
    EXPECT_EQ(saved, pages);

    std::string log;
    ASSERT_EQ(platform::Cp932ToUtf8(Sandbox::ReadFile((data / "SitrovSaveInfo.log").string()), log),
              platform::CodepageOk);
    std::set<std::string> logged;
    size_t lineStart = 0;
    int line = 0;
    for (size_t end = log.find("\r\n"); end != std::string::npos; lineStart = end + 2, end = log.find("\r\n", lineStart))
        if (++line > 9 && (line - 10) % 4 == 0) logged.insert(log.substr(lineStart, end - lineStart));
    // Every page and the style sheet, once each, and the header counts them.
    EXPECT_EQ(logged.size(), static_cast<size_t>(pages) + 1);
    EXPECT_EQ(line, 9 + 4 * (pages + 1));
    EXPECT_NE(log.find("\r\n" + std::to_string(pages + 1) + "\r\n--- Dummy"), std::string::npos);
    const std::string qdx = Sandbox::ReadFile(out + "site.qdx");
    EXPECT_EQ(qdx.substr(qdx.find("\r\n")), "\r\nEnd of Qdx file. Its contents is hidden file, SiteSaveInfoLog.\r\n");
}

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override {
        pages = WriteSite(site.Path());
        server = std::make_unique<LoopbackServer>(site.Path());
        ASSERT_TRUE(server->Running());
    }
    std::string Argument(const Sandbox& out) const {
        return "SomeComplete,\"" + server->BaseUrl() + "/index.html\",\"" + out.Path() + "site.html\",\"769\",\"0\",\"4\"";
    }

    Sandbox site, logs;
    std::unique_ptr<LoopbackServer> server;
    int pages = 0;
};

}  // namespace

TEST_F(CrashSafety, SaveKilledPartWayIsCompletedByTheNextRun) {
    struct KillPoint {
        const char* name;
        std::function<bool(const std::string& out)> reached;
    };
    const auto started = std::make_shared<std::chrono::steady_clock::time_point>();
    auto after = [started](int ms) {
        return [started, ms](const std::string&) {
            return std::chrono::steady_clock::now() - *started >= std::chrono::milliseconds(ms);
        };
    };
    const KillPoint points[] = {
        {"after 0.3 s", after(300)},
        {"after 1 s", after(1000)},
        {"after 300 files", [](const std::string& out) { return CountFiles(out) >= 300; }},
    };
    for (const KillPoint& point : points) {
        SCOPED_TRACE(point.name);
        Sandbox out;
        {
            *started = std::chrono::steady_clock::now();
            SitrovaRun run(Argument(out), logs / "killed.txt");
            ASSERT_TRUE(WaitFor([&] { return point.reached(out.Path()); }));
            run.Kill();
        }
        SitrovaRun again(Argument(out), logs / "again.txt");
        ASSERT_EQ(again.Wait(90), 0) << Sandbox::ReadFile(logs / "again.txt");
        ExpectWholeCopy(out.Path(), pages, point.name);
    }
}

TEST_F(CrashSafety, SecondSaveIntoTheSameTargetRefusesAndTheFirstCompletes) {
    // The top page comes slowly, so that the first save still runs when the second starts.
    ASSERT_TRUE(server->SetRules("{\"/index.html\": {\"delay\": 1.5}}"));
    Sandbox out;
    SitrovaRun first(Argument(out), logs / "first.txt");
    ASSERT_TRUE(WaitFor([&] { return fs::exists(out / ".site.SitrovLock"); }));
    SitrovaRun second(Argument(out), logs / "second.txt");
    EXPECT_EQ(second.Wait(30), 5);  // another save holds the target
    EXPECT_NE(Sandbox::ReadFile(logs / "second.txt").find("同じ保存先へは同時に保存できません"), std::string::npos)
        << Sandbox::ReadFile(logs / "second.txt");
    ASSERT_EQ(first.Wait(90), 0);
    ExpectWholeCopy(out.Path(), pages, "first save");
}

TEST_F(CrashSafety, UpdateKilledPartWayLosesNeitherTheCopyNorTheIndex) {
    Sandbox out;
    {
        SitrovaRun first(Argument(out), logs / "first.txt");
        ASSERT_EQ(first.Wait(90), 0) << Sandbox::ReadFile(logs / "first.txt");
    }
    // Every page changes, so the update replaces each one and keeps its earlier version.
    for (const auto& entry : fs::recursive_directory_iterator(site.Path()))
        if (entry.path().extension() == ".html")
            Sandbox::WriteFile(entry.path().string(), Sandbox::ReadFile(entry.path().string()) + "<!-- v2 -->\n");
    const std::string data = out / "site.files/";
    const auto incompleteRuns = [&data] {
        int n = 0;
        std::error_code ec;
        for (fs::directory_iterator it(data + "_history", ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == records::kIncompleteSuffix) ++n;
        return n;
    };
    {
        SitrovaRun update(Argument(out), logs / "killed.txt");
        ASSERT_TRUE(WaitFor([&] { return CountFiles(data + "_history") >= 60; }));
        update.Kill();
    }
    EXPECT_EQ(incompleteRuns(), 1);

    SitrovaRun again(Argument(out), logs / "again.txt");
    ASSERT_EQ(again.Wait(90), 0) << Sandbox::ReadFile(logs / "again.txt");
    ExpectWholeCopy(out.Path(), pages, "update after a kill");
    EXPECT_EQ(incompleteRuns(), 0);
    EXPECT_GE(records::VersionRuns(data).size(), 1u);
    for (int f = 0; f < kFolders; ++f)
        EXPECT_NE(Sandbox::ReadFile(data + "d" + std::to_string(f) + "/p7.html").find("v2"), std::string::npos) << f;
    records::HistoryIndex index;
    ASSERT_EQ(index.Open(data + records::kHistoryIndexName), records::HistoryIndex::OpenedExisting);
    records::HistoryRun last;
    ASSERT_TRUE(index.LastRun(last));
    EXPECT_EQ(last.kind, "update");
    EXPECT_GT(last.ended, 0);
}

TEST_F(CrashSafety, SaveKilledPartWayLeavesItsWebArchiveWholeUpToTheLastRecord) {
    Sandbox out;
    const std::string warc = out / "site.warc.gz";
    {
        SitrovaRun run(Argument(out), logs / "killed.txt", {"--warc=1"});
        // Killed once a good part of the walk is in the archive (the exchanges are some
        // hundreds of bytes each, packed).
        ASSERT_TRUE(WaitFor([&] { return fs::exists(warc) && fs::file_size(warc) >= 30000; }))
            << Sandbox::ReadFile(logs / "killed.txt");
        run.Kill();
    }
    bool torn = false;
    const std::vector<testsupport::WarcTestRecord> records =
        testsupport::ReadWarcRecords(Sandbox::ReadFile(warc), &torn);
    ASSERT_GT(records.size(), 40u);
    EXPECT_LT(records.size(), 2u * pages) << "the save ended before it was killed";
    EXPECT_EQ(records[0].Type(), "warcinfo");
    // Whole exchanges only, each request before its response, and every digest holds.
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(std::to_string(i) + " " + records[i].Url());
        EXPECT_EQ(records[i].problem, "");
        if (i == 0) continue;
        EXPECT_EQ(records[i].Type(), i % 2 ? "request" : "response");
        if (i % 2 == 0) {
            EXPECT_EQ(records[i].Field("WARC-Concurrent-To"), records[i - 1].Field("WARC-Record-ID"));
        }
    }

    // The next run leaves that file as it is and writes an archive of its own.
    const uintmax_t killedSize = fs::file_size(warc);
    SitrovaRun again(Argument(out), logs / "again.txt", {"--warc=1"});
    ASSERT_EQ(again.Wait(90), 0) << Sandbox::ReadFile(logs / "again.txt");
    EXPECT_EQ(fs::file_size(warc), killedSize);
    int archives = 0;
    for (const auto& entry : fs::directory_iterator(out.Path())) archives += entry.path().string().ends_with(".warc.gz");
    EXPECT_EQ(archives, 2);
}
