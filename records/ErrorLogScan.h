// Finding the download failures in the lines of a save's error log.
#pragma once

#include <string>
#include <vector>

namespace records {

struct DownloadFailure {
    size_t lineNumber = 0;  // 1-based line of the failure message
    std::string target;     // the URL or file name the failure is about ("" when unknown)
    std::string message;    // the failure line without its indentation
};

// A page whose fetch failed or that was a NotFound page is named by the last "…からＤＬ中…"
// line before it; an embedded file by the line just before its failure line. Pages only
// deferred for a later retry are not failures.
std::vector<DownloadFailure> FindDownloadFailures(const std::vector<std::string>& lines);

// The file's lines (CR LF or LF), Shift-JIS converted to UTF-8; a line that is no valid
// Shift-JIS keeps its ASCII and shows "?" for the rest. False when the file cannot be read.
bool ReadErrorLogLines(const std::string& path, std::vector<std::string>& lines);

}  // namespace records
