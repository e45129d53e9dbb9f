#include "app/PageAnalysis.h"

#include "engine/ChosenHosts.h"
#include "engine/CrawlDriver.h"
#include "engine/LinkKind.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/UiText.h"

namespace app {

namespace {

constexpr uint32_t kManyLinks = 25;
constexpr double kMainPictureRatio = 0.6;

bool EndsWithAny(const std::string& url, std::initializer_list<std::string_view> endings) {
    for (std::string_view e : endings)
        if (platform::EndsWithI(url, e)) return true;
    return false;
}

std::string FolderOfUrl(const std::string& url) { return std::string(platform::UpToLast(url, '/')); }

// The link with the greatest value of one kind; the first wins ties, 0 never wins.
void TakeLargest(const PageAnalysis& page, size_t i, size_t& largest) {
    if (page.links[i].value > page.ValueOf(largest)) largest = i;
}

bool HasMainPicture(const PageAnalysis& page) {
    if (page.largestPicture == 0) return false;
    const double ratio = static_cast<double>(page.ValueOf(page.previousPicture)) /
                         (static_cast<double>(page.ValueOf(page.largestPicture)) + 1.0);
    return ratio < kMainPictureRatio;
}

// "　－　[title]", the way the detailed report names a linked page.
std::string TitleMark(const std::string& title) {
    return "　－　[" + (title.empty() ? std::string(platform::Tr("ページタイトル不明")) : title) + "]";
}

std::string UpperLines(const PageAnalysis& page, bool withTitles) {
    std::string text = platform::TrArgs("■最大上位階層：%1\r\n▽上位階層へのリンクとなるのは以下のページです。\r\n",
                                        {std::to_string(page.maxUpper)});
    for (size_t i = 1; i < page.links.size(); ++i) {
        const AnalysedLink& link = page.links[i];
        if (link.level >= 0) continue;
        text += link.url;
        if (withTitles) text += TitleMark(link.title);
        text += "\r\n";
    }
    return text;
}

}  // namespace

int32_t RefineEmbedKind(const std::string& url, int32_t kind) {
    if (kind != engine::EmbedData && kind != engine::OutDomainEmbed) return kind;
    if (url.size() > 6 && EndsWithAny(url, {".jpg", ".jpeg", ".gif", ".png", ".bmp"})) kind = KindPicture;
    if (EndsWithAny(url, {".swf"})) kind = KindFlash;
    if (EndsWithAny(url, {".mp3", ".mpa", ".wma", ".wav", ".mid"})) kind = KindSound;
    if (EndsWithAny(url, {".mpg", ".mpeg", ".avi", ".wmv", ".mov"})) kind = KindVideo;
    return kind;
}

void SummariseLinks(PageAnalysis& page) {
    bool runOpen = false;
    std::string runFolder;
    uint32_t length = 0;
    for (size_t i = 1; i < page.links.size(); ++i) {
        const AnalysedLink& link = page.links[i];
        page.maxUpper = std::max(page.maxUpper, -link.level);
        switch (link.kind) {
        case KindPicture:
            if (link.value > page.ValueOf(page.largestPicture)) {
                page.previousPicture = page.largestPicture;
                page.largestPicture = i;
            }
            break;
        case KindFlash: TakeLargest(page, i, page.largestFlash); break;
        case KindVideo: TakeLargest(page, i, page.largestVideo); break;
        case KindSound: TakeLargest(page, i, page.largestSound); break;
        case engine::LinkPage:
            if (link.value == 1) page.needsAlias = true;
            if (link.level < 0) page.hasUpperLinks = true;
            break;
        case engine::OutDomainPage: {
            const std::string folder = FolderOfUrl(link.url);
            if (runOpen && folder.rfind(runFolder, 0) == 0) {
                ++length;
            } else {
                // Another site closes the run, and may open the next one.
                runOpen = false;
            }
            if (!runOpen && engine::IsPageUrl(link.url) && !engine::IsDynamicName(link.url) &&
                link.url.find('?') == std::string::npos) {
                runOpen = true;
                runFolder = folder;
                length = 1;
            }
            if (runOpen && length > page.runLength) {
                page.runLength = length;
                page.runIndex = i;
            }
            break;
        }
        default: break;
        }
    }
    for (const auto& frame : page.frames) {
        if (!frame) continue;
        page.needsAlias = page.needsAlias || frame->needsAlias;
        page.agentStatus |= frame->agentStatus;
        page.maxUpper = std::max(page.maxUpper, frame->maxUpper);
    }
}

bool HasManyOutLinks(const PageAnalysis& page) { return page.runLength >= kManyLinks; }

bool AnyAdvice(const PageAnalysis& page) { return !AdviceText(page).empty(); }

std::string AdviceText(const PageAnalysis& page) {
    std::string text;
    if (page.agentStatus != FetchedPlain) text += platform::Tr("◆要Agentオプション。\r\n");
    if (page.needsAlias) text += platform::Tr("◆要Alias補正オプション。\r\n");
    if (HasManyOutLinks(page)) text += platform::Tr("◇外部パス オプションの『選択』を推奨。\r\n\r\n");
    return text;
}

std::string Report(const PageAnalysis& page, bool withAdvice, bool withTitles) {
    std::string text = withAdvice ? AdviceText(page) : std::string();
    if (page.hasUpperLinks) text += UpperLines(page, withTitles);
    if (HasMainPicture(page)) text += platform::Tr("■メインと思われる画像。\r\n") + page.links[page.largestPicture].url + "\r\n";
    if (page.largestFlash) text += platform::Tr("■メインと思われるフラッシュ。\r\n") + page.links[page.largestFlash].url + "\r\n";
    if (page.largestVideo) text += platform::Tr("■メインと思われる動画。\r\n") + page.links[page.largestVideo].url + "\r\n";
    if (page.largestSound) text += platform::Tr("■メインと思われる音声。\r\n") + page.links[page.largestSound].url + "\r\n";
    if (page.isFramePage) {
        text += platform::Tr("○フレームページです。\r\n");
        for (size_t i = 1; i < page.frames.size(); ++i) {
            const PageAnalysis* frame = page.frames[i].get();
            if (!frame) continue;
            text += platform::TrArgs("【%1】の詳細\r\n", {frame->url});
            if (withTitles) text += TitleMark(page.links[i].title) + "\r\n";
            const std::string own = Report(*frame, false, withTitles);
            text += own.empty() ? std::string(platform::Tr("特記事項無し。\r\n")) : own;
        }
    }
    if (HasManyOutLinks(page))
        text += platform::TrArgs("■外部ドメイン。\r\n以下の外部ドメインへのリンクが多数(%1個)。\r\n",
                                 {std::to_string(page.runLength)}) +
                page.links[page.runIndex].url + "\r\n";
    return text;
}

std::string PanelSummary(const PageAnalysis& page) {
    const std::string report = Report(page, true, false);
    return page.url + platform::Tr("\r\n□解析終了。\r\n\r\n\r\n") +
           (report.empty() ? std::string(platform::Tr("特記事項無し。")) : report) +
           platform::Tr("\r\n\r\n※詳細については、\r\n下の「解析詳細情報」をクリックしてください。");
}

namespace {

// The blog service serves the same pages on both schemes.
bool LimitedSite(const std::string& url) {
    const std::string blog = std::string(engine::hosts::kBlogServiceA) + "/";
    return engine::IsNovelSiteUrl(url) || platform::StartsWithI(url, "http://" + blog) ||
           platform::StartsWithI(url, "https://" + blog);
}

}  // namespace

int32_t RecommendedUpperLimit(const PageAnalysis& page) { return LimitedSite(page.url) ? 0 : page.maxUpper; }

std::string UpperLimitAdvice(const PageAnalysis& page) {
    if (LimitedSite(page.url)) return platform::Tr("目的範囲の保存のための、上位階層の上限値の推奨値は 0 です。");
    if (page.maxUpper >= 1)
        return platform::TrArgs("サイトの全てを保存するには、上位階層の上限値に %1 を指定してください。\r\n",
                                {std::to_string(page.maxUpper)});
    return {};
}

std::vector<std::string> MainObjectUrls(const PageAnalysis& page) {
    std::vector<std::string> urls;
    if (page.largestPicture) urls.push_back(platform::Tr(kPictureMark) + page.links[page.largestPicture].url);
    for (size_t i : {page.largestFlash, page.largestVideo, page.largestSound})
        if (i) urls.push_back(page.links[i].url);
    for (const auto& frame : page.frames)
        if (frame)
            for (std::string& url : MainObjectUrls(*frame)) urls.push_back(std::move(url));
    return urls;
}

AnalysisDetails DetailsOf(const PageAnalysis& page) {
    AnalysisDetails details;
    const std::string report = Report(page, true, true);
    details.message = report.empty() ? platform::Tr("特記事項無し。") : report;
    if (page.isFramePage)
        details.message += platform::Tr(
            "\r\n\r\n※下記のオブジェクトURL一覧には\r\n　フレーム全体で最も大きな画像、フラッシュ等が示されます。");
    details.advice = AnyAdvice(page) ? platform::Tr("上記に示されたオプションの指定を推奨します。")
                                     : platform::Tr("オプションを指定する必要は特にありません。");
    const std::string limitAdvice = UpperLimitAdvice(page);
    if (!limitAdvice.empty()) details.advice += "\r\n" + limitAdvice;
    return details;
}

std::string ObjectUrlOfChoice(const std::string& choice) {
    for (const char* mark : {kPictureMark, platform::Tr(kPictureMark)}) {
        const std::string_view m(mark);
        if (choice.rfind(m, 0) == 0) return choice.substr(m.size());
    }
    return choice;
}

}  // namespace app
