#include "app/UrlHandlers.h"

#include "app/InputRules.h"
#include "engine/ChosenHosts.h"
#include "platform/ByteString.h"
#include "platform/Clock.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/UiText.h"

namespace app {

namespace {

// A watch page of a few hundred kilobytes holds the address; more than this is no such page.
constexpr size_t kPageReadLimit = 32u << 20;

// A handler's recognition of the URLs `test` accepts, with the kind and the message it shows.
std::function<int(RecogniseRecord&)> RecogniseBy(bool (*test)(std::string_view), const char* kind,
                                                 const char* message) {
    return [test, kind, message](RecogniseRecord& record) {
        if (!test(record.url)) return 0;
        record.kindText = kind;
        record.message = message;
        return 1;
    };
}

// --- plain files ---------------------------------------------------------------------------

UrlHandler PlainFileHandler() {
    UrlHandler handler;
    handler.recognise = [](RecogniseRecord& record) {
        return ClassifyFileUrl(record.url, record.kindText, record.message) ? 1 : 0;
    };
    handler.steps.push_back([](StepRecord&) { return 0; });
    return handler;
}

// --- album list pages of the photo service -------------------------------------------------

int OfferAlbumFetcher(StepRecord& record) {
    record.message = platform::Tr("AlbumFetcherで、このアルバムの写真をまとめて保存できます。\r\n");
    record.caption = platform::Tr("AlbumFetcherで写真を保存する");
    return StepMessage | StepButton;
}

UrlHandler PhotoAlbumHandler(const UrlHandlerOptions& options) {
    UrlHandler handler;
    handler.recognise = RecogniseBy(IsPhotoAlbumUrl, platform::Tr("フォトアルバム"), platform::Tr("フォトアルバムの写真一覧のページです。\r\n"));
    handler.steps.push_back(OfferAlbumFetcher);
    handler.steps.push_back([start = options.startProgram](StepRecord& record) -> int {
        const std::string savePath = record.fields && record.fields->savePath ? record.fields->savePath() : "";
        const std::string folder = platform::FolderOf(savePath);
        if (folder.empty()) {
            record.message = platform::Tr("保存先のパスを入力してから、もう一度お試しください。\r\n");
            record.caption = platform::Tr("閉じる");
            return StepMessage | StepButton;
        }
        std::string program = record.programFolder;
        while (!program.empty() && program.back() == '/') program.pop_back();
        program += "/AlbumFetcher";
        const std::vector<std::string> args = {record.text, folder, "auto"};
        const int started = platform::IsRegularFile(program) ? start(program, args) : 0;
        if (started != 1) {
            // The window stays, so the user learns why nothing happens.
            record.message = platform::TrArgs("AlbumFetcherを起動できませんでした。\r\n（%1）\r\n", {program});
            record.caption = platform::Tr("閉じる");
            return StepMessage | StepButton;
        }
        return StepClose;
    });
    // The close button offered when AlbumFetcher could not be started.
    handler.steps.push_back([](StepRecord&) -> int { return StepClose; });
    return handler;
}

// --- watch pages of the video service ------------------------------------------------------

int RewriteToCompanion(StepRecord& record, const std::string& companionHost) {
    const size_t hostLength = VideoWatchHostLength(record.text);
    if (hostLength == 0) return 0;
    record.text = companionHost + record.text.substr(hostLength);
    return StepDownload;
}

bool ReadPage(const std::string& path, std::string& page, int retries, uint32_t waitMs) {
    for (int attempt = 0;; ++attempt) {
        if (platform::ReadWholeFile(path, page, kPageReadLimit)) return true;
        if (attempt >= retries) return false;
        platform::SleepMs(waitMs);
    }
}

int TakeVideoAddress(StepRecord& record, int retries, uint32_t waitMs) {
    std::string page, address;
    if (ReadPage(record.text, page, retries, waitMs) && FindVideoAddress(page, address) == 1) {
        record.text = address;
        record.message = platform::Tr("このページから、動画本体のみを保存することができます。\r\n");
        record.caption = platform::Tr("動画本体のパスをURLにセットする");
    } else {
        record.text.clear();
        record.message = platform::Tr("動画本体のパスの取得に失敗しました。\r\n");
        record.caption = platform::Tr("閉じる");
    }
    return StepMessage | StepButton;
}

int SetVideoAddress(StepRecord& record) {
    // Without an address the button only closes: the fields keep what the user typed.
    if (!record.text.empty() && record.fields) {
        if (record.fields->setUrl) record.fields->setUrl(record.text);
        if (record.fields->savePath && record.fields->setSavePath) {
            const std::string savePath = record.fields->savePath();
            if (!platform::EndsWithI(savePath, ".flv")) record.fields->setSavePath(savePath + "新しいYouTube.flv");
        }
    }
    return StepClose;
}

UrlHandler VideoPageHandler(const UrlHandlerOptions& options) {
    UrlHandler handler;
    handler.recognise = RecogniseBy(IsVideoPageUrl, platform::Tr("YouTubeサイト"),
                                    platform::Tr("YouTube のページです。\r\n動画本体のURLを解析中･･･\r\n"));
    const std::string companion =
        options.videoCompanionHost.empty() ? std::string(engine::hosts::kVideoCompanionHost) : options.videoCompanionHost;
    handler.steps.push_back([companion](StepRecord& record) { return RewriteToCompanion(record, companion); });
    handler.steps.push_back([retries = options.pageReadRetries, wait = options.pageReadWaitMs](StepRecord& record) {
        return TakeVideoAddress(record, retries, wait);
    });
    handler.steps.push_back(SetVideoAddress);
    return handler;
}

bool IsAddressEnd(char c) { return c == '"' || c == '\n' || c == '\r'; }

}  // namespace

bool IsPhotoAlbumUrl(std::string_view url) {
    for (std::string_view host : engine::hosts::kPhotoAlbumHosts) {
        if (!platform::StartsWithI(url, host)) continue;
        // AlbumFetcher finds the view pages by the part in front of the list mark.
        return platform::FindI(url, engine::hosts::kPhotoAlbumListMark, host.size()) != std::string_view::npos;
    }
    return false;
}

int FindVideoAddress(std::string_view page, std::string& address) {
    address.clear();
    const size_t hit = platform::FindI(page, "videoplayback?");
    if (hit == std::string_view::npos) return 0;
    // The walk back starts a little before the hit, past the host and path of the address.
    constexpr size_t kLookBack = 18;
    size_t start = hit >= kLookBack ? hit - kLookBack : 0;
    while (start > 0 && !IsAddressEnd(page[start])) --start;
    if (IsAddressEnd(page[start])) ++start;
    size_t end = hit;
    while (end < page.size() && !IsAddressEnd(page[end])) ++end;
    address.assign(page.substr(start, end - start));
    return 1;
}

int RegisterUrlHandlers(UrlHandlerRegistry& registry, const UrlHandlerOptions& options) {
    UrlHandlerOptions used = options;
    if (!used.startProgram) {
        used.startProgram = [](const std::string& program, const std::vector<std::string>& args) {
            return platform::StartProcess(program, args, false) == platform::ProcessStarted ? 1 : 0;
        };
    }
    return registry.Add(PlainFileHandler()) == 1 && registry.Add(PhotoAlbumHandler(used)) == 1 &&
                   registry.Add(VideoPageHandler(used)) == 1
               ? 1
               : 0;
}

}  // namespace app
