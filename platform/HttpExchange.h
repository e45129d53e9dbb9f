// A look at each HTTP exchange as it went over the wire, for a caller that keeps a record of
// them (a web archive of the save). The client settings carry an observer; without one the
// client does no extra work at all.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// What is known of an exchange when its final response head has arrived.
struct HttpExchangeHead {
    std::string url;           // the URL this request went to (after any earlier redirect)
    std::string requestHead;   // request line and headers as sent, ending with the empty line
    std::string responseHead;  // status line and headers as received, ending with the empty line
    long status = 0;
    // The body is handed on with its content encoding (gzip, br ...) undone, so the response
    // head no longer describes it. Chunked transfer coding is always undone.
    bool contentDecoded = false;
    bool conditional = false;  // the request carried If-None-Match or If-Modified-Since
};

// One exchange: its body bytes as they arrive, then its end. May run on any thread (the
// thread of the transfer); must not throw.
class HttpExchangeRecorder {
public:
    virtual ~HttpExchangeRecorder() = default;
    virtual void Body(std::string_view bytes) = 0;
    // `complete`: the body arrived whole (false when the transfer broke or was stopped).
    virtual void End(bool complete) = 0;
};

class HttpExchangeObserver {
public:
    virtual ~HttpExchangeObserver() = default;
    // Any thread: an exchange's response head is complete. Null: the exchange is not wanted.
    virtual std::unique_ptr<HttpExchangeRecorder> Begin(const HttpExchangeHead& head) = 0;
};

// Splits what one transfer sends and receives into exchanges (a followed redirect is one
// more) and tells the observer about each. Used by the HTTP client only.
class HttpExchangeTap {
public:
    HttpExchangeTap(HttpExchangeObserver& observer, bool decodesContent, bool conditional)
        : m_observer(observer), m_decodesContent(decodesContent), m_conditional(conditional) {}
    ~HttpExchangeTap();

    void RequestSent(std::string_view headerBytes);
    // `currentUrl` is asked only when a response head completes.
    template <class UrlOf>
    void HeaderLine(std::string_view line, const UrlOf& currentUrl) {
        if (NoteHeaderLine(line)) Open(currentUrl());
    }
    void BodyBytes(std::string_view bytes);
    void Finish(bool complete);

private:
    bool NoteHeaderLine(std::string_view line);  // true: a final response head is complete
    void Open(std::string url);

    HttpExchangeObserver& m_observer;
    bool m_decodesContent;
    bool m_conditional;
    std::string m_request;
    std::string m_response;
    bool m_skip = false;        // a proxy's CONNECT: no exchange of the site
    bool m_headDone = false;    // the current response head is complete
    std::unique_ptr<HttpExchangeRecorder> m_recorder;
};

}  // namespace platform
