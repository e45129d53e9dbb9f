// The rules of the main window's input view that need no window: the texts of the URL and
// save-path fields, the check of the fields before a save, the kind of save a URL asks for,
// and the job's option bits taken from the check boxes and the settings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// --- field texts ---------------------------------------------------------------------------
// The save name a URL proposes: its text behind the last "/", "index.html" for a URL ending
// in "/", "新規ページ.html" for a text without "/".
std::string SaveNameForUrl(std::string_view url);
// The working folder of the program ("/" when it cannot be told).
std::string CurrentFolder();
// The proposed save path: the folder of the first history entry, or `currentDir` with a
// trailing "/" when there is no history; then the name the URL proposes.
std::string DefaultSavePath(const std::vector<std::string>& history, const std::string& currentDir,
                            std::string_view url);
// A save path that follows a new URL: its folder kept, the name the URL proposes. A text
// without "/" holds no path and stays as it is.
std::string SavePathForUrl(const std::string& savePath, std::string_view url);

// A watch page of the video service (its file lies behind the page, so the address is no
// folder even without an extension).
bool IsVideoPageUrl(std::string_view url);
// The length of a watch page's scheme and host text (up to ".com"); 0 for other URLs.
size_t VideoWatchHostLength(std::string_view url);
// A URL put into the field from outside (a drop, the analysis): the fragment behind the last
// "/" is cut; a last segment without extension is a folder and gets "/"; then, unless bit
// 0x4000 of `defMode` is set, a URL ending in "/" gets "index.html".
std::string UrlForField(std::string_view url, uint32_t defMode);

// A complete save: the URL names an HTML page, or a dynamic page while the setting treats
// such pages as HTML (DefMode bit 0x80000). Otherwise a single/serial file save.
bool IsCompleteSaveUrl(std::string_view url, uint32_t defMode);
// What kind of file a URL that is no HTML page names, for the page analysis' refusal: the
// kind text and what can be done with it. False, with "不明" and a request for a valid URL,
// when the URL names no file of a kind we know.
bool ClassifyFileUrl(std::string_view url, std::string& kindText, std::string& message);
// Folder levels of the URL's path (http://h/a/b/c.html has 2).
int UrlFolderLevels(std::string_view url);

// --- the check before a save ----------------------------------------------------------------
enum InputCheckResult : int {
    InputOk = 1,
    InputBadUrl = 2,
    InputReservedName = 3,
    InputBadLimit = 4,
    InputBadSavePath = 5,
    InputFolderDeclined = 6,  // the user did not want the missing folder: nothing to tell
    InputFolderNotCreated = 7,
    InputNoName = 8,
    InputBadName = 9,
    InputPathTooLong = 10,  // longer than the file system allows: nothing is created
};

struct InputFields {
    std::string url;        // percent-encoded in place by the check
    std::string limitText;  // upper-hierarchy limit, decimal
    std::string savePath;
};

// Checks the fields in the order the user is told about them. `askCreateFolder` is asked
// when the save folder is missing; true creates it with every missing parent.
[[nodiscard]] int CheckInputFields(InputFields& fields, const std::function<bool()>& askCreateFolder);
// The message of a failed check ("" for InputOk and InputFolderDeclined).
std::string InputCheckMessage(int result);
// The upper-hierarchy limit of the field (empty: 0).
int32_t LimitOfField(const std::string& limitText);

// --- option bits ---------------------------------------------------------------------------
struct InputOptions {
    bool forced = false;       // 強制変換
    bool alias = false;        // Alias補正
    bool agent = false;        // Agent利用
    bool dataFolder = false;   // データフォルダ
    bool updateLog = false;    // 更新ログ(*.qdx)
    bool traceSelect = false;  // 追跡リンク選択
    int outDomain = 0;         // 0 無効, 1 有効, 2 選択
};

// Every bit of the job word that the input view decides.
uint32_t InputOptionMask();
// The bits of the site adapters that a complete save from `urlBase` needs: WebArchiveSite
// for a start in the web archive, BlogSite for one on a blog.
uint32_t SiteAdapterBits(std::string_view urlBase);
// The check boxes as the settings preset them.
InputOptions InitialInputOptions(uint32_t defMode);
// The job's option bits from the check boxes and the settings. Two settings are stored as
// "do not": DefMode 0x800000 means no retry and 0x1000000 means no title check, so the job
// retries and checks titles while those bits are clear.
uint32_t JobOptionBits(const InputOptions& options, uint32_t defMode);

// --- page title, restart, shortcuts ---------------------------------------------------------
// The save name made from a page title: HTML's basic entities decoded, characters that a
// save name must not hold replaced by "_", blanks at the ends dropped, cut to a length a
// file system takes, then ".html". Empty when nothing is left of the title.
std::string NameFromTitle(std::string_view title);
// A title's bytes as UTF-8 (pages come in UTF-8 or Shift-JIS); empty when neither fits.
std::string TitleAsUtf8(std::string_view bytes);
// The referring page sent with the title request: the URL up to its last "/" behind the host.
std::string TitleReferer(std::string_view url);
// The argument of a restart that keeps the fields; empty when they hold no URL and path.
std::string RestartArgument(const std::string& url, const std::string& savePath);
// The URL of an Internet shortcut file's text (its "URL=" line), or "".
std::string ShortcutUrl(std::string_view fileText);

}  // namespace app
