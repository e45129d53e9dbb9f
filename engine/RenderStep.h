// The "render" option's step in a page's save: the fetched page goes through the renderer
// and its rendered document takes the place of the fetched text.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "engine/PageRenderer.h"

namespace platform {
class CookieJar;
}

namespace engine {

class SaveJob;

// The renderer of one save, made by the save's worker when "render" is on: its program is
// started at the first page rendered (a save that renders nothing starts no engine) and ends
// with the session. Pages that the fetch-ahead threads fetched are handed to it as soon as
// they lie on disk, so that up to `pages` of them render while the walk is busy elsewhere;
// the walk takes each answer when it reaches its page.
class RenderSession {
public:
    explicit RenderSession(const SaveJob& job);
    ~RenderSession();
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;

    // Pages rendered at the same time: one, or at the highest CPU level as many as the
    // machine has cores, up to four.
    static int PagesFor(uint32_t cpuSleepMs);

    // The page at hand, fetched from `url`: true when `text` became the rendered document
    // (UTF-8, with the URLs the page asked for added as embedded links; `contentType` says
    // so). False when it stays as fetched; a log line says why. Runs on the save's worker.
    bool Render(SaveJob& job, const std::string& url, std::string& text, std::string& contentType);
    // A page fetched ahead from `url`, whose file lies at `path`: handed over when the
    // program runs and has a free place, now or after a page of the walk. Runs on a
    // fetch-ahead thread; never blocks long.
    void RenderAhead(const std::string& url, const std::string& path, const std::string& contentType);

private:
    struct Ahead {
        uint64_t id = 0;
        size_t hash = 0;  // of the text handed over, which the walk's text must match
    };
    struct Candidate {
        std::string url, path, contentType;
    };
    void TopUp();
    RenderRequest RequestFor(const std::string& url, const std::string& text, const std::string& contentType) const;
    // The answer handed over ahead for `url` and `text`, if any (0 none).
    uint64_t TakeAhead(const std::string& url, const std::string& text);

    RenderSettings m_settings;
    std::shared_ptr<platform::CookieJar> m_cookies;
    bool m_keepScripts = false;
    PageRenderer m_renderer;
    bool m_failed = false;  // the program could not start: not asked again in this save

    std::mutex m_aheadLock;
    std::deque<Candidate> m_candidates;    // fetched ahead, not handed over yet, oldest first
    std::map<std::string, Ahead> m_ahead;  // handed over, by URL
    std::deque<std::string> m_aheadOrder;  // oldest first
};

// Renders the page fetched from `url` when the save renders and `text` is an HTML page; see
// RenderSession::Render. Runs on the save's worker.
bool RenderFetchedPage(SaveJob& job, const std::string& url, std::string& text, std::string& contentType);

// Hands a page fetched ahead to the save's renderer, when the save renders. Runs on a
// fetch-ahead thread.
void RenderFetchedAhead(const SaveJob& job, const std::string& url, const std::string& path,
                        const std::string& contentType);

// Where the save looks for SitrovaRender: beside the running program, unless
// SITROVA_RENDER_PROGRAM names another file.
std::string RenderProgramPath();

}  // namespace engine
