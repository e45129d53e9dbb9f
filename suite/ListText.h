// Texts and orderings of the catalogue's two lists that need no window: search scores, the
// comparison of cells for sorting, the columns of a saved file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace suite {

// Occurrences of `word` in `text`, ignoring ASCII case and counting overlapping ones.
int CountOccurrences(std::string_view text, std::string_view word);

// The ".qdx" list: 1 per occurrence in the full path, 3 in the comment, 2 in each link entry.
int QdxScore(std::string_view word, std::string_view fullPath, std::string_view comment,
             const std::vector<std::string>& links);
// The saved-file list: 1 per occurrence in the URL and in the full path.
int FileScore(std::string_view word, std::string_view url, std::string_view fullPath);

// Sorting: cells that both read as numbers compare by value, others as strings (`collate`
// compares two strings the way the desktop does; byte order when null). <0, 0, >0.
using Collate = int (*)(const std::string&, const std::string&);
int CompareCells(const std::string& a, const std::string& b, Collate collate = nullptr);

// The first click on a column header sorts descending, except on the first two columns of
// the ".qdx" list.
bool FirstClickAscending(bool qdxList, int column);

// "%04u年%02u月%02u日　%02u:%02u" of a last-write time in local time ("" when unknown).
std::string SaveDateText(int64_t epochSeconds);

// The window size file "QdxSuite.ini" beside the program: section "QdxSuite-WH-Size".
struct WindowSize {
    int width = 480;
    int height = 360;
};
WindowSize ReadWindowSize(const std::string& iniPath);
[[nodiscard]] int WriteWindowSize(const std::string& iniPath, const WindowSize& size);

}  // namespace suite
