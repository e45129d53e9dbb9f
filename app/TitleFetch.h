// Fetches the title of a web page in the background, for the save name of the input view.
// The window starts it and polls it; nothing here touches a window.
#pragma once

#include <mutex>
#include <stop_token>
#include <string>

#include "platform/BackgroundTask.h"

namespace app {

class TitleFetch {
public:
    // Only the head of the page is read: the title stands near its top.
    static constexpr size_t kHeadBytes = 2048;
    static constexpr int kTimeoutSec = 30;

    TitleFetch() = default;
    ~TitleFetch();  // stops a running fetch and waits for it
    TitleFetch(const TitleFetch&) = delete;
    TitleFetch& operator=(const TitleFetch&) = delete;

    // Starts fetching the title of `url`; a fetch still running is stopped first.
    void Start(const std::string& url);
    bool Running() const;
    // After the end: 1 with the title (UTF-8, as it stands in the page), 0 when the page
    // could not be read or holds no title in its head.
    int Result(std::string& title) const;
    void Stop();

private:
    // Worker thread.
    void Run(std::stop_token stop, std::string url);

    mutable std::mutex m_lock;
    bool m_running = false;
    int m_result = 0;
    std::string m_title;
    platform::BackgroundTask m_task;
};

}  // namespace app
