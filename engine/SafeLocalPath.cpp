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

std::string NormaliseLocalPath(std::string_view path) {
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
    const std::string f = NormaliseLocalPath(folder);
    const std::string p = NormaliseLocalPath(path);
    if (f.empty()) return false;
    if (p == f) return true;
    if (f == "/") return !p.empty() && p.front() == '/';
    return p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == '/';
}

}  // namespace engine
