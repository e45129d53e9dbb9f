#include "engine/PageRenderer.h"

#include "engine/RenderMessage.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace engine {

namespace {

// Time for the engine to come up before its first page, and slack beyond a page's own bound.
constexpr int kStartSlackMs = 30000;
constexpr int kAnswerSlackMs = 10000;

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
    return args;
}

int PageRenderer::Start(const RenderSettings& settings, std::string* why) {
    m_settings = settings;
    m_buffer.clear();
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
    RenderFields hello;
    if (!m_process.ReadUntil(m_buffer, kStartSlackMs, [&](std::string& b) {
            return TakeRenderMessage(b, hello) != RenderMessageIncomplete;
        }) ||
        hello["status"] != "ready") {
        m_process.Stop();
        if (why) *why = "ページを描画するプログラムが動きません（Qt WebEngine を読み込めません）";
        return PageNotRendered;
    }
    return PageRendered;
}

int PageRenderer::Render(const RenderRequest& request, RenderResult& result, std::string* why) {
    if (!m_process.Running() && !Start(m_settings, why)) return PageNotRendered;
    RenderFields fields{{"url", request.url},
                        {"html", request.html},
                        {"content-type", request.contentType},
                        {"cookies", request.cookies},
                        {"keep-scripts", request.keepScripts ? "1" : "0"},
                        {"timeout-ms", std::to_string(request.timeoutMs)},
                        {"max-requests", std::to_string(request.maxRequests)}};
    RenderFields answer;
    int taken = RenderMessageIncomplete;
    if (!m_process.Write(EncodeRenderMessage(fields)) ||
        !m_process.ReadUntil(m_buffer, request.timeoutMs + kAnswerSlackMs, [&](std::string& b) {
            return (taken = TakeRenderMessage(b, answer)) != RenderMessageIncomplete;
        }) ||
        taken != RenderMessageComplete) {
        // A renderer that hangs, died or talks nonsense is ended; the next page starts another.
        m_process.Stop();
        m_buffer.clear();
        if (why) *why = "ページを描画するプログラムが応答しません";
        return PageNotRendered;
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
