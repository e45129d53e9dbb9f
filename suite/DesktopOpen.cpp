#include "suite/DesktopOpen.h"

#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/Process.h"
#include "platform/UiText.h"

namespace suite {

namespace {

// An opener still running after this long has started an application; the status it ends
// with later is that application's, not an answer about opening the file.
constexpr std::chrono::seconds kOpenerAnswers{10};

}  // namespace

int OpenWithDesktop(const std::string& target) {
    int status = -1;
    // No opener at all: the desktop has nothing that could open the file.
    if (platform::StartProcess("xdg-open", {target}, true, &status) != platform::ProcessStarted)
        return OpenNoApplication;
    return OutcomeOfOpenerStatus(status);
}

int OutcomeOfOpenerStatus(int status) {
    switch (status) {
    case 0: return Opened;
    case 2: return OpenFileMissing;
    // 3: no method for the file's type; 4: the desktop's own tool refused (no application
    // is registered for it).
    case 3:
    case 4: return OpenNoApplication;
    case 5: return OpenAccessDenied;
    default: return OpenFailed;
    }
}

std::string OpenFailureText(int outcome) {
    switch (outcome) {
    case Opened: return {};
    case OpenFileMissing: return platform::Tr("指定したファイルが見つかりませんでした。");
    case OpenNoApplication: return platform::Tr("指定したファイルが関連付けられていませんでした。");
    case OpenAccessDenied: return platform::Tr("OS がファイルへのアクセスを拒否しました。");
    default: return platform::Tr("システム リソースが足りません。");
    }
}

void OpenerWatch::Start(Opener opener, std::string target) {
    {
        std::lock_guard<std::mutex> hold(m_shared->lock);
        ++m_shared->running;
    }
    const auto finish = [shared = m_shared](int outcome) {
        std::lock_guard<std::mutex> hold(shared->lock);
        --shared->running;
        if (outcome != Opened) shared->failures.push_back(outcome);
    };
    try {
        std::thread([finish, opener = std::move(opener), target = std::move(target)] {
            const auto started = std::chrono::steady_clock::now();
            const int outcome = opener ? opener(target) : OpenFailed;
            finish(std::chrono::steady_clock::now() - started > kOpenerAnswers ? Opened : outcome);
        }).detach();
    } catch (const std::system_error&) {
        finish(OpenFailed);  // no thread to be had: the system is short of resources
    }
}

bool OpenerWatch::Idle() const {
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return m_shared->running == 0 && m_shared->failures.empty();
}

std::vector<int> OpenerWatch::TakeFailures() {
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return std::exchange(m_shared->failures, {});
}

}  // namespace suite
