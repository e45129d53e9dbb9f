// Pages that scripts build, loaded in a browser engine before they are saved. The engine runs
// in a companion program, SitrovaRender, that a save starts once and talks to over a pipe:
// the engine needs a window-system thread of its own, which a console save or a save worker
// has not, and in a process of its own it is bounded in memory and its crash ends no save.
// The program renders up to a few pages at once; each request carries an id that its answer
// repeats, and a reader thread here takes the answers as they come, so that the program never
// waits on a full pipe. Nothing here knows the engine; a missing program only switches
// rendering off.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/RenderMessage.h"
#include "platform/PipeProcess.h"

namespace engine {

// What the renderer runs with for a whole save.
struct RenderSettings {
    std::string program;  // the path of SitrovaRender
    std::string agent;    // "" leaves the engine's own
    std::string proxy;    // "" leaves it to the environment
    std::string noProxy;
    bool acceptSelfSigned = false;
    int pages = 1;        // pages rendered at the same time
};

struct RenderRequest {
    std::string url;          // where the page came from (its scripts' origin)
    std::string html;         // the page as it was fetched
    std::string contentType;  // the answer's Content-Type ("" when none)
    std::string cookies;      // cookies.txt lines the engine sends
    bool keepScripts = false;
    int timeoutMs = 5000;     // the most one page may take
    int maxRequests = 200;    // requests beyond it are refused
};

struct RenderResult {
    std::string dom;                     // the serialised document, UTF-8
    std::vector<std::string> requested;  // absolute URLs the page asked for, each once
    bool cut = false;                    // the page did not go idle within the bound
};

// Not answered: the program ended, hung or no longer knows the page (it may be asked again).
enum PageRenderResult : int { PageRendered = 1, PageNotRendered = 0, PageNotAnswered = -1 };

class PageRenderer {
public:
    PageRenderer() = default;
    ~PageRenderer() { Stop(); }
    PageRenderer(const PageRenderer&) = delete;
    PageRenderer& operator=(const PageRenderer&) = delete;

    // Starts the program and waits for its engine to come up. 1 when it runs; else `why`
    // says why (Japanese).
    [[nodiscard]] int Start(const RenderSettings& settings, std::string* why);
    bool Running() const;
    // Ends the program; answers not yet collected are lost.
    void Stop();

    // Hands a page to the program; any thread. The id to collect its answer by, or 0 when
    // the program does not run or took nothing.
    uint64_t Submit(const RenderRequest& request);
    // Waits up to `waitMs` for the answer to `id` and takes it: Rendered, NotRendered (the
    // page failed; `why` says how) or NotAnswered. A program that does not answer in time is
    // ended (the next Start begins afresh).
    [[nodiscard]] int Collect(uint64_t id, int waitMs, RenderResult& result, std::string* why);
    // The answer to `id` is not wanted: dropped now, or as soon as it comes.
    void Forget(uint64_t id);
    // Pages handed over whose answer has not come yet (forgotten ones too: the program is
    // still busy with them).
    size_t InFlight() const;
    // Pages the running program was given since it started.
    uint64_t PagesOfThisProgram() const;
    // The program rendered enough pages that a fresh one should take over once it is idle
    // (a browser engine grows with the pages it saw); pages ahead wait for that.
    bool WantsRestart() const;

    // Start (when not running), Submit and Collect in one, for the page at hand; the results
    // of Collect, and NotRendered when the program cannot start.
    [[nodiscard]] int Render(const RenderRequest& request, RenderResult& result, std::string* why);

private:
    void ReadAnswers(std::stop_token stop);

    RenderSettings m_settings;
    mutable std::mutex m_processLock;  // the process, its input, the id counter
    platform::PipeProcess m_process;
    std::jthread m_reader;
    uint64_t m_nextId = 0;
    uint64_t m_firstIdOfProgram = 1;

    mutable std::mutex m_answerLock;
    std::condition_variable m_answered;
    std::map<uint64_t, RenderFields> m_answers;  // come in, not yet collected
    std::map<uint64_t, bool> m_waiting;          // handed over; true: forgotten
    bool m_ended = true;                         // the program ended or broke its stream
};

// The program's arguments for `settings` (flags the engine takes at its start).
std::vector<std::string> RenderProgramArguments(const RenderSettings& settings);

// Adds the URLs the page asked for while it ran to its document as embedded links in <head>
// (each that the document does not name already), so that the walk saves them with the page.
void AddRequestedLinks(std::string& dom, const std::vector<std::string>& requested);

}  // namespace engine
