#include "app/InputRules.h"


#include "engine/ArchivePages.h"
#include "engine/BlogPages.h"
#include "engine/ModeFlags.h"
#include "engine/UrlModel.h"
#include "engine/ChosenHosts.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace app {

using namespace engine::mode;

namespace {

constexpr uint32_t kIndexCompletionOff = 0x4000;
constexpr uint32_t kDynamicAsHtml = 0x80000;
constexpr uint32_t kNoRetry = 0x800000;
constexpr uint32_t kNoTitleCheck = 0x1000000;
constexpr uint32_t kDefaultOutDomainAll = 0x10;
constexpr uint32_t kDefaultOutDomainSelect = 0x20;

// Characters a save name must not hold.
constexpr std::string_view kBadNameChars = "\\/:,;*?<>|";

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string SaveNameForUrl(std::string_view url) {
    const size_t slash = url.rfind('/');
    if (slash == std::string_view::npos) return "新規ページ.html";
    if (slash + 1 == url.size()) return "index.html";
    return std::string(url.substr(slash + 1));
}

std::string CurrentFolder() {
    const std::string here = platform::WorkingFolder();
    return here.empty() ? std::string("/") : here;
}

std::string DefaultSavePath(const std::vector<std::string>& history, const std::string& currentDir,
                            std::string_view url) {
    std::string folder;
    if (!history.empty() && history.front().find('/') != std::string::npos) {
        folder = platform::FolderOf(history.front());
    } else {
        folder = currentDir;
        if (folder.empty() || folder.back() != '/') folder += '/';
    }
    return folder + SaveNameForUrl(url);
}

std::string SavePathForUrl(const std::string& savePath, std::string_view url) {
    if (savePath.find('/') == std::string::npos) return savePath;
    return platform::FolderOf(savePath) + SaveNameForUrl(url);
}

size_t VideoWatchHostLength(std::string_view url) {
    const std::string_view path = engine::hosts::kVideoWatchPath;
    for (std::string_view host : engine::hosts::kVideoWatchHosts) {
        // A watch page names its video: the prefix alone, or with one character, is none.
        const size_t prefixLength = host.size() + path.size();
        if (url.size() > prefixLength + 1 && platform::StartsWithI(url, host) &&
            platform::StartsWithI(url.substr(host.size()), path))
            return host.size();
    }
    return 0;
}

bool IsVideoPageUrl(std::string_view url) { return VideoWatchHostLength(url) != 0; }

std::string UrlForField(std::string_view text, uint32_t defMode) {
    // Dropped text may bring a line break or several lines: the first line is the URL.
    const size_t lineEnd = text.find_first_of("\r\n");
    std::string url(TrimBlanks(text.substr(0, lineEnd)));
    const size_t slash = url.rfind('/');
    if (slash != std::string::npos) {
        const size_t hash = url.find('#', slash);
        if (hash != std::string::npos) url.erase(hash);
    }
    const size_t schemeEnd = engine::SchemeEnd(url);
    const bool hostOnly = schemeEnd != std::string::npos && url.size() > schemeEnd &&
                          url.find('/', schemeEnd) == std::string::npos;
    const std::string_view segment = slash == std::string::npos ? std::string_view(url)
                                                                 : std::string_view(url).substr(slash + 1);
    // A segment with a query names a page, not a folder; a slash there would change the query.
    const bool folderLike = !segment.empty() && segment.find('.') == std::string_view::npos &&
                            segment.find('?') == std::string_view::npos;
    if (hostOnly || (!IsVideoPageUrl(url) && folderLike)) url += '/';
    if (!(defMode & kIndexCompletionOff) && !url.empty() && url.back() == '/') url += "index.html";
    return url;
}

bool IsCompleteSaveUrl(std::string_view url, uint32_t defMode) {
    if (engine::IsPageUrl(url)) return true;
    return engine::IsDynamicName(url) && (defMode & kDynamicAsHtml);
}

int UrlFolderLevels(std::string_view url) {
    size_t start = engine::SchemeEnd(url);
    if (start == std::string_view::npos) start = 0;
    std::string_view path = url.substr(start);
    path = path.substr(0, path.find_first_of("?#"));
    int slashes = 0;
    for (char c : path)
        if (c == '/') ++slashes;
    return slashes > 0 ? slashes - 1 : 0;
}

int32_t LimitOfField(const std::string& limitText) {
    const long long value = platform::ParseDecimal(limitText);
    if (value < 0) return 0;
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

int CheckInputFields(InputFields& fields, const std::function<bool()>& askCreateFolder) {
    fields.url = engine::EncodeUrl(TrimBlanks(fields.url));
    if (engine::SchemeEnd(fields.url) == std::string::npos) return InputBadUrl;
    if (engine::ContainsReservedDeviceName(fields.url)) return InputReservedName;
    if (LimitOfField(fields.limitText) > UrlFolderLevels(fields.url)) return InputBadLimit;
    if (fields.savePath.find('/') == std::string::npos) return InputBadSavePath;
    if (platform::PathFitsLimits(fields.savePath) != platform::PathFits) return InputPathTooLong;
    const std::string folder = platform::FolderOf(fields.savePath);
    if (!platform::IsDirectory(folder)) {
        if (!askCreateFolder || !askCreateFolder()) return InputFolderDeclined;
        if (!platform::CreateFolderChain(folder)) return InputFolderNotCreated;
    }
    const std::string name = platform::NameOf(fields.savePath);
    if (name.empty()) return InputNoName;
    if (name.find_first_of(kBadNameChars) != std::string::npos) return InputBadName;
    return InputOk;
}

std::string InputCheckMessage(int result) {
    switch (result) {
    case InputBadUrl: return platform::Tr("URLが正しくありません。");
    case InputReservedName: return platform::Tr("指定されたURLからは保存できません（予約デバイス名が含まれています）。");
    case InputBadLimit: return platform::Tr("上位階層の指定が不正です。");
    case InputBadSavePath: return platform::Tr("保存先が正しくありません。");
    case InputFolderNotCreated: return platform::Tr("指定されたフォルダを作成できませんでした。");
    case InputNoName: return platform::Tr("保存ファイル名が指定されていません。");
    case InputBadName: return platform::Tr("保存名に使用できない文字が含まれています。");
    case InputPathTooLong:
        return platform::TrArgs("保存先のパスが長すぎます。フォルダ名やファイル名は1つ%1バイトまで、パス全体では%2バイトまでです。",
                                {std::to_string(platform::NameMaxBytes()), std::to_string(platform::PathMaxBytes())});
    default: return {};
    }
}

uint32_t InputOptionMask() {
    return neglect | arias | OutDomainAll | OutDomainSelect | agent | datafolder | qdxfile | TraceSelect |
           FollowDynamicPages | RetryOnFailure | NotFoundTitleCheck | WebArchiveSite | BlogSite;
}

uint32_t SiteAdapterBits(std::string_view urlBase) {
    uint32_t bits = 0;
    if (engine::IsWebArchiveUrl(urlBase)) bits |= WebArchiveSite;
    if (engine::IsBlogSaveUrl(urlBase)) bits |= BlogSite;
    return bits;
}

InputOptions InitialInputOptions(uint32_t defMode) {
    InputOptions options;
    options.dataFolder = (defMode & datafolder) != 0;
    options.updateLog = (defMode & qdxfile) != 0;
    if (defMode & kDefaultOutDomainAll)
        options.outDomain = 1;
    else if (defMode & kDefaultOutDomainSelect)
        options.outDomain = 2;
    return options;
}

uint32_t JobOptionBits(const InputOptions& options, uint32_t defMode) {
    uint32_t bits = 0;
    if (options.forced) bits |= neglect;
    if (options.alias) bits |= arias;
    if (options.agent) bits |= agent;
    if (options.dataFolder) bits |= datafolder;
    if (options.updateLog) bits |= qdxfile;
    if (options.traceSelect) bits |= TraceSelect;
    if (options.outDomain == 1) bits |= OutDomainAll;
    if (options.outDomain == 2) bits |= OutDomainSelect;
    if (defMode & kDynamicAsHtml) bits |= FollowDynamicPages;
    if (!(defMode & kNoRetry)) bits |= RetryOnFailure;
    if (!(defMode & kNoTitleCheck)) bits |= NotFoundTitleCheck;
    return bits;
}

}  // namespace app
