#include "engine/RenderStep.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "engine/ModeFlags.h"
#include "engine/PlaceholderPages.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/CookieJar.h"
#include "platform/DebugOut.h"
#include "platform/HttpClient.h"
#include "platform/ProgramFolder.h"

namespace engine {

namespace {

constexpr int kPageTimeoutMs = 5000;
constexpr int kMaxRequestsPerPage = 200;
// The agent of the save's "Mozilla/4.0" way of fetching.
constexpr const char* kProgramAgent = "Mozilla/4.0";
// Pages bigger than this are rendered when the walk reaches them, not read in ahead.
constexpr uint64_t kMaxAheadBytes = uint64_t{8} << 20;
// Answers kept for pages the walk has not reached yet, per place of the program.
constexpr size_t kAheadPerPlace = 4;
// A page handed over ahead waits behind at most one page of each place.
constexpr int kAheadWaitMs = 2 * kPageTimeoutMs + 10000;

// A page, by its answer or, without one, by its first bytes.
bool LooksLikeHtml(const std::string& text, const std::string& contentType) {
    if (!contentType.empty()) return platform::AsciiLowerCopy(contentType).find("html") != std::string::npos;
    const std::string head = platform::AsciiLowerCopy(std::string_view(text).substr(0, 1024));
    return head.find("<html") != std::string::npos || head.find("<!doctype html") != std::string::npos ||
           head.find("<body") != std::string::npos;
}

}  // namespace

int RenderSession::PagesFor(uint32_t cpuSleepMs) {
    if (cpuSleepMs > 0) return 1;
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 4u));
}

RenderSession::RenderSession(const SaveJob& job) {
    m_settings.program = RenderProgramPath();
    if (const platform::HttpSession* http = job.Http()) {
        const platform::HttpClientSettings& client = http->Settings();
        m_settings.agent = client.agent;
        m_settings.proxy = client.proxy;
        m_settings.noProxy = client.noProxy;
        m_settings.acceptSelfSigned = client.acceptSelfSigned;
        m_cookies = client.cookies;
    }
    if (job.Has(mode::agent)) m_settings.agent = kProgramAgent;
    m_settings.pages = PagesFor(job.CpuSleepMs());
    m_keepScripts = job.Named().renderKeepScripts;
}

RenderSession::~RenderSession() { m_renderer.Stop(); }

RenderRequest RenderSession::RequestFor(const std::string& url, const std::string& text,
                                        const std::string& contentType) const {
    RenderRequest request;
    request.url = url;
    request.html = text;
    request.contentType = contentType;
    if (m_cookies) request.cookies = m_cookies->CookiesTxt();
    request.keepScripts = m_keepScripts;
    request.timeoutMs = kPageTimeoutMs;
    request.maxRequests = kMaxRequestsPerPage;
    return request;
}

// Fetch-ahead thread.
void RenderSession::RenderAhead(const std::string& url, const std::string& path, const std::string& contentType) {
    {
        const std::lock_guard lock(m_aheadLock);
        m_candidates.push_back({url, path, contentType});
        if (m_candidates.size() > kAheadPerPlace * static_cast<size_t>(m_settings.pages)) m_candidates.pop_front();
    }
    TopUp();
}

// Any thread. The oldest pages fetched ahead fill the program's free places; a page whose file
// is gone (the walk took it meanwhile) is passed over.
void RenderSession::TopUp() {
    while (m_renderer.Running() && !m_renderer.WantsRestart() &&
           m_renderer.InFlight() < static_cast<size_t>(m_settings.pages)) {
        Candidate next;
        {
            const std::lock_guard lock(m_aheadLock);
            if (m_candidates.empty()) return;
            next = std::move(m_candidates.front());
            m_candidates.pop_front();
        }
        if (platform::FileSize(next.path) > static_cast<int64_t>(kMaxAheadBytes)) continue;
        std::string text;
        if (!platform::ReadWholeFile(next.path, text) || !IsSavedCopyText(text) || !LooksLikeHtml(text, next.contentType))
            continue;
        const uint64_t id = m_renderer.Submit(RequestFor(next.url, text, next.contentType));
        if (!id) return;
        std::vector<uint64_t> stale;
        {
            const std::lock_guard lock(m_aheadLock);
            if (const auto it = m_ahead.find(next.url); it != m_ahead.end()) stale.push_back(it->second.id);
            else m_aheadOrder.push_back(next.url);
            m_ahead[next.url] = {id, std::hash<std::string>{}(text)};
            while (m_aheadOrder.size() > kAheadPerPlace * static_cast<size_t>(m_settings.pages)) {
                const auto old = m_ahead.find(m_aheadOrder.front());
                if (old != m_ahead.end()) {
                    stale.push_back(old->second.id);
                    m_ahead.erase(old);
                }
                m_aheadOrder.pop_front();
            }
        }
        for (const uint64_t old : stale) m_renderer.Forget(old);
    }
}

uint64_t RenderSession::TakeAhead(const std::string& url, const std::string& text) {
    Ahead ahead;
    {
        const std::lock_guard lock(m_aheadLock);
        std::erase_if(m_candidates, [&](const Candidate& c) { return c.url == url; });
        const auto it = m_ahead.find(url);
        if (it == m_ahead.end()) return 0;
        ahead = it->second;
        m_ahead.erase(it);
        std::erase(m_aheadOrder, url);
    }
    if (ahead.hash == std::hash<std::string>{}(text)) return ahead.id;
    m_renderer.Forget(ahead.id);  // the page changed since: render what the walk has
    return 0;
}

bool RenderSession::Render(SaveJob& job, const std::string& url, std::string& text, std::string& contentType) {
    if (m_failed || !LooksLikeHtml(text, contentType)) return false;
    RenderResult result;
    std::string why;
    int rendered = PageNotAnswered;
    const uint64_t ahead = TakeAhead(url, text);
    TopUp();
    if (ahead) rendered = m_renderer.Collect(ahead, kAheadWaitMs, result, &why);
    platform::DebugOutput(std::string(rendered == PageNotAnswered ? "Render now " : "Render ahead ") + url + "\r\n");
    // No answer ahead, or it was lost with a program that ended: the page is rendered now.
    if (rendered == PageNotAnswered) {
        if (!m_renderer.Running() && !m_renderer.Start(m_settings, &why)) {
            m_failed = true;
            job.AppendLog("  ！" + why + "。スクリプトを実行せずに保存します。");
            return false;
        }
        rendered = m_renderer.Render(RequestFor(url, text, contentType), result, &why);
    }
    TopUp();
    if (rendered != PageRendered) {
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

std::string RenderProgramPath() {
    if (const char* given = std::getenv("SITROVA_RENDER_PROGRAM"); given && *given) return given;
    return platform::ProgramFolder() + "/SitrovaRender";
}

bool RenderFetchedPage(SaveJob& job, const std::string& url, std::string& text, std::string& contentType) {
    RenderSession* session = job.Renderer();
    return session && session->Render(job, url, text, contentType);
}

void RenderFetchedAhead(const SaveJob& job, const std::string& url, const std::string& path,
                        const std::string& contentType) {
    if (RenderSession* session = job.Renderer()) session->RenderAhead(url, path, contentType);
}

}  // namespace engine
