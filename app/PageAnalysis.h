// What a complete save of one page would meet: links above its folder, the options it needs,
// its main picture or media file, many links into one other site, and the same per frame.
// The measuring (fetching) fills the links; the functions here judge them and word the report.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace app {

enum RefinedKind : int32_t { KindPicture = 11, KindFlash = 12, KindSound = 13, KindVideo = 14 };
enum AgentStatus : uint8_t { FetchedPlain = 0, NeedsAgent = 1, NotFetched = 2 };

struct AnalysedLink {
    std::string url;
    int32_t kind = 0;
    int32_t level = 0;
    uint32_t value = 0;  // size measure of an embedded file; 1 for a page link written from the root
    std::string title;   // of a linked page
};

struct PageAnalysis {
    std::string url;
    uint8_t agentStatus = FetchedPlain;
    bool isFramePage = false;
    bool needsAlias = false;
    bool hasUpperLinks = false;
    int32_t maxUpper = 0;
    size_t largestPicture = 0, previousPicture = 0, largestFlash = 0, largestVideo = 0, largestSound = 0;
    uint32_t runLength = 0;
    size_t runIndex = 0;
    std::vector<AnalysedLink> links{1};  // slot 0 unused: index 0 means "none"
    std::vector<std::unique_ptr<PageAnalysis>> frames{1};  // per link, for frame pages

    uint32_t ValueOf(size_t index) const { return index < links.size() ? links[index].value : 0; }
};

// The kind of an embedded file (10 or 70) by its URL; other kinds stay.
int32_t RefineEmbedKind(const std::string& url, int32_t kind);
// The judgement over the measured links (and the frames folded in).
void SummariseLinks(PageAnalysis& page);
bool HasManyOutLinks(const PageAnalysis& page);
bool AnyAdvice(const PageAnalysis& page);

std::string AdviceText(const PageAnalysis& page);
std::string Report(const PageAnalysis& page, bool withAdvice, bool withTitles);
// The analysis panel's text once the analysis has ended.
std::string PanelSummary(const PageAnalysis& page);
int32_t RecommendedUpperLimit(const PageAnalysis& page);
std::string UpperLimitAdvice(const PageAnalysis& page);
// The main objects of the page and its frames, for the dialog's list ("[ 絵 ]", in the user's
// language, marks a picture).
constexpr const char* kPictureMark = "[ 絵 ]";
std::vector<std::string> MainObjectUrls(const PageAnalysis& page);
// The address of an entry of that list, without its mark.
std::string ObjectUrlOfChoice(const std::string& choice);

// What the details dialog shows: the report and the advice under it.
struct AnalysisDetails {
    std::string message;
    std::string advice;
};
AnalysisDetails DetailsOf(const PageAnalysis& page);

}  // namespace app
