// Starts tests/support/test_server.py on 127.0.0.1 and a free port, serving one folder.
// Behaviour per path comes from a rules file the test writes (see test_server.py).
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class LoopbackServer {
public:
    // root: folder to serve. rules: JSON text of per-path behaviour ("" for none).
    // substitutions: "NAME=VALUE" items; "@NAME@" in served text files becomes VALUE.
    // tls: HTTPS with a self-signed certificate.
    explicit LoopbackServer(const std::string& root, const std::string& rulesJson = "",
                            const std::string& host = "127.0.0.1",
                            const std::vector<std::string>& substitutions = {}, bool tls = false);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Running() const { return m_port > 0; }
    int Port() const { return m_port; }
    // "http://127.0.0.1:PORT" ("https://" with tls; no trailing slash)
    std::string BaseUrl() const;
    // Requests seen so far, one "METHOD PATH RANGE" line each (from the server's log file).
    std::string RequestLog() const;
    // When each request arrived, in seconds of a monotonic clock, in the order of the log.
    std::vector<double> RequestTimes() const;
    // Every byte the server sent so far (status lines and headers included).
    long long BytesSent() const;
    // "SHA1 STATUS PATH" per answer with a body: the body's SHA-1 in hex, before any content
    // coding (the server's log file, as it is).
    std::string BodiesSent() const;
    // Replaces the rules; the server reads them again for its next request.
    bool SetRules(const std::string& rulesJson);

private:
    int m_pid = -1;
    int m_port = 0;
    std::string m_host;
    bool m_tls = false;
    std::string m_dir;  // private temporary folder holding the log and the rules
    std::string m_logPath;
    std::string m_rulesPath;
};

// Starts tests/support/test_proxy.py on 127.0.0.1 and a free port: a proxy that carries
// requests to loopback hosts only and logs each one it carried.
class LoopbackProxy {
public:
    // login: "USER:PASSWORD" the proxy demands (Basic), or "" for none.
    explicit LoopbackProxy(const std::string& login = "");
    ~LoopbackProxy();
    LoopbackProxy(const LoopbackProxy&) = delete;
    LoopbackProxy& operator=(const LoopbackProxy&) = delete;

    bool Running() const { return m_port > 0; }
    // "http://127.0.0.1:PORT"
    std::string Url() const;
    // One line per request: "GET http://127.0.0.1:PORT/path", "CONNECT host:port", or
    // "REFUSED ..." for one without the demanded login.
    std::vector<std::string> Carried() const;

private:
    int m_pid = -1;
    int m_port = 0;
    std::string m_dir;
    std::string m_logPath;
};

}  // namespace testsupport
