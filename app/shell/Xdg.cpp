#include "app/shell/Xdg.h"

#include <cstring>

#include "platform/ByteString.h"
#include "platform/Environment.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"

namespace appshell::xdg {

namespace {

constexpr size_t kKeyFileLimit = 1 << 20;  // desktop entries and lists are small

std::string Env(const char* name) { return platform::EnvironmentValue(name); }

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// XDG base directories are absolute; a relative entry is ignored.
std::string AbsoluteOr(const std::string& value, const std::string& fallback) {
    return !value.empty() && value[0] == '/' ? WithoutTrailingSlash(value) : fallback;
}

std::vector<std::string> SplitList(const std::string& value, bool absoluteOnly) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find(':', start);
        if (end == std::string::npos) end = value.size();
        std::string part = value.substr(start, end - start);
        if (!part.empty() && (!absoluteOnly || part[0] == '/')) parts.push_back(WithoutTrailingSlash(part));
        start = end + 1;
    }
    return parts;
}

std::string Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t' || text[b] == '\r')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r')) --e;
    return std::string(text.substr(b, e - b));
}

// The general escapes of string values; other backslashes are left for the quoting rule.
std::string UnescapeString(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            char next = value[i + 1];
            const char* mapped = next == 's' ? " " : next == 'n' ? "\n" : next == 't' ? "\t" : next == 'r' ? "\r"
                               : next == '\\' ? "\\" : nullptr;
            if (mapped) {
                out += mapped;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

bool IsFieldCode(const std::string& token) {
    return token.size() == 2 && token[0] == '%' && std::strchr("fFuUdDnNickvm", token[1]) != nullptr;
}

}  // namespace

Dirs Dirs::FromEnvironment() {
    Dirs dirs;
    const std::string home = platform::HomeFolder();
    dirs.dataHome = AbsoluteOr(Env("XDG_DATA_HOME"), home + "/.local/share");
    dirs.configHome = AbsoluteOr(Env("XDG_CONFIG_HOME"), home + "/.config");
    dirs.dataDirs = SplitList(Env("XDG_DATA_DIRS"), true);
    if (dirs.dataDirs.empty()) dirs.dataDirs = {"/usr/local/share", "/usr/share"};
    dirs.configDirs = SplitList(Env("XDG_CONFIG_DIRS"), true);
    if (dirs.configDirs.empty()) dirs.configDirs = {"/etc/xdg"};
    for (const std::string& desktop : SplitList(Env("XDG_CURRENT_DESKTOP"), false))
        dirs.desktops.push_back(platform::AsciiLowerCopy(desktop));
    return dirs;
}

std::string KeyFileValue(const std::string& text, const std::string& group, const std::string& key, bool* found) {
    if (found) *found = false;
    bool inGroup = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            inGroup = line == "[" + group + "]";
            continue;
        }
        size_t eq = line.find('=');
        if (!inGroup || eq == std::string::npos || Trim(std::string_view(line).substr(0, eq)) != key) continue;
        if (found) *found = true;
        return Trim(std::string_view(line).substr(eq + 1));
    }
    return {};
}

std::string DesktopEntryValue(const std::string& path, const std::string& key) {
    std::string text;
    if (!platform::ReadWholeFile(path, text, kKeyFileLimit)) return {};
    return KeyFileValue(text, "Desktop Entry", key);
}

std::string FindDesktopFile(const Dirs& dirs, const std::string& id) {
    if (id.empty() || id.find('/') != std::string::npos || id.find("..") != std::string::npos) return {};
    std::vector<std::string> bases{dirs.dataHome};
    bases.insert(bases.end(), dirs.dataDirs.begin(), dirs.dataDirs.end());
    for (const std::string& base : bases) {
        const std::string folder = base + "/applications/";
        if (platform::IsRegularFile(folder + id)) return folder + id;
        for (size_t dash = id.find('-'); dash != std::string::npos; dash = id.find('-', dash + 1)) {
            const std::string nested = folder + id.substr(0, dash) + "/" + id.substr(dash + 1);
            if (platform::IsRegularFile(nested)) return nested;
        }
    }
    return {};
}

std::vector<std::string> ExecArguments(const std::string& execValue) {
    const std::string text = UnescapeString(execValue);
    std::vector<std::string> tokens;
    std::string current;
    bool inToken = false, inQuote = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inQuote) {
            if (c == '\\' && i + 1 < text.size() && std::strchr("\"`$\\", text[i + 1]))
                current += text[++i];
            else if (c == '"')
                inQuote = false;
            else
                current += c;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inToken) tokens.push_back(current);
            current.clear();
            inToken = false;
        } else {
            inToken = true;
            if (c == '"')
                inQuote = true;
            else
                current += c;
        }
    }
    if (inToken) tokens.push_back(current);

    std::vector<std::string> arguments;
    for (std::string& token : tokens) {
        if (IsFieldCode(token)) continue;
        platform::ReplaceAll(token, "%%", "%");
        arguments.push_back(token);
    }
    return arguments;
}

bool QuoteExecArgument(const std::string& argument, std::string& out) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
        if (std::strchr("\"`$\\", c)) quoted += '\\';
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    }
    quoted += '"';
    // The string escapes apply before the quoting rule when read, so backslashes double.
    out.clear();
    for (char c : quoted) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return true;
}

std::string FindOnPath(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos)
        return platform::IsRegularFile(name) && platform::IsExecutableByUser(name) ? name : std::string();
    for (const std::string& folder : SplitList(Env("PATH"), false)) {
        const std::string candidate = folder + "/" + name;
        if (platform::IsRegularFile(candidate) && platform::IsExecutableByUser(candidate)) return candidate;
    }
    return {};
}

void RunDatabaseTool(const std::string& tool, const std::string& folder) {
    const std::string program = FindOnPath(tool);
    if (program.empty() || !platform::IsDirectory(folder)) return;
    int exitCode = 0;
    // Only a cache is refreshed; the desktop falls back to the files themselves without it.
    (void)platform::StartProcess(program, {folder}, true, &exitCode);
}

}  // namespace appshell::xdg
