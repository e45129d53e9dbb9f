#include "engine/PageRenderer.h"

#include <charconv>
#include <chrono>

#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

// Time for the engine to come up before its first page, and slack beyond a page's own bound.
constexpr int kStartSlackMs = 30000;
constexpr int kAnswerSlackMs = 10000;
// Pages one program renders before a fresh one takes over.
constexpr uint64_t kPagesPerProcess = 200;
// How often the reader looks whether it should stop.
constexpr int kReadPollMs = 200;

std::string HtmlAttribute(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '"') out += "&quot;";
        else if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else out += c;
    }
    return out;
}

}  // namespace

std::vector<std::string> RenderProgramArguments(const RenderSettings& settings) {
    std::vector<std::string> args;
    if (!settings.agent.empty()) args.push_back("--agent=" + settings.agent);
    if (!settings.proxy.empty()) args.push_back("--proxy=" + settings.proxy);
    if (!settings.noProxy.empty()) args.push_back("--no-proxy=" + settings.noProxy);
    if (settings.acceptSelfSigned) args.push_back("--accept-self-signed");
    args.push_back("--pages=" + std::to_string(settings.pages));
    return args;
}

bool PageRenderer::Running() const {
    const std::lock_guard lock(m_answerLock);
    return !m_ended;
}

int PageRenderer::Start(const RenderSettings& settings, std::string* why) {
    Stop();
    const std::lock_guard lock(m_processLock);
    m_settings = settings;
    if (!platform::IsRegularFile(settings.program)) {
        if (why) *why = "ページを描画するプログラムがありません（Qt WebEngine 版が入っていません）: " + settings.program;
        return PageNotRendered;
    }
    if (!m_process.Start(settings.program, RenderProgramArguments(settings))) {
        if (why) *why = "ページを描画するプログラムを起動できません: " + settings.program;
        return PageNotRendered;
    }
    // The program says "ready" once its engine is up; a program that cannot load the engine
    // ends instead, with its reason.
    std::string buffer;
    RenderFields hello;
    if (!m_process.ReadUntil(buffer, kStartSlackMs, [&](std::string& b) {
            return TakeRenderMessage(b, hello) != RenderMessageIncomplete;
        }) ||
        hello["status"] != "ready" || !buffer.empty()) {
        m_process.Stop();
        if (why) *why = "ページを描画するプログラムが動きません（Qt WebEngine を読み込めません）";
        return PageNotRendered;
    }
    m_firstIdOfProgram = m_nextId + 1;
    {
        const std::lock_guard answers(m_answerLock);
        m_ended = false;
    }
    m_reader = std::jthread([this](std::stop_token stop) { ReadAnswers(stop); });
    return PageRendered;
}

void PageRenderer::Stop() {
    const std::lock_guard lock(m_processLock);
    if (m_reader.joinable()) {
        m_reader.request_stop();
        m_reader.join();
    }
    m_process.Stop();
    const std::lock_guard answers(m_answerLock);
    m_answers.clear();
    m_waiting.clear();
    m_ended = true;
    m_answered.notify_all();
}

// The reader thread: takes every answer off the pipe as it comes.
void PageRenderer::ReadAnswers(std::stop_token stop) {
    std::string buffer;
    bool ended = false;
    while (!stop.stop_requested() && !ended) {
        if (m_process.ReadSome(buffer, kReadPollMs) < 0) ended = true;
        RenderFields answer;
        int taken;
        while ((taken = TakeRenderMessage(buffer, answer)) == RenderMessageComplete) {
            uint64_t id = 0;
            const std::string& text = answer["id"];
            (void)std::from_chars(text.data(), text.data() + text.size(), id);
            const std::lock_guard lock(m_answerLock);
            const auto it = m_waiting.find(id);
            if (it == m_waiting.end()) continue;
            if (it->second) {
                m_waiting.erase(it);
            } else {
                m_answers[id] = std::move(answer);
                m_answered.notify_all();
            }
        }
        if (taken == RenderMessageBroken) ended = true;
    }
    const std::lock_guard lock(m_answerLock);
    m_ended = true;
    m_answered.notify_all();
}

uint64_t PageRenderer::Submit(const RenderRequest& request) {
    const std::lock_guard lock(m_processLock);
    const uint64_t id = ++m_nextId;
    {
        const std::lock_guard answers(m_answerLock);
        if (m_ended) return 0;
        m_waiting[id] = false;
    }
    const RenderFields fields{{"id", std::to_string(id)},
                              {"url", request.url},
                              {"html", request.html},
                              {"content-type", request.contentType},
                              {"cookies", request.cookies},
                              {"keep-scripts", request.keepScripts ? "1" : "0"},
                              {"timeout-ms", std::to_string(request.timeoutMs)},
                              {"max-requests", std::to_string(request.maxRequests)}};
    if (m_process.Write(EncodeRenderMessage(fields))) return id;
    const std::lock_guard answers(m_answerLock);
    m_waiting.erase(id);
    return 0;
}

int PageRenderer::Collect(uint64_t id, int waitMs, RenderResult& result, std::string* why) {
    RenderFields answer;
    bool late = false;
    {
        std::unique_lock lock(m_answerLock);
        // An id the program does not know (it was started afresh since) gets no answer.
        const auto gone = [&] { return m_answers.count(id) > 0 || m_ended || m_waiting.count(id) == 0; };
        late = !m_answered.wait_for(lock, std::chrono::milliseconds(waitMs), gone);
        m_waiting.erase(id);
        if (const auto it = m_answers.find(id); it != m_answers.end()) {
            answer = std::move(it->second);
            m_answers.erase(it);
        }
    }
    if (answer.empty()) {
        // A renderer that hangs, died or talks nonsense is ended; the next page starts another.
        if (late) Stop();
        if (why) *why = "ページを描画するプログラムが応答しません";
        return PageNotAnswered;
    }
    if (answer["status"] != "ok") {
        if (why) *why = "ページを描画できません: " + answer["error"];
        return PageNotRendered;
    }
    result.dom = std::move(answer["dom"]);
    result.cut = answer["cut"] == "1";
    result.requested.clear();
    const std::string& list = answer["requested"];
    for (size_t at = 0; at < list.size();) {
        size_t end = list.find('\n', at);
        if (end == std::string::npos) end = list.size();
        if (end > at) result.requested.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return PageRendered;
}

void PageRenderer::Forget(uint64_t id) {
    const std::lock_guard lock(m_answerLock);
    if (m_answers.erase(id)) m_waiting.erase(id);
    else if (const auto it = m_waiting.find(id); it != m_waiting.end()) it->second = true;
}

size_t PageRenderer::InFlight() const {
    const std::lock_guard lock(m_answerLock);
    return m_waiting.size() - m_answers.size();
}

uint64_t PageRenderer::PagesOfThisProgram() const {
    const std::lock_guard lock(m_processLock);
    return m_nextId + 1 - m_firstIdOfProgram;
}

bool PageRenderer::WantsRestart() const { return PagesOfThisProgram() >= kPagesPerProcess; }

int PageRenderer::Render(const RenderRequest& request, RenderResult& result, std::string* why) {
    // A browser engine grows with the pages it saw; a fresh one now and then keeps a long save
    // at the memory of a short one.
    if (WantsRestart() && InFlight() == 0) Stop();
    // A program found gone when the page is handed over is started afresh once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Running() && !Start(m_settings, why)) return PageNotRendered;
        const uint64_t id = Submit(request);
        if (!id) {
            Stop();
            continue;
        }
        // Pages handed over ahead of this one may hold every place of the program for one bound.
        return Collect(id, 2 * request.timeoutMs + kAnswerSlackMs, result, why);
    }
    if (why) *why = "ページを描画するプログラムが応答しません";
    return PageNotAnswered;
}

void AddRequestedLinks(std::string& dom, const std::vector<std::string>& requested) {
    std::string links;
    for (const std::string& url : requested) {
        if (dom.find(url) != std::string::npos) continue;
        links += "<link rel=\"preload\" href=\"" + HtmlAttribute(url) + "\">\n";
    }
    if (links.empty()) return;
    const std::string lower = platform::AsciiLowerCopy(dom);
    size_t at = lower.find("</head>");
    if (at == std::string::npos) at = 0;
    dom.insert(at, links);
}

}  // namespace engine
