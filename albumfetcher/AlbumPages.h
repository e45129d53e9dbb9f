// Reading an album of the photo-sharing service: the photos' view pages and titles on the
// album's list page, and each photo's image address on its view page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace album {

struct AlbumPhoto {
    std::string viewUrl;
    std::string title;
};

// The album URL's part before "lst" followed by "vwp?": the start of every view-page link.
std::string ViewPagePrefix(std::string_view albumUrl);

// Each link that starts with `prefix` (case ignored) runs to the next double quote; its
// title is the text after the next "<b>" up to the next "<".
std::vector<AlbumPhoto> ParseAlbumList(std::string_view page, std::string_view prefix);

// The high-resolution view: "view=l&.done" and all behind it become "view=t&.hires=t".
std::string HighResolutionUrl(std::string_view viewUrl);

// A page of wide characters loses its zero bytes (more than 256 of them behind the text).
void CleanZeroBytes(std::string& page);

struct PhotoFound {
    std::string imageUrl;
    std::string name;  // the title, or the full alt text when only a shortened title matched
};

// Finds the photo by its alt text on the view page and the image address in the "src"
// before it. 1 when an address containing ".jpg" was found.
[[nodiscard]] int FindPhoto(std::string_view page, const std::string& title, PhotoFound& found);

// A title made safe as a file name in one folder: no "/", no zero byte, not "." or "..".
std::string SafeFileStem(std::string_view title);

// folder (ending in "/") + stem + ".jpg", or stem + "(n)" + ".jpg" for the first n = 1, 2, …
// whose file does not exist yet.
std::string UniquePhotoPath(const std::string& folder, const std::string& stem);

// The checks of the folder box: 0 when usable, else the message to show.
enum FolderCheck : int { FolderOk = 0, FolderReservedName, FolderNoSeparator, FolderBadCharacter };
int CheckFolderText(std::string_view folder);
// The message of a failed check, in the user's language ("" for FolderOk).
const char* FolderCheckMessage(int check);

// The folder as used: without a trailing "/", then with one.
std::string NormalizedFolder(std::string folder);

// The service's top page (scheme and host of the album URL, "/"), sent as Referer.
std::string TopPageUrl(std::string_view albumUrl);

// The catalogue registration of a run: "FILE", the album URL and the last saved photo.
std::vector<std::string> CatalogueArguments(const std::string& albumUrl, const std::string& lastSavedPath);

}  // namespace album
