#include "records/Settings.h"

#include <algorithm>

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/ProfileFile.h"
#include "platform/UiLanguage.h"
#include "platform/UserPlaces.h"

namespace records {

namespace {

constexpr const char* kWindowSection = "QdxWindowSize";
constexpr const char* kBasicSection = "BasicOption";
constexpr const char* kWholeSection = "WholeOption";
constexpr const char* kSeriesSection = "SeriesOption";
constexpr const char* kSeriesErrorSection = "SeriesError";

// No screen is this large; a bigger stored size is damage.
constexpr int32_t kMaxWindowSide = 16384;
// The mode words keep their bits 0x1 to 0x8 for the check boxes of their dialogs.
constexpr uint32_t kDialogNibble = 0xF;
// Named values are paths and short texts; a longer stored value is cut here.
constexpr size_t kNamedValueCapacity = 4096;

uint32_t WindowSide(int32_t stored, uint32_t minimum) {
    if (stored < static_cast<int32_t>(minimum)) return minimum;
    return static_cast<uint32_t>(std::min(stored, kMaxWindowSide));
}

uint16_t Low16(int32_t value) { return static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu); }

uint32_t ReadModeWord(const std::string& iniPath, const char* section, const char* key) {
    return static_cast<uint32_t>(platform::ReadProfileNumber(iniPath, section, key, 0));
}

// Rewrites one mode word: its dialog's nibble cleared, then `bits` set.
int SaveNibbleWord(const std::string& iniPath, const char* section, const char* key, uint32_t bits,
                   std::string* error) {
    return platform::UpdateProfileSection(
        iniPath, section,
        [&](const platform::ProfileText& now) {
            const uint32_t word = static_cast<uint32_t>(now.ReadNumber(section, key, 0));
            return platform::ProfileEntries{{key, std::to_string((word & ~kDialogNibble) | bits)}};
        },
        error);
}

}  // namespace

std::string SettingsPath(const std::string& programFolder) {
    return platform::PlaceFor(platform::Place::Settings, programFolder) + "/" + kSettingsFileName;
}

QdxWindowSize ReadQdxWindowSize(const std::string& iniPath) {
    const platform::ProfileText text = platform::ReadableProfile(iniPath);
    QdxWindowSize size;
    size.width = WindowSide(text.ReadInt(kWindowSection, "Width", kQdxMinWidth), kQdxMinWidth);
    size.height = WindowSide(text.ReadInt(kWindowSection, "Height", kQdxMinHeight), kQdxMinHeight);
    return size;
}

int SaveQdxWindowSize(const std::string& iniPath, uint32_t width, uint32_t height, std::string* error) {
    return platform::WriteProfileSection(iniPath, kWindowSection,
                                         {{"Width", std::to_string(std::max(width, kQdxMinWidth))},
                                          {"Height", std::to_string(std::max(height, kQdxMinHeight))}},
                                         error);
}

uint32_t ReadDefMode(const std::string& iniPath, uint32_t defaultValue) {
    return static_cast<uint32_t>(
        platform::ReadProfileNumber(iniPath, kBasicSection, "DefMode", static_cast<int32_t>(defaultValue)));
}

uint16_t ReadBlogCutOff(const std::string& iniPath) {
    return Low16(platform::ReadProfileInt(iniPath, kBasicSection, "BlogCutOff", kBlogCutOffDefault));
}

uint16_t JobBlogCutOff(engine::SaveJob& job) {
    if (!job.BlogCutOffRead()) job.SetBlogCutOff(ReadBlogCutOff(job.IniPath()));
    return job.BlogCutOff();
}

int SaveSiteSaveSettings(const std::string& iniPath, uint32_t dialogBits, bool blogDepthCorrection,
                         std::string* error) {
    return platform::UpdateProfileSection(
        iniPath, kBasicSection,
        [&](const platform::ProfileText& now) {
            const uint32_t stored = static_cast<uint32_t>(
                now.ReadNumber(kBasicSection, "DefMode", static_cast<int32_t>(kDefModeDefault)));
            const uint32_t word = (stored & ~kSiteSaveDialogBits) | (dialogBits & kSiteSaveDialogBits);
            return platform::ProfileEntries{
                {"DefMode", std::to_string(word)},
                {"BlogCutOff", std::to_string(blogDepthCorrection ? kBlogCutOffDefault : kBlogCutOffUnlimited)}};
        },
        error);
}

int SaveQdxFileSettings(const std::string& iniPath, bool downloadWebFiles, const std::string& browserPath,
                        std::string* error) {
    const int basic = platform::UpdateProfileSection(
        iniPath, kBasicSection,
        [&](const platform::ProfileText& now) {
            uint32_t word = static_cast<uint32_t>(
                now.ReadNumber(kBasicSection, "DefMode", static_cast<int32_t>(kDefModeDefault)));
            word = downloadWebFiles ? (word | kDownloadWebFilesBit) : (word & ~kDownloadWebFilesBit);
            platform::ProfileEntries entries{{"DefMode", std::to_string(word)}};
            if (now.HasKey(kBasicSection, "BlogCutOff"))
                entries.emplace_back("BlogCutOff", now.ReadText(kBasicSection, "BlogCutOff", "", 32));
            return entries;
        },
        error);
    if (!basic) return basic;
    platform::ProfileEntries browser;
    if (!browserPath.empty()) browser.emplace_back("BrowserPath", browserPath);
    return platform::WriteProfileSection(iniPath, "QdxDirectBrowse", browser, error);
}

uint32_t ReadWhlMode(const std::string& iniPath) { return ReadModeWord(iniPath, kWholeSection, "WhlMode"); }

int SaveWholeOption(const std::string& iniPath, bool alwaysRemoveAds, bool closeWhenDone, std::string* error) {
    const uint32_t bits = (alwaysRemoveAds ? kWhlAlwaysRemoveAds : 0) | (closeWhenDone ? kWhlCloseWhenDone : 0);
    return SaveNibbleWord(iniPath, kWholeSection, "WhlMode", bits, error);
}

uint32_t ReadSrsMode(const std::string& iniPath) { return ReadModeWord(iniPath, kSeriesSection, "SrsMode"); }

int SaveSeriesOption(const std::string& iniPath, bool closeAfterNotice, std::string* error) {
    return SaveNibbleWord(iniPath, kSeriesSection, "SrsMode", closeAfterNotice ? kSrsCloseAfterNotice : 0, error);
}

SeriesErrorSettings ReadSeriesError(const std::string& iniPath) {
    const platform::ProfileText text = platform::ReadableProfile(iniPath);
    SeriesErrorSettings s;
    s.receiveTimeOutSec = Low16(text.ReadInt(kSeriesErrorSection, "ReceiveTimeOutSec", s.receiveTimeOutSec));
    s.retryCount = Low16(text.ReadInt(kSeriesErrorSection, "RetryCount", s.retryCount));
    s.waitSec = Low16(text.ReadInt(kSeriesErrorSection, "WaitSec", s.waitSec));
    return s;
}

int64_t ReadMaxFileSizeBytes(const std::string& iniPath) {
    const platform::ProfileText text = platform::ReadableProfile(iniPath);
    int32_t mb = text.ReadInt("DownloadLimit", "MaxFileSizeMB", kDefaultMaxFileSizeMB);
    if (mb <= 0) mb = kDefaultMaxFileSizeMB;
    return static_cast<int64_t>(mb) << 20;
}

int SaveSeriesError(const std::string& iniPath, const std::string& receiveTimeOutText,
                    const std::string& retryCountText, const std::string& waitText, std::string* error) {
    return platform::WriteProfileSection(iniPath, kSeriesErrorSection,
                                         {{"ReceiveTimeOutSec", receiveTimeOutText},
                                          {"RetryCount", retryCountText},
                                          {"WaitSec", waitText}},
                                         error);
}

engine::NamedOptions ReadNamedOptions(const std::string& iniPath, std::vector<std::string>* refused) {
    const platform::ProfileText text = platform::ReadableProfile(iniPath);
    engine::NamedOptions options;
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
        if (!text.HasKey(kWebOptionsSection, option.name)) continue;
        const std::string value = text.ReadText(kWebOptionsSection, option.name, "", kNamedValueCapacity);
        std::string error;
        if (!engine::SetNamedOptionText(options, option, value, &error) && refused) refused->push_back(error);
    }
    return options;
}

int SaveNamedOptions(const std::string& iniPath, const engine::NamedOptions& options, std::string* error) {
    platform::ProfileEntries entries;
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable())
        entries.emplace_back(option.name, engine::NamedOptionText(options, option));
    return platform::WriteProfileSection(iniPath, kWebOptionsSection, entries, error);
}

std::string ReadUiLanguageSetting(const std::string& iniPath) {
    const platform::ProfileText text = platform::ReadableProfile(iniPath);
    const std::string value = text.ReadText(kDisplaySection, kUiLanguageKey, platform::kUiLanguageAuto, 16);
    if (value == platform::kUiLanguageJapanese || value == platform::kUiLanguageEnglish) return value;
    return platform::kUiLanguageAuto;
}

int SaveUiLanguageSetting(const std::string& iniPath, const std::string& value, std::string* error) {
    return platform::WriteProfileSection(iniPath, kDisplaySection, {{kUiLanguageKey, value}}, error);
}

void ApplyUiLanguageSetting(const std::string& programFolder) {
    platform::SetUiLanguage(platform::ChooseUiLanguage(ReadUiLanguageSetting(SettingsPath(programFolder))));
}

void HideSettingsFile(const std::string& iniPath) {
    if (platform::IsRegularFile(iniPath)) platform::SetHidden(iniPath);
}

}  // namespace records
