#include "platform/CookieJar.h"

#include <curl/curl.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/HttpClient.h"
#include "platform/PrivateFile.h"

namespace platform {

struct CookieJar::Shared {
    CURLSH* share = nullptr;
    // The fetch-ahead threads run transfers at once; libcurl asks for the lock of the data it
    // touches.
    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;
    CURL* loader = nullptr;  // an idle handle that feeds cookie lines into the share
};

namespace {

void Lock(CURL*, curl_lock_data data, curl_lock_access, void* user) {
    auto* shared = static_cast<std::array<std::mutex, CURL_LOCK_DATA_LAST>*>(user);
    (*shared)[static_cast<size_t>(data) % CURL_LOCK_DATA_LAST].lock();
}

void Unlock(CURL*, curl_lock_data data, void* user) {
    auto* shared = static_cast<std::array<std::mutex, CURL_LOCK_DATA_LAST>*>(user);
    (*shared)[static_cast<size_t>(data) % CURL_LOCK_DATA_LAST].unlock();
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t from = 0;;) {
        const size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from));
        if (tab == std::string_view::npos) return fields;
        from = tab + 1;
    }
}

bool IsFlag(std::string_view text) { return text == "TRUE" || text == "FALSE"; }

bool IsDigits(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    if (text.empty() || text.size() > 19) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// domain, include-subdomains, path, secure, expiry, name, value; "#HttpOnly_" may lead the
// domain, as browsers write it.
bool IsCookieLine(std::string_view line) {
    if (line.find('\0') != std::string_view::npos) return false;
    const std::vector<std::string_view> f = Fields(line);
    if (f.size() != 7) return false;
    std::string_view domain = f[0];
    if (domain.starts_with("#HttpOnly_")) domain.remove_prefix(10);
    return !domain.empty() && IsFlag(f[1]) && !f[2].empty() && f[2].front() == '/' && IsFlag(f[3]) &&
           IsDigits(f[4]) && !f[5].empty();
}

}  // namespace

CookieJar::CookieJar() : m_shared(std::make_unique<Shared>()) {
    HttpGlobalInit();
    m_shared->share = curl_share_init();
    if (!m_shared->share) return;
    curl_share_setopt(m_shared->share, CURLSHOPT_LOCKFUNC, Lock);
    curl_share_setopt(m_shared->share, CURLSHOPT_UNLOCKFUNC, Unlock);
    curl_share_setopt(m_shared->share, CURLSHOPT_USERDATA, &m_shared->locks);
    curl_share_setopt(m_shared->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
}

CookieJar::~CookieJar() {
    if (m_shared->loader) {
        // The loader's empty cookie file name would otherwise outlive it (libcurl 7.88).
        curl_easy_setopt(m_shared->loader, CURLOPT_COOKIEFILE, nullptr);
        curl_easy_cleanup(m_shared->loader);
    }
    if (m_shared->share) curl_share_cleanup(m_shared->share);
}

void* CookieJar::Share() const { return m_shared->share; }

size_t CookieJar::AddCookiesTxt(std::string_view text, size_t* badLines) {
    size_t taken = 0, bad = 0;
    if (m_shared->share && !m_shared->loader) {
        m_shared->loader = curl_easy_init();
        if (m_shared->loader) {
            curl_easy_setopt(m_shared->loader, CURLOPT_SHARE, m_shared->share);
            curl_easy_setopt(m_shared->loader, CURLOPT_COOKIEFILE, "");
        }
    }
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool comment = line.starts_with("#") && !line.starts_with("#HttpOnly_");
        if (line.find_first_not_of(" \t") == std::string::npos || comment) continue;
        if (!IsCookieLine(line) || !m_shared->loader ||
            curl_easy_setopt(m_shared->loader, CURLOPT_COOKIELIST, line.c_str()) != CURLE_OK) {
            ++bad;
            continue;
        }
        ++taken;
    }
    if (badLines) *badLines = bad;
    return taken;
}

std::string CookieJar::CookiesTxt() const {
    std::string text;
    if (!m_shared->share) return text;
    CURL* reader = curl_easy_init();
    if (!reader) return text;
    curl_easy_setopt(reader, CURLOPT_SHARE, m_shared->share);
    curl_slist* cookies = nullptr;
    if (curl_easy_getinfo(reader, CURLINFO_COOKIELIST, &cookies) == CURLE_OK)
        for (const curl_slist* c = cookies; c; c = c->next) text += std::string(c->data) + "\n";
    curl_slist_free_all(cookies);
    curl_easy_cleanup(reader);
    return text;
}

CookieFileReport LoadCookieFile(CookieJar& jar, const std::string& path) {
    CookieFileReport report;
    std::string text;
    const PrivateFileReport file = ReadPrivateFile(path, kMaxCookieFileBytes, text);
    report.openToOthers = file.openToOthers;
    report.error = file.error;
    if (!file.read) return report;
    report.cookies = jar.AddCookiesTxt(text, &report.badLines);
    report.result = report.badLines == 0 ? CookieFileRead : CookieFilePartly;
    return report;
}

}  // namespace platform
