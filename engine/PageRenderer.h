// Pages that scripts build, loaded in a browser engine before they are saved. The engine runs
// in a companion program, SitrovaRender, that a save starts once and talks to over a pipe:
// the engine needs a window-system thread of its own, which a console save or a save worker
// has not, and in a process of its own it is bounded in memory and its crash ends no save.
// Nothing here knows the engine; a missing program only switches rendering off.
#pragma once

#include <string>
#include <vector>

#include "platform/PipeProcess.h"

namespace engine {

// What the renderer runs with for a whole save.
struct RenderSettings {
    std::string program;  // the path of SitrovaRender
    std::string agent;    // "" leaves the engine's own
    std::string proxy;    // "" leaves it to the environment
    std::string noProxy;
    bool acceptSelfSigned = false;
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

enum PageRenderResult : int { PageRendered = 1, PageNotRendered = 0 };

class PageRenderer {
public:
    // Starts the program. 1 when it runs; else `why` says why (Japanese).
    [[nodiscard]] int Start(const RenderSettings& settings, std::string* why);
    bool Started() const { return m_process.Running(); }
    // Renders one page; blocks up to a little more than its time bound. A renderer that died
    // is started again once for the next page. Runs on the save's worker thread.
    [[nodiscard]] int Render(const RenderRequest& request, RenderResult& result, std::string* why);

private:
    RenderSettings m_settings;
    platform::PipeProcess m_process;
    std::string m_buffer;
};

// The program's arguments for `settings` (flags the engine takes at its start).
std::vector<std::string> RenderProgramArguments(const RenderSettings& settings);

// Adds the URLs the page asked for while it ran to its document as embedded links in <head>
// (each that the document does not name already), so that the walk saves them with the page.
void AddRequestedLinks(std::string& dom, const std::vector<std::string>& requested);

}  // namespace engine
