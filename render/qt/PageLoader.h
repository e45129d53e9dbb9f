// One page at a time in a headless browser page: loaded from the bytes the save fetched,
// run until its network goes quiet (or its time bound), then serialised.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QWebEngineUrlRequestInterceptor>
#include <atomic>
#include <functional>
#include <mutex>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/RenderMessage.h"

class QWebEnginePage;
class QWebEngineProfile;

namespace render {

// Notes every request of the page being rendered and refuses those past its cap.
class RequestLog : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
    void Reset(const QUrl& page, int cap, bool keepScripts);

    // The URLs asked for, in order, each once.
    std::vector<std::string> Urls() const;
    qint64 LastRequestMs() const { return m_lastRequestMs; }
    void Touch() { m_lastRequestMs = std::max<qint64>(m_lastRequestMs, clock.elapsed()); }
    QElapsedTimer clock;  // started by Reset, read-only afterwards

private:
    // Requests arrive on the engine's network thread while the main thread reads.
    mutable std::mutex m_mutex;
    std::atomic<qint64> m_lastRequestMs{0};
    std::vector<std::string> m_urls;
    std::set<std::string> m_seen;
    QUrl m_page;
    int m_cap = 0;
    bool m_keepScripts = false;
    int m_count = 0;
};

class PageLoader : public QObject {
public:
    using Answer = std::function<void(const engine::RenderFields&)>;
    explicit PageLoader(QWebEngineProfile* profile);
    ~PageLoader() override;
    // Renders the request and calls `answer` once, from the event loop.
    void Render(const engine::RenderFields& request, Answer answer);

private:
    void Tick();
    void Serialise(bool cut);
    void Finish(const engine::RenderFields& fields);

    QWebEngineProfile* m_profile;
    RequestLog m_log;
    std::unique_ptr<QWebEnginePage> m_page;
    QTimer m_tick;
    QElapsedTimer m_started;
    Answer m_answer;
    bool m_loaded = false;
    bool m_serialising = false;
    bool m_keepScripts = false;
    int m_timeoutMs = 5000;
};

}  // namespace render
