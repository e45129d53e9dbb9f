#include "app/TitleFetch.h"

#include "app/InputRules.h"
#include "engine/Fetcher.h"
#include "records/PageTitleFetch.h"

namespace app {

TitleFetch::~TitleFetch() { Stop(); }

void TitleFetch::Start(const std::string& url) {
    Stop();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_running = true;
        m_result = 0;
        m_title.clear();
    }
    m_task.Start([this, url](std::stop_token stop) { Run(stop, url); });
}

bool TitleFetch::Running() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_running;
}

int TitleFetch::Result(std::string& title) const {
    std::lock_guard<std::mutex> guard(m_lock);
    title = m_title;
    return m_result;
}

void TitleFetch::Stop() { m_task.StopAndWait(); }

void TitleFetch::Run(std::stop_token stop, std::string url) {
    records::TitleHeadRequest request;
    request.url = url;
    request.extraHeaders = "Referer: " + TitleReferer(url);
    request.bytes = kHeadBytes;
    request.timeoutSec = kTimeoutSec;
    std::string head;
    const int read = records::FetchPageHead(request, [stop] { return stop.stop_requested(); }, head);

    std::string title;
    int result = 0;
    if (read && engine::PageTitle(head, title, head.size())) {
        title = TitleAsUtf8(title);
        result = title.empty() ? 0 : 1;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_result = result;
    m_title = result ? title : std::string();
    m_running = false;
}

}  // namespace app
