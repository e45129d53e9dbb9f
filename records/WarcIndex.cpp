#include "records/WarcIndex.h"

#include <algorithm>
#include <cstdio>

#include "platform/ContentHash.h"
#include "platform/FileUtil.h"
#include "platform/ZipWriter.h"

namespace records {

namespace {

std::string Lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

// "YYYY-MM-DDThh:mm:ssZ" of a 14-digit timestamp.
std::string IsoOf(const std::string& ts) {
    if (ts.size() != 14) return ts;
    return ts.substr(0, 4) + "-" + ts.substr(4, 2) + "-" + ts.substr(6, 2) + "T" + ts.substr(8, 2) + ":" + ts.substr(10, 2) +
           ":" + ts.substr(12, 2) + "Z";
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string SurtKey(const std::string& url) {
    std::string rest = url.substr(0, url.find('#'));
    std::string scheme;
    if (const size_t colon = rest.find("://"); colon != std::string::npos) {
        scheme = Lowered(rest.substr(0, colon));
        rest = rest.substr(colon + 3);
    }
    const size_t pathStart = rest.find_first_of("/?");
    std::string authority = pathStart == std::string::npos ? rest : rest.substr(0, pathStart);
    std::string path = pathStart == std::string::npos ? "/" : rest.substr(pathStart);
    if (!path.empty() && path.front() == '?') path = "/" + path;
    authority = Lowered(authority.substr(authority.rfind('@') == std::string::npos ? 0 : authority.rfind('@') + 1));
    std::string host = authority, port;
    const size_t colon = authority.rfind(':');
    if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if ((scheme == "http" && port == "80") || (scheme == "https" && port == "443")) port.clear();
    if (host.rfind("www.", 0) == 0) host = host.substr(4);
    std::vector<std::string> labels = Split(host, '.');
    std::reverse(labels.begin(), labels.end());
    std::string key;
    for (size_t i = 0; i < labels.size(); ++i) key += (i ? "," : "") + labels[i];
    if (!port.empty()) key += ":" + port;
    const size_t question = path.find('?');
    key += ")" + Lowered(path.substr(0, question));
    if (question != std::string::npos) {
        std::vector<std::string> arguments = Split(Lowered(path.substr(question + 1)), '&');
        std::sort(arguments.begin(), arguments.end());
        key += "?";
        for (size_t i = 0; i < arguments.size(); ++i) key += (i ? "&" : "") + arguments[i];
    }
    return key;
}

std::string CdxjText(const std::vector<WrittenCapture>& captures, const std::string& warcName) {
    std::vector<std::string> lines;
    lines.reserve(captures.size());
    for (const WrittenCapture& c : captures) {
        std::string json = "{\"url\": " + JsonString(c.url);
        if (!c.mime.empty()) json += ", \"mime\": " + JsonString(c.mime);
        json += ", \"status\": \"" + std::to_string(c.status) + "\"";
        if (!c.digest.empty()) json += ", \"digest\": " + JsonString(c.digest);
        json += ", \"length\": \"" + std::to_string(c.length) + "\", \"offset\": \"" + std::to_string(c.offset) +
                "\", \"filename\": " + JsonString(warcName) + "}";
        lines.push_back(SurtKey(c.url) + " " + c.timestamp + " " + json + "\n");
    }
    // The key and the time lead each line, so the lines' byte order is the index's order.
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

std::string PagesJsonl(const std::vector<WrittenCapture>& captures) {
    std::string text = "{\"format\": \"json-pages-1.0\", \"id\": \"pages\", \"title\": \"All Pages\"}\n";
    std::vector<std::string> seen;
    for (const WrittenCapture& c : captures) {
        if (c.status != 200 || (c.mime != "text/html" && c.mime != "application/xhtml+xml")) continue;
        if (std::find(seen.begin(), seen.end(), c.url) != seen.end()) continue;
        seen.push_back(c.url);
        text += "{\"url\": " + JsonString(c.url) + ", \"ts\": \"" + IsoOf(c.timestamp) + "\"}\n";
    }
    return text;
}

int WriteWacz(const std::string& waczPath, const std::string& warcPath, const std::string& cdxj, const std::string& pages,
              const WaczAbout& about, std::string& error) {
    const std::string warcName = platform::NameOf(warcPath);
    const std::string warcHash = platform::FileContentHash(warcPath);
    if (warcHash.empty()) {
        error = "cannot read " + warcPath;
        return 0;
    }
    auto resource = [](const std::string& path, const std::string& hash, int64_t bytes) {
        return "{\"name\": " + JsonString(path.substr(path.rfind('/') + 1)) + ", \"path\": " + JsonString(path) +
               ", \"hash\": \"sha256:" + hash + "\", \"bytes\": " + std::to_string(bytes) + "}";
    };
    const std::string package =
        "{\n  \"profile\": \"data-package\",\n  \"wacz_version\": \"1.1.1\",\n  \"software\": " +
        JsonString(about.software) + ",\n  \"created\": " + JsonString(about.created) +
        (about.mainPage.empty() ? std::string() : ",\n  \"mainPageURL\": " + JsonString(about.mainPage)) +
        ",\n  \"resources\": [\n    " + resource("pages/pages.jsonl", platform::ContentHash(pages), static_cast<int64_t>(pages.size())) +
        ",\n    " + resource("indexes/index.cdxj", platform::ContentHash(cdxj), static_cast<int64_t>(cdxj.size())) +
        ",\n    " + resource("archive/" + warcName, warcHash, platform::FileSize(warcPath)) + "\n  ]\n}\n";
    platform::ZipWriter zip;
    if (!zip.Open(waczPath) || !zip.AddBytes("datapackage.json", package) || !zip.AddBytes("pages/pages.jsonl", pages) ||
        !zip.AddBytes("indexes/index.cdxj", cdxj) || !zip.AddFileStored("archive/" + warcName, warcPath) || !zip.Commit()) {
        error = zip.Error();
        return 0;
    }
    return 1;
}

}  // namespace records
