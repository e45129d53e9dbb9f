#include "engine/ClientSettings.h"

#include <algorithm>

#include "platform/CookieJar.h"
#include "platform/NetrcFile.h"
#include "platform/PrivateFile.h"

namespace engine {

namespace {

// A login file is a few lines; anything far larger is no login file.
constexpr size_t kMaxLoginFileBytes = 1u << 20;

void Note(std::vector<std::string>* notes, std::string line) {
    if (notes) notes->push_back(std::move(line));
}

void NoteOpenFile(std::vector<std::string>* notes, const char* what, const std::string& path) {
    Note(notes, std::string("◆注意：") + what + "がほかのユーザーにも読める状態です（chmod 600 をお勧めします）：" + path);
}

// The bytes of a login file do not outlive their use.
void Forget(std::string& secret) {
    std::fill(secret.begin(), secret.end(), '\0');
    secret.clear();
}

// The cookie file's lines stay in the jar: its contents reach no log, record or copy.
std::shared_ptr<platform::CookieJar> CookieJarFor(const NamedOptions& named, ClientUse use,
                                                   std::vector<std::string>* notes) {
    const std::string& path = named.cookieFile;
    if (path.empty() && use == ClientUse::Program) return nullptr;
    auto jar = std::make_shared<platform::CookieJar>();
    if (path.empty()) return jar;
    const platform::CookieFileReport report = platform::LoadCookieFile(*jar, path);
    if (report.result == platform::CookieFileUnreadable) {
        Note(notes, "クッキーファイルを読めません（" + report.error + "）。クッキーファイルなしで保存を続けます：" + path);
        return use == ClientUse::Save ? jar : nullptr;
    }
    if (report.openToOthers) NoteOpenFile(notes, "クッキーファイル", path);
    if (report.result == platform::CookieFilePartly)
        Note(notes, "クッキーファイルの" + std::to_string(report.badLines) +
                        "行は cookies.txt 形式の行ではないため、読み飛ばしました：" + path);
    return jar;
}

// Reads a login file for its checks; false (with a note) when it cannot be used.
bool ReadLoginFile(const std::string& path, const char* what, std::string& text, std::vector<std::string>* notes) {
    const platform::PrivateFileReport file = platform::ReadPrivateFile(path, kMaxLoginFileBytes, text);
    if (!file.read) {
        Note(notes, std::string(what) + "を読めません（" + file.error + "）。認証なしで続けます：" + path);
        return false;
    }
    if (file.openToOthers) NoteOpenFile(notes, what, path);
    if (platform::CountNetrcEntries(text) == 0) {
        Note(notes, std::string(what) + "に machine 行も default 行もありません：" + path);
        Forget(text);
        return false;
    }
    return true;
}

void SetCredentials(const NamedOptions& named, platform::HttpClientSettings& settings,
                    std::vector<std::string>* notes) {
    if (named.credentialsFile.empty()) return;
    std::string text;
    // libcurl reads the file itself for each request; here it is only checked.
    if (ReadLoginFile(named.credentialsFile, "認証情報ファイル", text, notes))
        settings.credentialsFile = named.credentialsFile;
    Forget(text);
}

void SetProxy(const NamedOptions& named, platform::HttpClientSettings& settings, std::vector<std::string>* notes) {
    if (named.proxy.empty()) {
        if (!named.proxyCredentialsFile.empty())
            Note(notes, "プロキシの認証情報ファイルは proxy を指定したときだけ使います：" + named.proxyCredentialsFile);
        return;
    }
    settings.proxy = ProxyWithoutLogin(named.proxy);
    settings.noProxy = named.noProxy;
    if (settings.proxy != named.proxy)
        Note(notes, "◆注意：proxy に書かれたユーザー名とパスワードは使いません（proxy-credentials-file で指定してください）。");
    Note(notes, "プロキシを使います：" + settings.proxy);
    if (named.proxyCredentialsFile.empty()) return;
    std::string text;
    if (!ReadLoginFile(named.proxyCredentialsFile, "プロキシの認証情報ファイル", text, notes)) return;
    platform::NetrcLogin login;
    if (platform::FindNetrcLogin(text, ProxyHost(settings.proxy), login)) {
        settings.proxyUser = std::move(login.login);
        settings.proxyPassword = std::move(login.password);
    } else {
        Note(notes, "プロキシの認証情報ファイルに " + ProxyHost(settings.proxy) + " の行も default 行もありません：" +
                        named.proxyCredentialsFile);
    }
    Forget(login.password);
    Forget(text);
}

// Where the authority of the proxy text begins and ends.
std::pair<size_t, size_t> Authority(const std::string& proxy) {
    const size_t scheme = proxy.find("://");
    const size_t from = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t to = proxy.find_first_of("/?#", from);
    return {from, to == std::string::npos ? proxy.size() : to};
}

}  // namespace

std::string ProxyWithoutLogin(const std::string& proxy) {
    const auto [from, to] = Authority(proxy);
    const size_t at = proxy.rfind('@', to - 1);
    if (at == std::string::npos || at < from || to == from) return proxy;
    return proxy.substr(0, from) + proxy.substr(at + 1);
}

std::string ProxyHost(const std::string& proxy) {
    const std::string bare = ProxyWithoutLogin(proxy);
    const auto [from, to] = Authority(bare);
    const std::string authority = bare.substr(from, to - from);
    if (!authority.empty() && authority.front() == '[') {
        const size_t close = authority.find(']');
        return close == std::string::npos ? std::string() : authority.substr(1, close - 1);
    }
    return authority.substr(0, authority.find(':'));
}

platform::HttpClientSettings MakeClientSettings(const NamedOptions& named, ClientUse use,
                                                std::vector<std::string>* notes) {
    platform::HttpClientSettings settings;
    settings.cookies = CookieJarFor(named, use, notes);
    SetCredentials(named, settings, notes);
    SetProxy(named, settings, notes);
    settings.acceptSelfSigned = named.acceptSelfSigned;
    if (named.acceptSelfSigned)
        Note(notes, "◆◆警告◆◆ サーバーの証明書を検証しません（accept-self-signed）。通信の相手が本物のサーバーか"
                    "確かめられず、途中で読まれたり書き換えられたりしても気づけません。");
    return settings;
}

}  // namespace engine
