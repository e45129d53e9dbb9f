#include "engine/SafeLocalPath.h"

#include <vector>

#include "platform/ByteString.h"

namespace engine {

std::string_view PathProblemText(PathProblem problem) {
    switch (problem) {
    case PathProblem::Outside: return "保存フォルダの外を指すため";
    case PathProblem::BadName: return "ファイル名に使えない文字を含むため";
    case PathProblem::TooLong: return "パスが長すぎるため";
    case PathProblem::None: break;
    }
    return {};
}

PathProblem CheckNameFromLink(std::string_view name) {
    if (name.find('\0') != std::string_view::npos || name.find('\\') != std::string_view::npos)
        return PathProblem::BadName;
    if (name.size() > kNameMax) return PathProblem::TooLong;
    // A server decodes "%2e" to "."; such a name would walk folders like a plain dot.
    std::string decoded;
    for (size_t i = 0; i < name.size() && decoded.size() < 3; ++i) {
        if (name[i] == '.') {
            decoded += '.';
        } else if (platform::StartsWithI(name.substr(i), "%2e")) {
            decoded += '.';
            i += 2;
        } else {
            return PathProblem::None;
        }
    }
    if (decoded == "." || decoded == "..") return PathProblem::Outside;
    return PathProblem::None;
}

std::string QueryAsNamePart(std::string_view tail) {
    std::string out;
    out.reserve(tail.size());
    for (char c : tail) {
        if (c == '/') out += "%2F";
        else if (c == '\\') out += "%5C";
        else out += c;
    }
    return out;
}

namespace {

// Most paths are in their plain form already (no empty, "." or ".." name): they stay as they
// are, and the walk over their names need not build anything.
bool IsPlainPath(std::string_view path) {
    size_t start = !path.empty() && path.front() == '/' ? 1 : 0;
    if (start >= path.size()) return true;
    for (;;) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (end == path.size()) return true;
        start = end + 1;
    }
}

bool IsInsidePlain(std::string_view p, std::string_view f) {
    if (f.empty()) return false;
    if (p == f) return true;
    if (f == "/") return !p.empty() && p.front() == '/';
    return p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == '/';
}

}  // namespace

std::string NormaliseLocalPath(std::string_view path) {
    if (IsPlainPath(path)) return std::string(path);
    const bool rooted = !path.empty() && path.front() == '/';
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") parts.pop_back();
            else if (!rooted) parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out = rooted ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += '/';
        out += parts[i];
    }
    return out;
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
    // A folder is often given with its closing "/", which the plain form drops.
    const auto trimmed = [](std::string_view v) { return v.size() > 1 && v.back() == '/' ? v.substr(0, v.size() - 1) : v; };
    const std::string_view p = trimmed(path), f = trimmed(folder);
    if (IsPlainPath(p) && IsPlainPath(f)) return IsInsidePlain(p, f);
    return IsInsidePlain(NormaliseLocalPath(path), NormaliseLocalPath(folder));
}

}  // namespace engine
