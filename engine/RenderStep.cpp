#include "engine/RenderStep.h"

#include <cstdlib>
#include <memory>

#include "engine/ModeFlags.h"
#include "engine/PageRenderer.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/CookieJar.h"
#include "platform/HttpClient.h"
#include "platform/ProgramFolder.h"

namespace engine {

namespace {

constexpr int kPageTimeoutMs = 5000;
constexpr int kMaxRequestsPerPage = 200;
// The agent of the save's "Mozilla/4.0" way of fetching.
constexpr const char* kProgramAgent = "Mozilla/4.0";

// One renderer per save worker: started at the worker's first rendered page, ended with the
// worker. A renderer that could not start is not asked again by the same save.
struct WorkerRenderer {
    RenderSettings settings;
    PageRenderer renderer;
    bool failed = false;
};
thread_local std::unique_ptr<WorkerRenderer> t_renderer;

RenderSettings SettingsOf(const SaveJob& job) {
    RenderSettings settings;
    settings.program = RenderProgramPath();
    if (const platform::HttpSession* http = job.Http()) {
        const platform::HttpClientSettings& client = http->Settings();
        settings.agent = client.agent;
        settings.proxy = client.proxy;
        settings.noProxy = client.noProxy;
        settings.acceptSelfSigned = client.acceptSelfSigned;
    }
    if (job.Has(mode::agent)) settings.agent = kProgramAgent;
    return settings;
}

bool SameSettings(const RenderSettings& a, const RenderSettings& b) {
    return a.program == b.program && a.agent == b.agent && a.proxy == b.proxy && a.noProxy == b.noProxy &&
           a.acceptSelfSigned == b.acceptSelfSigned;
}

// A page, by its answer or, without one, by its first bytes.
bool LooksLikeHtml(const std::string& text, const std::string& contentType) {
    if (!contentType.empty()) return platform::AsciiLowerCopy(contentType).find("html") != std::string::npos;
    const std::string head = platform::AsciiLowerCopy(std::string_view(text).substr(0, 1024));
    return head.find("<html") != std::string::npos || head.find("<!doctype html") != std::string::npos ||
           head.find("<body") != std::string::npos;
}

PageRenderer* RendererFor(SaveJob& job) {
    const RenderSettings settings = SettingsOf(job);
    if (t_renderer && !SameSettings(t_renderer->settings, settings)) t_renderer.reset();
    if (!t_renderer) {
        t_renderer = std::make_unique<WorkerRenderer>();
        t_renderer->settings = settings;
        std::string why;
        if (!t_renderer->renderer.Start(settings, &why)) {
            t_renderer->failed = true;
            job.AppendLog("  ！" + why + "。スクリプトを実行せずに保存します。");
        }
    }
    return t_renderer->failed ? nullptr : &t_renderer->renderer;
}

std::string CookiesFor(const SaveJob& job) {
    const platform::HttpSession* http = job.Http();
    if (!http || !http->Settings().cookies) return {};
    return http->Settings().cookies->CookiesTxt();
}

}  // namespace

void EndPageRenderer() { t_renderer.reset(); }

std::string RenderProgramPath() {
    if (const char* given = std::getenv("SITROVA_RENDER_PROGRAM"); given && *given) return given;
    return platform::ProgramFolder() + "/SitrovaRender";
}

bool RenderFetchedPage(SaveJob& job, const std::string& url, std::string& text, std::string& contentType) {
    const NamedOptions named = job.Named();
    if (!named.render || !LooksLikeHtml(text, contentType)) return false;
    PageRenderer* renderer = RendererFor(job);
    if (!renderer) return false;
    RenderRequest request;
    request.url = url;
    request.html = text;
    request.contentType = contentType;
    request.cookies = CookiesFor(job);
    request.keepScripts = named.renderKeepScripts;
    request.timeoutMs = kPageTimeoutMs;
    request.maxRequests = kMaxRequestsPerPage;
    RenderResult result;
    std::string why;
    if (!renderer->Render(request, result, &why)) {
        job.AppendLog("  ！" + why + "。取得したままのページを保存します。");
        return false;
    }
    if (result.cut)
        job.AppendLog("  ！ページの読み込みが " + std::to_string(kPageTimeoutMs / 1000) +
                      " 秒で終わらないため、その時点の内容を保存します。");
    AddRequestedLinks(result.dom, result.requested);
    text = std::move(result.dom);
    contentType = "text/html; charset=utf-8";
    return true;
}

}  // namespace engine
