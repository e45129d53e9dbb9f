#include "platform/NetrcFile.h"

#include <vector>

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The tokens of the file: words separated by blanks, or double-quoted words with backslash
// escapes, as libcurl reads them. Comments ("#" to the end of the line) and a macdef's body
// (up to an empty line) are no tokens.
std::vector<std::string> Tokens(std::string_view text) {
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i >= text.size()) break;
        if (text[i] == '#') {  // a comment, to the end of its line
            const size_t end = text.find('\n', i);
            i = end == std::string_view::npos ? text.size() : end + 1;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size()) ++i;
                word += text[i];
            }
            ++i;
        } else {
            while (i < text.size() && !IsBlank(text[i])) word += text[i++];
        }
        if (word == "macdef") {
            const size_t blankLine = text.find("\n\n", i);
            i = blankLine == std::string_view::npos ? text.size() : blankLine + 2;
            continue;
        }
        tokens.push_back(std::move(word));
    }
    return tokens;
}

struct Entry {
    bool isDefault = false;
    std::string machine;
    NetrcLogin login;
};

std::vector<Entry> Entries(std::string_view text) {
    const std::vector<std::string> tokens = Tokens(text);
    std::vector<Entry> entries;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::string& word = tokens[i];
        const bool hasValue = i + 1 < tokens.size();
        if (word == "machine" && hasValue) {
            entries.push_back({false, tokens[++i], {}});
        } else if (word == "default") {
            entries.push_back({true, {}, {}});
        } else if (word == "login" && hasValue && !entries.empty()) {
            entries.back().login.login = tokens[++i];
        } else if (word == "password" && hasValue && !entries.empty()) {
            entries.back().login.password = tokens[++i];
        } else if (word == "account" && hasValue) {
            ++i;
        }
    }
    return entries;
}

}  // namespace

bool FindNetrcLogin(std::string_view text, std::string_view host, NetrcLogin& found) {
    const std::vector<Entry> entries = Entries(text);
    for (const Entry& entry : entries) {
        if (!entry.isDefault && SameNoCase(entry.machine, host)) {
            found = entry.login;
            return true;
        }
    }
    for (const Entry& entry : entries) {
        if (entry.isDefault) {
            found = entry.login;
            return true;
        }
    }
    return false;
}

size_t CountNetrcEntries(std::string_view text) { return Entries(text).size(); }

}  // namespace platform
