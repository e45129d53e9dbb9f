// The client settings an HTTP session works with: what a save or a program sets once for
// every request it makes (agent, cookies, logins, proxy, certificate checks), as against what
// each request asks for itself (HttpRequest).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

class CookieJar;
class HttpExchangeObserver;
class ReplaySource;

struct HttpClientSettings {
    // Sent with requests that name no agent of their own ("" sends none).
    std::string agent;
    // The cookies the sessions send and keep; shared by every session made with these
    // settings (null: no cookie engine).
    std::shared_ptr<CookieJar> cookies;
    // A netrc-format file with the logins of sites behind HTTP Basic or Digest authentication
    // ("" none). libcurl reads it for each request, so no password is held in memory here,
    // and a login is sent only to its own host, and only when the host asks for one.
    std::string credentialsFile;
    // The proxy every request goes through ("http://host:port", "socks5h://host:port"), and
    // the hosts reached without it. An empty proxy leaves both to the environment
    // (http_proxy, https_proxy, all_proxy, no_proxy), as libcurl reads it.
    std::string proxy;
    std::string noProxy;
    // The proxy's login ("" none).
    std::string proxyUser;
    std::string proxyPassword;
    // Certificates are taken unchecked: for a host with a self-signed certificate.
    bool acceptSelfSigned = false;
    // Told about every exchange of the sessions made with these settings, as it went over the
    // wire (null: none, and no cost).
    std::shared_ptr<HttpExchangeObserver> observer;
    // Where the answers come from instead of the network (a web archive the save copies a site
    // out of); null: the network. Shared by every session made with these settings.
    std::shared_ptr<ReplaySource> replay;

    // Nothing beyond what a session without settings does.
    bool Plain() const {
        return agent.empty() && !cookies && credentialsFile.empty() && proxy.empty() && !acceptSelfSigned && !observer &&
               !replay;
    }
};

// The settings of the sessions made without settings of their own. A program sets them once
// at its start, from its [WebOptions] defaults; until then they are plain.
void SetDefaultHttpSettings(HttpClientSettings settings);
HttpClientSettings DefaultHttpSettings();

// True when the environment names a proxy for the scheme of `url` (no_proxy is not weighed:
// libcurl decides that when it connects).
bool EnvironmentNamesProxy(std::string_view url);

}  // namespace platform
