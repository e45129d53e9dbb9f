#include "albumfetcher/AlbumPages.h"

#include <algorithm>

#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace album {

namespace {

constexpr size_t kZeroBytesTolerated = 256;
constexpr size_t kShortenedBy = 3;

}  // namespace

std::string ViewPagePrefix(std::string_view albumUrl) {
    const size_t list = platform::FindI(albumUrl, "lst");
    return std::string(albumUrl.substr(0, list == platform::npos ? albumUrl.size() : list)) + "vwp?";
}

std::vector<AlbumPhoto> ParseAlbumList(std::string_view page, std::string_view prefix) {
    std::vector<AlbumPhoto> photos;
    if (prefix.empty()) return photos;
    for (size_t at = platform::FindI(page, prefix); at != platform::npos; at = platform::FindI(page, prefix, at + 1)) {
        const size_t quote = page.find('"', at);
        if (quote == std::string_view::npos) break;
        AlbumPhoto photo;
        photo.viewUrl = std::string(page.substr(at, quote - at));
        const size_t bold = platform::FindI(page, "<b>", quote);
        if (bold != platform::npos) {
            const size_t end = page.find('<', bold + 3);
            photo.title = std::string(page.substr(bold + 3, end == std::string_view::npos ? 0 : end - bold - 3));
        }
        photos.push_back(std::move(photo));
        at = quote;
    }
    return photos;
}

std::string HighResolutionUrl(std::string_view viewUrl) {
    const size_t at = platform::FindI(viewUrl, "view=l&.done");
    if (at == platform::npos) return std::string(viewUrl);
    return std::string(viewUrl.substr(0, at)) + "view=t&.hires=t";
}

void CleanZeroBytes(std::string& page) {
    const size_t textLength = std::min(page.find('\0'), page.size());
    if (textLength + kZeroBytesTolerated >= page.size()) return;
    page.erase(std::remove(page.begin(), page.end(), '\0'), page.end());
}

int FindPhoto(std::string_view page, const std::string& title, PhotoFound& found) {
    found = {};
    std::string marker = "alt=\"" + title;
    size_t at = platform::FindI(page, marker);
    found.name = title;
    if (at == platform::npos && marker.size() > kShortenedBy) {
        marker.resize(marker.size() - kShortenedBy);
        at = platform::FindI(page, marker);
        if (at != platform::npos) {
            const size_t begin = at + 5;
            const size_t end = page.find('"', begin);
            found.name = std::string(page.substr(begin, end == std::string_view::npos ? 0 : end - begin));
        }
    }
    if (at == platform::npos) return 0;
    const size_t src = platform::RFindI(page.substr(0, at), "src");
    if (src == platform::npos) return 0;
    const size_t open = page.find('"', src);
    if (open == std::string_view::npos || open > at) return 0;
    const size_t close = page.find('"', open + 1);
    if (close == std::string_view::npos) return 0;
    found.imageUrl = std::string(page.substr(open + 1, close - open - 1));
    return platform::ContainsI(found.imageUrl, ".jpg") ? 1 : 0;
}

std::string SafeFileStem(std::string_view title) {
    std::string stem(title);
    for (char& c : stem)
        if (c == '/' || c == '\0') c = '_';
    if (stem.empty() || stem == "." || stem == "..") stem = "photo";
    return stem;
}

std::string UniquePhotoPath(const std::string& folder, const std::string& stem) {
    std::string path = folder + stem + ".jpg";
    for (int n = 1; platform::FileExists(path); ++n) path = folder + stem + "(" + std::to_string(n) + ").jpg";
    return path;
}

int CheckFolderText(std::string_view folder) {
    if (engine::ContainsReservedDeviceName(folder)) return FolderReservedName;
    if (folder.find('/') == std::string_view::npos) return FolderNoSeparator;
    // Our separator is "/"; the backslash takes its place among the characters no name holds.
    if (folder.size() > 3 && folder.substr(3).find_first_of("\\:,;*?<>|") != std::string_view::npos)
        return FolderBadCharacter;
    return FolderOk;
}

const char* FolderCheckMessage(int check) {
    switch (check) {
    case FolderReservedName: return platform::Tr("保存先のパスは無効です（予約デバイス名が含まれています）。");
    case FolderNoSeparator: return platform::Tr("保存先が正しくありません。");
    case FolderBadCharacter: return platform::Tr("保存名に使用できない文字が含まれています。");
    default: return "";
    }
}

std::string NormalizedFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder + "/";
}

std::string TopPageUrl(std::string_view albumUrl) {
    const size_t scheme = albumUrl.find("://");
    const size_t hostStart = scheme == std::string_view::npos ? 0 : scheme + 3;
    const size_t slash = albumUrl.find('/', hostStart);
    return std::string(albumUrl.substr(0, slash)) + "/";
}

std::vector<std::string> CatalogueArguments(const std::string& albumUrl, const std::string& lastSavedPath) {
    if (lastSavedPath.empty()) return {};
    return {"FILE", albumUrl, lastSavedPath};
}

}  // namespace album
