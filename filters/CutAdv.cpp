#include "filters/CutAdv.h"

#include "filters/AdRules.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"

namespace filters {

namespace {

// Takes out an older marker comment wherever it stands, with the line end behind it.
void RemoveOldMarker(std::string& text) {
    const size_t at = platform::FindI(text, kMarkerPrefix);
    if (at == platform::npos) return;
    const size_t behind = at + kMarkerPrefix.size();
    size_t end = behind;
    const size_t suffix = platform::FindI(text, kMarkerSuffix, behind);
    if (suffix != platform::npos) {
        end = suffix + kMarkerSuffix.size();
        // The comment's own CR LF goes with it; other text behind it stays.
        if (end < text.size() && text[end] == '\r') ++end;
        if (end < text.size() && text[end] == '\n') ++end;
    } else {
        const size_t close = text.find("-->", behind);
        if (close != std::string::npos) end = close + 3;
    }
    text.erase(at, end - at);
}

// Cleans the input; true when a cleaned text was written whole to `outputPath`.
bool CleanInto(const std::string& inputPath, const std::string& outputPath, bool& removed) {
    removed = false;
    std::string text;
    if (!platform::ReadWholeFile(inputPath, text)) return false;
    if (!CleanHtmlText(text, removed)) return false;
    return platform::WriteFileReplacing(outputPath, text, platform::Durability::Fast);
}

}  // namespace

std::string CurrentMarker() {
    return std::string(kMarkerPrefix) + std::string(kMarkerVersion) + std::string(kMarkerSuffix) + "\r\n";
}

bool CleanHtmlText(std::string& text, bool& removed) {
    removed = false;
    const std::string current = CurrentMarker();
    if (text.find(std::string_view(current).substr(0, current.size() - 2)) != std::string::npos) return false;
    removed = ApplyAdRules(text);
    RemoveOldMarker(text);
    text.insert(0, current);
    return true;
}

int CutAdvFromHtml(const std::string& inputPath, const std::string& outputPath) {
    bool removed = false;
    if (!CleanInto(inputPath, outputPath, removed)) return NothingRemoved;
    return removed ? AdsRemoved : NothingRemoved;
}

int CleanFileInPlace(const std::string& path) {
    const std::string temp = path + "Temp";
    // A leftover of an interrupted run must not stand in for this run's output.
    if (platform::FileExists(temp) && !platform::RemoveFile(temp)) return NothingRemoved;
    bool removed = false;
    if (!CleanInto(path, temp, removed)) return NothingRemoved;
    if (!platform::RenameFile(temp, path)) {
        (void)platform::RemoveFile(temp);
        return NothingRemoved;
    }
    return removed ? AdsRemoved : NothingRemoved;
}

}  // namespace filters
