// The settings file "Sitrov.ini" beside the program: every option that outlives a run.
// Callers pass the file's path (SaveJob::IniPath). Reads never fail: a missing or damaged
// file, section or key gives the default. Every save writes one whole section; the writes
// return 1, or 0 with `error` telling why (nothing is changed then).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ModeFlags.h"
#include "engine/NamedOptions.h"

namespace engine {
class SaveJob;
}

namespace records {

constexpr const char* kSettingsFileName = "Sitrov.ini";
// "Sitrov.ini" in the settings place of a program in programFolder (platform/UserPlaces.h).
std::string SettingsPath(const std::string& programFolder);

// --- QdxWindowSize: outer size of the saved-site view --------------------------------------
constexpr uint32_t kQdxMinWidth = 360;
constexpr uint32_t kQdxMinHeight = 480;
struct QdxWindowSize {
    uint32_t width = kQdxMinWidth;
    uint32_t height = kQdxMinHeight;
};
// A stored size below the minimum (or a negative one) reads as the minimum.
QdxWindowSize ReadQdxWindowSize(const std::string& iniPath);
// Stores the size raised to at least 360 by 480.
[[nodiscard]] int SaveQdxWindowSize(const std::string& iniPath, uint32_t width, uint32_t height,
                                    std::string* error = nullptr);

// --- BasicOption -------------------------------------------------------------------------
constexpr uint32_t kDefModeDefault = 1164033;        // 0x11C301
constexpr uint32_t kSiteSaveDialogBits = 0x199C331;  // the bits the site-save settings own
constexpr uint32_t kDownloadWebFilesBit = 0x8000000; // the bit the Qdx-file settings own
constexpr uint32_t kDefModeCloseWhenDone = 0x8000;   // a finished save closes its window unasked
constexpr uint32_t kDefModeOpenWhenDone = 0x10000;   // ... and then opens what it saved
constexpr uint16_t kBlogCutOffDefault = 5;
constexpr uint16_t kBlogCutOffUnlimited = engine::mode::BlogCutOffUnlimited;

// BasicOption/DefMode, or its default when missing.
uint32_t ReadDefMode(const std::string& iniPath, uint32_t defaultValue = kDefModeDefault);
uint16_t ReadBlogCutOff(const std::string& iniPath);
// The job's BlogCutOff: read from the job's settings file on first use, then kept for the
// run (a value saved later takes effect at the next start).
uint16_t JobBlogCutOff(engine::SaveJob& job);
// OK of the site-save settings: DefMode takes the dialog's bits of kSiteSaveDialogBits and
// keeps the others as stored; BlogCutOff is 5 with the blog depth correction, else 65535.
[[nodiscard]] int SaveSiteSaveSettings(const std::string& iniPath, uint32_t dialogBits, bool blogDepthCorrection,
                                       std::string* error = nullptr);

// --- QdxDirectBrowse ---------------------------------------------------------------------
constexpr const char* kBrowserNone = "None";  // default of the open rule
constexpr const char* kBrowserAuto = "Auto";  // default of the Qdx-file settings dialog
std::string ReadBrowserPath(const std::string& iniPath, const char* defaultText = kBrowserNone);

// OK of the Qdx-file settings: DefMode bit 0x8000000 from the check box, every other bit and
// BlogCutOff as stored (BlogCutOff stays absent when absent); BrowserPath = `browserPath`, or
// no key when it is empty (the desktop's default handler).
[[nodiscard]] int SaveQdxFileSettings(const std::string& iniPath, bool downloadWebFiles, const std::string& browserPath,
                                      std::string* error = nullptr);

// How a saved page (or URL) is opened: with the desktop's default handler when the browser
// setting is "None" (or empty), else the browser program with the page as its argument.
struct BrowserCommand {
    bool shellOpen = false;
    std::string program;
    std::vector<std::string> args;
};
// Chrome-family browsers get "--allow-file-access-from-files" so saved pages may read their
// neighbours.
bool NeedsFileAccessFlag(const std::string& browserPath);
BrowserCommand BrowserCommandFor(const std::string& browserPath, const std::string& target);
// Starts the command of the stored setting for `target`; 1 started, 0 failed.
[[nodiscard]] int OpenWithBrowser(const std::string& iniPath, const std::string& target);

// --- WholeOption, SeriesOption, SeriesError ------------------------------------------------
constexpr uint32_t kWhlAlwaysRemoveAds = 0x1;
constexpr uint32_t kWhlCloseWhenDone = 0x2;
constexpr uint32_t kSrsCloseAfterNotice = 0x1;

uint32_t ReadWhlMode(const std::string& iniPath);
// Clears bits 0x1 to 0x8 and sets 0x1 and 0x2 from the check boxes.
[[nodiscard]] int SaveWholeOption(const std::string& iniPath, bool alwaysRemoveAds, bool closeWhenDone,
                                  std::string* error = nullptr);
uint32_t ReadSrsMode(const std::string& iniPath);
// Clears bits 0x1 to 0x8 and sets 0x1 from the check box.
[[nodiscard]] int SaveSeriesOption(const std::string& iniPath, bool closeAfterNotice, std::string* error = nullptr);

struct SeriesErrorSettings {
    uint16_t receiveTimeOutSec = 60;
    uint16_t retryCount = 3;
    uint16_t waitSec = 30;
};
SeriesErrorSettings ReadSeriesError(const std::string& iniPath);
// The texts of the three number fields, stored unchanged.
[[nodiscard]] int SaveSeriesError(const std::string& iniPath, const std::string& receiveTimeOutText,
                                  const std::string& retryCountText, const std::string& waitText,
                                  std::string* error = nullptr);

// --- DownloadLimit -------------------------------------------------------------------------
// The largest body a single or serial download takes (MaxFileSizeMB, in MiB): a body that
// never ends must not fill the disk. A missing or non-positive value gives the default.
constexpr int32_t kDefaultMaxFileSizeMB = 4096;
int64_t ReadMaxFileSizeBytes(const std::string& iniPath);

// --- WebOptions: the named save options, each under its own name --------------------------
constexpr const char* kWebOptionsSection = "WebOptions";
// A missing key, or a value the option cannot take, gives the option's default; `refused`
// (when given) receives why each such value was not taken.
engine::NamedOptions ReadNamedOptions(const std::string& iniPath, std::vector<std::string>* refused = nullptr);
// Writes every named option (the whole section).
[[nodiscard]] int SaveNamedOptions(const std::string& iniPath, const engine::NamedOptions& options,
                                   std::string* error = nullptr);

// --- Display: the language of the windows and console messages ("auto", "ja", "en") ---------
constexpr const char* kDisplaySection = "Display";
constexpr const char* kUiLanguageKey = "Language";
// "auto" when the key is missing or holds anything else.
std::string ReadUiLanguageSetting(const std::string& iniPath);
[[nodiscard]] int SaveUiLanguageSetting(const std::string& iniPath, const std::string& value,
                                        std::string* error = nullptr);

// Sets the language of this process from the settings of the program in programFolder and
// the environment (platform/UiLanguage.h); every program calls it first thing.
void ApplyUiLanguageSetting(const std::string& programFolder);

// --- SpeedSelectPath: the save-path history, most recent first -------------------------------
// True when the folder of `path` (up to its last "/"; "/" for a path right under the root)
// is a directory.
bool HistoryFolderExists(const std::string& path);
// LatelyDir1, 2, … until the first missing one; entries whose folder has vanished are skipped.
std::vector<std::string> ReadSaveHistory(const std::string& iniPath);
// The entries a save writes: the save-path field when its folder exists, then the first five
// items of the drop-down list that differ from the field's text.
std::vector<std::string> SaveHistoryEntries(const std::string& fieldText, const std::vector<std::string>& listItems);
[[nodiscard]] int SaveSaveHistory(const std::string& iniPath, const std::string& fieldText,
                                  const std::vector<std::string>& listItems, std::string* error = nullptr);
// The section without keys.
[[nodiscard]] int ClearSaveHistory(const std::string& iniPath, std::string* error = nullptr);

// At the program's end: the settings file gets the hidden mark (a read-only mode is cleared).
void HideSettingsFile(const std::string& iniPath);

}  // namespace records
