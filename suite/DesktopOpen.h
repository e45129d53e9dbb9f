// Opening a saved file or folder with the desktop's own application, and what to tell the
// user when the desktop has none for it.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace suite {

enum OpenOutcome : int {
    OpenFailed = 0,
    Opened = 1,
    OpenFileMissing = 2,
    OpenNoApplication = 3,
    OpenAccessDenied = 4,
};

// Worker thread. Runs the desktop's opener (xdg-open) on `target` and waits until it ends:
// without a desktop session of its own it keeps the application in the foreground.
[[nodiscard]] int OpenWithDesktop(const std::string& target);
// The opener's exit status as an outcome.
int OutcomeOfOpenerStatus(int status);
// What a failed outcome tells the user (caption "ファイルが開けません"); "" for Opened.
std::string OpenFailureText(int outcome);

// Runs openers on threads of their own and keeps the failures for the window to show.
class OpenerWatch {
public:
    using Opener = std::function<int(const std::string& target)>;

    // The thread is left to end alone: an opener may wait as long as the application it
    // started stays open, and nobody should wait for that.
    void Start(Opener opener, std::string target);
    // Nothing running and no failure left to take.
    bool Idle() const;
    // Failed outcomes that arrived since the last call, oldest first.
    std::vector<int> TakeFailures();

private:
    struct Shared {
        std::mutex lock;
        int running = 0;
        std::vector<int> failures;
    };
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
};

}  // namespace suite
