#include "engine/RobotsRules.h"

#include <cmath>
#include <cstdlib>

namespace engine {

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }
bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}
char UpperHex(int v) { return "0123456789ABCDEF"[v & 15]; }
void AppendEscaped(std::string& out, unsigned char c) {
    out += '%';
    out += UpperHex(c >> 4);
    out += UpperHex(c);
}

// Both sides of a comparison in one form: an escaped unreserved character stands for itself,
// other escapes keep upper-case hex, and octets outside printable ASCII are escaped (a rule
// written in UTF-8 then matches the escaped path a browser sends).
std::string Normalise(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '%' && i + 2 < text.size() && IsHex(text[i + 1]) && IsHex(text[i + 2])) {
            const unsigned char v = static_cast<unsigned char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            if (IsUnreserved(v)) out += static_cast<char>(v);
            else AppendEscaped(out, v);
            i += 2;
        } else if (c <= 0x20 || c >= 0x7f) {
            AppendEscaped(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// A pattern matches from the path's start; "*" stands for any run of octets and a final "$"
// ties the pattern to the path's end. Greedy with one step back per "*": linear for one star
// and at worst pattern x path for many, both short.
bool Matches(std::string_view pattern, std::string_view path) {
    bool anchored = !pattern.empty() && pattern.back() == '$';
    if (anchored) pattern.remove_suffix(1);
    size_t p = 0, s = 0, starP = std::string_view::npos, starS = 0;
    while (s < path.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starS = s;
        } else if (p < pattern.size() && pattern[p] == path[s]) {
            ++p;
            ++s;
        } else if (p == pattern.size() && !anchored) {
            return true;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            s = ++starS;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool EqualsAsciiI(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x | 0x20);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y | 0x20);
        if (x != y) return false;
    }
    return true;
}

bool ValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
        if (n == 9 || i + n >= s.size()) return false;
        for (size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80) return false;
        i += n + 1;
    }
    return true;
}

// "1", "2.5": seconds as written; false for anything else.
bool ParseSeconds(std::string_view text, double& seconds) {
    if (text.empty() || text.size() > 32) return false;
    bool digits = false, dot = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') digits = true;
        else if (c == '.' && !dot) dot = true;
        else return false;
    }
    if (!digits) return false;
    seconds = std::strtod(std::string(text).c_str(), nullptr);
    return std::isfinite(seconds);
}

struct Group {
    bool forUs = false, forAll = false;
    std::vector<RobotsRule> rules;
    int64_t crawlDelayMs = -1;
};

void NoteProblem(RobotsRules& out, const char* what) {
    if (out.malformed) return;
    out.malformed = true;
    out.problem = what;
}

}  // namespace

bool RobotsRules::Allows(std::string_view pathAndQuery) const {
    if (rules.empty()) return true;
    const std::string path = Normalise(pathAndQuery);
    size_t best = 0;
    bool found = false, allowed = true;
    for (const RobotsRule& rule : rules) {
        if (!Matches(rule.pattern, path)) continue;
        // The longest pattern decides; between equals Allow wins.
        const size_t length = rule.pattern.size();
        if (!found || length > best) {
            allowed = rule.allow;
            best = length;
            found = true;
        } else if (length == best && rule.allow) {
            allowed = true;
        }
    }
    return allowed;
}

RobotsRules ParseRobots(std::string_view text, std::string_view productToken) {
    RobotsRules out;
    if (text.size() > kRobotsMaxBytes) {
        text = text.substr(0, kRobotsMaxBytes);
        NoteProblem(out, "大き過ぎるため先頭だけを読みました");
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (text.find('\0') != std::string_view::npos) NoteProblem(out, "テキストではありません");
    else if (!ValidUtf8(text)) NoteProblem(out, "UTF-8 ではありません");

    std::vector<Group> groups;
    bool inAgents = false;  // the last line read was a User-agent line
    size_t unknownLines = 0, orphanLines = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (const size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        line = Trim(line);
        if (line.empty()) continue;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            ++unknownLines;
            continue;
        }
        const std::string_view key = Trim(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        if (EqualsAsciiI(key, "user-agent")) {
            if (!inAgents) groups.emplace_back();
            inAgents = true;
            // The token ends where a product token may not go on ("Sitrova/1.0" names Sitrova).
            std::string_view token = value.substr(0, value.find_first_of(" \t/"));
            if (token == "*") groups.back().forAll = true;
            else if (!token.empty() && EqualsAsciiI(token, productToken)) groups.back().forUs = true;
            continue;
        }
        if (EqualsAsciiI(key, "sitemap")) {
            if (!value.empty()) out.sitemaps.emplace_back(value);
            continue;
        }
        const bool allow = EqualsAsciiI(key, "allow");
        const bool disallow = EqualsAsciiI(key, "disallow");
        const bool delay = EqualsAsciiI(key, "crawl-delay");
        if (!allow && !disallow && !delay) {
            ++unknownLines;
            continue;
        }
        if (groups.empty()) {  // a rule before any User-agent line belongs to no one
            ++orphanLines;
            continue;
        }
        inAgents = false;
        Group& group = groups.back();
        if (delay) {
            double seconds = 0;
            if (!ParseSeconds(value, seconds)) {
                ++unknownLines;
                continue;
            }
            const double ms = std::round(seconds * 1000.0);
            group.crawlDelayMs = ms >= kRobotsMaxCrawlDelayMs ? int64_t{kRobotsMaxCrawlDelayMs} : static_cast<int64_t>(ms);
            continue;
        }
        if (value.empty()) continue;  // "Disallow:" with nothing allows everything
        group.rules.push_back({Normalise(value), allow});
    }
    if (groups.empty() && unknownLines + orphanLines > 0)
        NoteProblem(out, "User-agent の行がありません");
    else if (unknownLines > 0)
        NoteProblem(out, "読めない行がありました");

    // Every group naming our token counts, else every group for "*".
    bool ours = false;
    for (const Group& g : groups) ours = ours || g.forUs;
    for (const Group& g : groups) {
        if (ours ? !g.forUs : !g.forAll) continue;
        out.rules.insert(out.rules.end(), g.rules.begin(), g.rules.end());
        if (g.crawlDelayMs >= 0) out.crawlDelayMs = g.crawlDelayMs;
    }
    return out;
}

std::string RobotsPathOf(std::string_view url) {
    const size_t scheme = url.find("://");
    std::string_view rest = scheme == std::string_view::npos ? url : url.substr(scheme + 3);
    rest = rest.substr(0, rest.find('#'));
    const size_t path = rest.find_first_of("/?");
    if (path == std::string_view::npos) return "/";
    std::string out(rest.substr(path));
    if (out.front() == '?') out.insert(out.begin(), '/');
    return out;
}

}  // namespace engine
