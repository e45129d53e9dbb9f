// The C exports of Qdx6_RerEvu.so: thin wrappers that check their arguments and call the
// same code the main program uses.
#include <cstring>
#include <mutex>
#include <string>

#include "engine/LinkScanner.h"
#include "engine/UrlModel.h"
#include "platform/FileUtil.h"
#include "platform/ProgramFolder.h"
#include "records/Settings.h"
#include "records/WebDefaults.h"
#include "engine/BlogPages.h"
#include "rerevu/PageTitles.h"
#include "rerevu/RerEvu.h"
#include "rerevu/TitleProgress.h"

#define RERE_EVU_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using TextPass = bool (*)(std::string&, std::string_view);

int RewriteFile(const char* path, const char* url, TextPass pass) {
    if (!path || !url) return 0;
    const auto edit = [url, pass](std::string& text) { return pass(text, url); };
    return platform::RewriteFileInPlace(path, edit, platform::Durability::Fast) == platform::RewriteDone ? 1 : 0;
}

// Copies the title with its terminating NUL into the caller's buffer of `length` bytes.
int PutTitle(const std::string& title, char* buffer, int length) {
    if (title.empty() || static_cast<size_t>(length) <= title.size()) return 0;
    std::memcpy(buffer, title.data(), title.size());
    buffer[title.size()] = '\0';
    return static_cast<int>(title.size());
}

// The library's fetches go out with the [WebOptions] of the settings file beside the program
// that loaded it, as the main program's do; its window speaks the language that program
// speaks (the same setting and environment decide it).
void UseProgramSettings() {
    static std::once_flag once;
    std::call_once(once, [] {
        const std::string folder = platform::ProgramFolder();
        records::UseWebDefaults(records::SettingsPath(folder));
        records::ApplyUiLanguageSetting(folder);
    });
}

}  // namespace

RERE_EVU_EXPORT int ShapeCodeAbsToRelative(const char* htmlPath, const char* pageUrl) {
    return RewriteFile(htmlPath, pageUrl, &engine::MakeAbsoluteLinksRelative);
}

RERE_EVU_EXPORT int AriasRevision(const char* htmlPath, const char* pageUrl) {
    return RewriteFile(htmlPath, pageUrl, &engine::CorrectPageFolderLinksText);
}

RERE_EVU_EXPORT int IsSuccessBlogPageDownloading(const char* pageUrl, const char* filePath) {
    if (!pageUrl || !filePath) return 0;
    UseProgramSettings();
    return engine::CheckBlogPage(pageUrl, filePath) == platform::RewriteDone ? 1 : 0;
}

RERE_EVU_EXPORT int IsBlogUrl(const char* url) { return url ? engine::IsBlogUrl(url) : 0; }

RERE_EVU_EXPORT int ContainsReservedDeviceName(const char* pathOrUrl) {
    return pathOrUrl && engine::ContainsReservedDeviceName(pathOrUrl) ? 1 : 0;
}

RERE_EVU_EXPORT int GetWebPageTitleWithProgressThunk(void* owner, const char* url, char* title, int length, int mode) {
    if (!url || !title || length < 3) return 0;
    title[0] = '\0';
    // The ordinary fetch keeps one byte more of room than the manga-site variant.
    const size_t room = static_cast<size_t>(length) - (mode == 1 ? 1 : 2);
    UseProgramSettings();
    std::string found;
    rerevu::FetchTitleWithProgress(owner, url, mode, room, found);
    return PutTitle(found, title, length);
}

RERE_EVU_EXPORT int GetWebPageTitleForMangakan(const char* url, char* title, int length) {
    if (!url || !title || length < 2) return 0;
    title[0] = '\0';
    UseProgramSettings();
    std::string found;
    rerevu::FetchMangakanTitle(url, found, static_cast<size_t>(length) - 1, nullptr);
    return PutTitle(found, title, length);
}

// The function types callers use must match the exports.
static_assert(sizeof(ShapeCodeAbsToRelativeFn) == sizeof(&ShapeCodeAbsToRelative));
