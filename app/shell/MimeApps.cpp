// Default applications (mimeapps.list and the desktop database caches) and the globs of the
// shared MIME database.
#include <algorithm>

#include "app/shell/Xdg.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/FolderList.h"

namespace appshell::xdg {

namespace {

constexpr size_t kListLimit = 4 << 20;
constexpr const char* kDefaultGroup = "[Default Applications]";
constexpr const char* kAddedGroup = "[Added Associations]";

std::string Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t' || text[b] == '\r' || text[b] == '\n')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r' || text[e - 1] == '\n')) --e;
    return std::string(text.substr(b, e - b));
}

std::vector<std::string> SplitIds(const std::string& value) {
    std::vector<std::string> ids;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find(';', start);
        if (end == std::string::npos) end = value.size();
        std::string id = Trim(std::string_view(value).substr(start, end - start));
        if (!id.empty()) ids.push_back(id);
        start = end + 1;
    }
    return ids;
}

// Lines with their own line ends, so that an edited file keeps every other byte.
std::vector<std::string> SplitKeepingEnds(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

bool IsGroupHeader(const std::string& line) {
    const std::string t = Trim(line);
    return !t.empty() && t.front() == '[' && t.back() == ']';
}

// The key of a "key=value" line ("" for other lines).
std::string KeyOf(const std::string& line) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '#' || t[0] == '[') return {};
    size_t eq = t.find('=');
    return eq == std::string::npos ? std::string() : Trim(std::string_view(t).substr(0, eq));
}

std::string LineEndOf(const std::string& line) {
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) return "\r\n";
    return !line.empty() && line.back() == '\n' ? "\n" : "";
}

std::string IdsLine(const std::string& mimeType, const std::vector<std::string>& ids, const std::string& end) {
    std::string line = mimeType + "=";
    for (const std::string& id : ids) line += id + ";";
    return line + end;
}

std::string AttributeValue(std::string_view tag, std::string_view name) {
    for (size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        if (at == 0 || (tag[at - 1] != ' ' && tag[at - 1] != '\t' && tag[at - 1] != '\n' && tag[at - 1] != '\r'))
            continue;
        size_t p = at + name.size();
        while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t')) ++p;
        if (p >= tag.size() || tag[p] != '=') continue;
        ++p;
        while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t')) ++p;
        if (p >= tag.size() || (tag[p] != '"' && tag[p] != '\'')) continue;
        size_t close = tag.find(tag[p], p + 1);
        if (close == std::string_view::npos) return {};
        return std::string(tag.substr(p + 1, close - p - 1));
    }
    return {};
}

void AddOnce(std::vector<std::string>& list, const std::string& item) {
    if (!item.empty() && std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

// <mime-type type="…"> … <glob pattern="…"/> … </mime-type>
void ScanPackage(const std::string& text, const std::string& pattern, std::vector<std::string>& types) {
    size_t pos = 0;
    while ((pos = text.find("<mime-type", pos)) != std::string::npos) {
        size_t tagEnd = text.find('>', pos);
        if (tagEnd == std::string::npos) return;
        const std::string_view tag = std::string_view(text).substr(pos, tagEnd - pos + 1);
        const std::string type = AttributeValue(tag, "type");
        if (tag.size() >= 2 && tag[tag.size() - 2] == '/') {
            pos = tagEnd;
            continue;
        }
        size_t blockEnd = text.find("</mime-type>", tagEnd);
        if (blockEnd == std::string::npos) blockEnd = text.size();
        for (size_t g = text.find("<glob", tagEnd); g < blockEnd; g = text.find("<glob", g + 1)) {
            size_t gEnd = text.find('>', g);
            if (gEnd == std::string::npos || gEnd > blockEnd) break;
            if (platform::EqualsI(AttributeValue(std::string_view(text).substr(g, gEnd - g + 1), "pattern"), pattern))
                AddOnce(types, type);
        }
        pos = blockEnd;
    }
}

// globs2 lines are "weight:type:glob[:flags]", globs lines "type:glob".
void ScanGlobs(const std::string& text, bool withWeight, const std::string& pattern, std::vector<std::string>& types) {
    for (const std::string& raw : SplitKeepingEnds(text)) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        size_t start = 0;
        while (start <= line.size()) {
            size_t end = line.find(':', start);
            if (end == std::string::npos) end = line.size();
            fields.push_back(line.substr(start, end - start));
            start = end + 1;
        }
        const size_t typeField = withWeight ? 1 : 0;
        if (fields.size() > typeField + 1 && platform::EqualsI(fields[typeField + 1], pattern))
            AddOnce(types, fields[typeField]);
    }
}

std::vector<std::string> SortedPackageFiles(const std::string& folder) {
    std::vector<std::string> files;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (const platform::FolderEntry& entry : platform::ListFolder(folder))
        if (platform::EndsWithI(entry.name, ".xml")) files.push_back(prefix + entry.name);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::vector<std::string> MimeAppsLists(const Dirs& dirs) {
    std::vector<std::string> lists;
    auto addFolder = [&](const std::string& folder) {
        for (const std::string& desktop : dirs.desktops) lists.push_back(folder + "/" + desktop + "-mimeapps.list");
        lists.push_back(folder + "/mimeapps.list");
    };
    addFolder(dirs.configHome);
    for (const std::string& folder : dirs.configDirs) addFolder(folder);
    addFolder(dirs.dataHome + "/applications");
    for (const std::string& folder : dirs.dataDirs) addFolder(folder + "/applications");
    return lists;
}

std::string DefaultDesktopFor(const Dirs& dirs, const std::string& mimeType) {
    auto firstInstalled = [&](const std::string& path, const char* group) -> std::string {
        std::string text;
        if (!platform::ReadWholeFile(path, text, kListLimit)) return {};
        bool found = false;
        const std::string value = KeyFileValue(text, group, mimeType, &found);
        for (const std::string& id : SplitIds(value))
            if (!FindDesktopFile(dirs, id).empty()) return id;
        return {};
    };
    for (const std::string& list : MimeAppsLists(dirs)) {
        std::string id = firstInstalled(list, "Default Applications");
        if (!id.empty()) return id;
    }
    std::vector<std::string> bases{dirs.dataHome};
    bases.insert(bases.end(), dirs.dataDirs.begin(), dirs.dataDirs.end());
    for (const std::string& base : bases) {
        std::string id = firstInstalled(base + "/applications/mimeinfo.cache", "MIME Cache");
        if (!id.empty()) return id;
    }
    return {};
}

std::string WithDefaultApplication(const std::string& text, const std::string& mimeType, const std::string& id) {
    std::vector<std::string> lines = SplitKeepingEnds(text);
    auto header = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return Trim(l) == kDefaultGroup; });
    if (header == lines.end()) {
        std::string result = text;
        if (!result.empty() && result.back() != '\n') result += '\n';
        if (!result.empty()) result += '\n';
        return result + kDefaultGroup + "\n" + IdsLine(mimeType, {id}, "\n");
    }
    size_t begin = static_cast<size_t>(header - lines.begin()) + 1;
    size_t end = begin;
    while (end < lines.size() && !IsGroupHeader(lines[end])) ++end;
    bool replaced = false;
    size_t lastContent = begin - 1;
    for (size_t i = begin; i < end; ++i) {
        if (!Trim(lines[i]).empty()) lastContent = i;
        if (KeyOf(lines[i]) != mimeType) continue;
        // A repeated key would be read as the first; keep one line only.
        lines[i] = replaced ? std::string() : IdsLine(mimeType, {id}, LineEndOf(lines[i]));
        replaced = true;
    }
    if (!replaced) {
        // The new line takes the line end its neighbour uses.
        std::string end = LineEndOf(lines[lastContent]);
        if (end.empty()) {
            end = "\n";
            lines[lastContent] += end;
        }
        lines.insert(lines.begin() + static_cast<long>(lastContent) + 1, IdsLine(mimeType, {id}, end));
    }
    return Join(lines);
}

std::string WithoutApplication(const std::string& text, const std::string& mimeType, const std::string& id) {
    std::vector<std::string> lines = SplitKeepingEnds(text);
    bool inGroup = false;
    for (std::string& line : lines) {
        if (IsGroupHeader(line)) {
            const std::string t = Trim(line);
            inGroup = t == kDefaultGroup || t == kAddedGroup;
            continue;
        }
        if (!inGroup || KeyOf(line) != mimeType) continue;
        const std::string t = Trim(line);
        std::vector<std::string> ids = SplitIds(t.substr(t.find('=') + 1));
        const size_t before = ids.size();
        ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
        if (ids.size() == before) continue;
        line = ids.empty() ? std::string() : IdsLine(mimeType, ids, LineEndOf(line));
    }
    return Join(lines);
}

std::vector<std::string> MimeTypesForGlob(const Dirs& dirs, const std::string& pattern) {
    std::vector<std::string> types;
    std::vector<std::string> bases{dirs.dataHome};
    bases.insert(bases.end(), dirs.dataDirs.begin(), dirs.dataDirs.end());
    for (const std::string& base : bases) {
        const std::string mime = base + "/mime";
        std::string text;
        for (const std::string& file : SortedPackageFiles(mime + "/packages"))
            if (platform::ReadWholeFile(file, text, kListLimit)) ScanPackage(text, pattern, types);
        if (platform::ReadWholeFile(mime + "/globs2", text, kListLimit * 4)) ScanGlobs(text, true, pattern, types);
        if (platform::ReadWholeFile(mime + "/globs", text, kListLimit * 4)) ScanGlobs(text, false, pattern, types);
    }
    return types;
}

}  // namespace appshell::xdg
