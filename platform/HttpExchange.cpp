#include "platform/HttpExchange.h"

#include <charconv>

namespace platform {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = text[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (a != prefix[i]) return false;
    }
    return true;
}

long StatusOf(std::string_view head) {
    const size_t space = head.find(' ');
    if (space == std::string_view::npos) return 0;
    long code = 0;
    const auto [end, ec] = std::from_chars(head.data() + space + 1, head.data() + head.size(), code);
    (void)end;
    return ec == std::errc() ? code : 0;
}

// Whether the head names a content encoding other than identity.
bool HeadIsEncoded(std::string_view head) {
    size_t at = 0;
    while (at < head.size()) {
        size_t end = head.find('\n', at);
        if (end == std::string_view::npos) end = head.size();
        std::string_view line = head.substr(at, end - at);
        at = end + 1;
        if (!StartsWithNoCase(line, "content-encoding:")) continue;
        std::string_view value = line.substr(17);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.remove_suffix(1);
        if (!value.empty() && !StartsWithNoCase(value, "identity")) return true;
    }
    return false;
}

}  // namespace

HttpExchangeTap::~HttpExchangeTap() { Finish(false); }

void HttpExchangeTap::RequestSent(std::string_view headerBytes) {
    // A new request after a response began: the previous exchange is over (a redirect, or a
    // second round of an authentication).
    if (!m_response.empty() || m_recorder) {
        Finish(true);
        m_request.clear();
    }
    // A head already complete is followed by a new one when libcurl sends the request again
    // (a reused connection that had gone away): only the last one went out for good.
    if (m_request.size() >= 4 && m_request.compare(m_request.size() - 4, 4, "\r\n\r\n") == 0) m_request.clear();
    if (m_request.empty()) m_skip = StartsWithNoCase(headerBytes, "connect ");
    m_request.append(headerBytes);
}

bool HttpExchangeTap::NoteHeaderLine(std::string_view line) {
    if (StartsWithNoCase(line, "http/")) {
        if (m_headDone) Finish(true);  // an answer that follows without a new request
        m_response.clear();
        m_headDone = false;
    }
    if (m_headDone) return false;  // trailers of a chunked body
    m_response.append(line);
    if (line != "\r\n" && line != "\n") return false;
    const long status = StatusOf(m_response);
    if (status >= 100 && status < 200) {  // an interim answer; the real one follows
        m_response.clear();
        return false;
    }
    m_headDone = true;
    return !m_skip && status > 0;
}

void HttpExchangeTap::Open(std::string url) {
    HttpExchangeHead head;
    head.url = std::move(url);
    head.requestHead = m_request;
    head.responseHead = m_response;
    head.status = StatusOf(m_response);
    head.contentDecoded = m_decodesContent && HeadIsEncoded(m_response);
    head.conditional = m_conditional;
    m_recorder = m_observer.Begin(head);
}

void HttpExchangeTap::BodyBytes(std::string_view bytes) {
    if (m_recorder && !bytes.empty()) m_recorder->Body(bytes);
}

void HttpExchangeTap::Finish(bool complete) {
    if (m_recorder) m_recorder->End(complete);
    m_recorder.reset();
    m_response.clear();
    m_headDone = false;
}

}  // namespace platform
