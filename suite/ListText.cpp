#include "suite/ListText.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>

#include "platform/FileUtil.h"
#include "platform/UiText.h"
#include "platform/ProfileFile.h"

namespace suite {

namespace {

bool ReadsAsNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// The section is named after the file without ".ini".
std::string SizeSection(const std::string& iniPath) {
    std::string name = platform::NameOf(iniPath);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ini") == 0) name.resize(name.size() - 4);
    return name + "-WH-Size";
}

}  // namespace

int CountOccurrences(std::string_view text, std::string_view word) {
    if (word.empty() || word.size() > text.size()) return 0;
    int count = 0;
    for (size_t i = 0; i + word.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < word.size() && std::tolower(static_cast<unsigned char>(text[i + k])) ==
                                      std::tolower(static_cast<unsigned char>(word[k])))
            ++k;
        if (k == word.size()) ++count;
    }
    return count;
}

int QdxScore(std::string_view word, std::string_view fullPath, std::string_view comment,
             const std::vector<std::string>& links) {
    int score = CountOccurrences(fullPath, word) + 3 * CountOccurrences(comment, word);
    for (const std::string& link : links) score += 2 * CountOccurrences(link, word);
    return score;
}

int FileScore(std::string_view word, std::string_view url, std::string_view fullPath) {
    return CountOccurrences(url, word) + CountOccurrences(fullPath, word);
}

int CompareCells(const std::string& a, const std::string& b, Collate collate) {
    double x = 0, y = 0;
    if (ReadsAsNumber(a, x) && ReadsAsNumber(b, y)) return x < y ? -1 : (x > y ? 1 : 0);
    if (collate) return collate(a, b);
    return a.compare(b);
}

bool FirstClickAscending(bool qdxList, int column) { return qdxList && (column == 0 || column == 1); }

std::string SaveDateText(int64_t epochSeconds) {
    if (epochSeconds < 0) return {};
    const std::time_t t = static_cast<std::time_t>(epochSeconds);
    std::tm local{};
    if (!::localtime_r(&t, &local)) return {};
    char parts[5][12];
    const int values[5] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
    for (int i = 0; i < 5; ++i) std::snprintf(parts[i], sizeof parts[i], i == 0 ? "%04u" : "%02u", unsigned(values[i]));
    return platform::TrArgs("%1年%2月%3日　%4:%5", {parts[0], parts[1], parts[2], parts[3], parts[4]});
}

WindowSize ReadWindowSize(const std::string& iniPath) {
    WindowSize size;
    const std::string section = SizeSection(iniPath);
    size.width = platform::ReadProfileInt(iniPath, section, "Width", size.width);
    size.height = platform::ReadProfileInt(iniPath, section, "Height", size.height);
    // A size no window can have falls back to the default.
    if (size.width < 100 || size.width > 20000) size.width = WindowSize{}.width;
    if (size.height < 100 || size.height > 20000) size.height = WindowSize{}.height;
    return size;
}

int WriteWindowSize(const std::string& iniPath, const WindowSize& size) {
    platform::ProfileEntries entries{{"Width", std::to_string(size.width)}, {"Height", std::to_string(size.height)}};
    const int written = platform::WriteProfileSection(iniPath, SizeSection(iniPath), entries);
    if (written) platform::SetHidden(iniPath);
    return written;
}

}  // namespace suite
