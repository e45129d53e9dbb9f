#include "records/ErrorLogScan.h"

#include <string_view>

#include "platform/Codepage.h"
#include "platform/FileUtil.h"

namespace records {

namespace {

constexpr std::string_view kPageStart = "からＤＬ中…";
constexpr std::string_view kPageFailed = "ＤＬに失敗しました。";
constexpr std::string_view kNotFoundPage = "ＤＬ失敗として扱います。";
constexpr std::string_view kEmbedFailed = "！ダウンロードに失敗";
// An error log larger than this is read up to this size; nothing a save writes gets near it.
constexpr size_t kMaxLogBytes = 64u << 20;

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string Trimmed(std::string_view text) {
    const size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    return std::string(text.substr(begin));
}

std::string LineToUtf8(std::string_view sjis) {
    std::string out;
    if (platform::Cp932ToUtf8(sjis, out) == platform::CodepageOk) return out;
    out.clear();
    for (char ch : sjis) out += static_cast<unsigned char>(ch) < 0x80 ? ch : '?';
    return out;
}

}  // namespace

std::vector<DownloadFailure> FindDownloadFailures(const std::vector<std::string>& lines) {
    std::vector<DownloadFailure> failures;
    std::string page;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (EndsWith(line, kPageStart)) {
            page = line.substr(0, line.size() - kPageStart.size());
            continue;
        }
        DownloadFailure failure;
        if (Contains(line, kPageFailed) || Contains(line, kNotFoundPage)) {
            failure.target = page;
        } else if (Contains(line, kEmbedFailed)) {
            if (i > 0) failure.target = Trimmed(lines[i - 1]);
        } else {
            continue;
        }
        failure.lineNumber = i + 1;
        failure.message = Trimmed(line);
        failures.push_back(std::move(failure));
    }
    return failures;
}

bool ReadErrorLogLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::string bytes;
    if (!platform::IsRegularFile(path) || !platform::ReadWholeFile(path, bytes, kMaxLogBytes)) return false;
    size_t begin = 0;
    while (begin < bytes.size()) {
        size_t end = bytes.find('\n', begin);
        if (end == std::string::npos) end = bytes.size();
        std::string_view line(bytes.data() + begin, end - begin);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(LineToUtf8(line));
        begin = end + 1;
    }
    return true;
}

}  // namespace records
