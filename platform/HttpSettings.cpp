#include "platform/HttpSettings.h"

#include <cstdlib>
#include <mutex>

#include "platform/CookieJar.h"

namespace platform {

namespace {

std::mutex g_lock;
HttpClientSettings& Defaults() {
    static HttpClientSettings settings;
    return settings;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

void SetDefaultHttpSettings(HttpClientSettings settings) {
    std::lock_guard lock(g_lock);
    Defaults() = std::move(settings);
}

HttpClientSettings DefaultHttpSettings() {
    std::lock_guard lock(g_lock);
    return Defaults();
}

bool EnvironmentNamesProxy(std::string_view url) {
    if (Set("all_proxy") || Set("ALL_PROXY")) return true;
    // libcurl reads only the lower-case http_proxy: a CGI program's HTTP_PROXY comes from
    // the request.
    if (StartsWithNoCase(url, "http://")) return Set("http_proxy");
    if (StartsWithNoCase(url, "https://")) return Set("https_proxy") || Set("HTTPS_PROXY");
    return false;
}

}  // namespace platform
