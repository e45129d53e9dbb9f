// Stand-in until link extraction lands: pages are kept as fetched and yield no links.
#include "engine/LinkScanner.h"

#include "engine/LinkKind.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"

namespace engine {

void ConvertPage(SaveJob& job, const std::string&, const std::string&) {
    job.AppendLog("  コードを変換＆リンク先を調査中…");
}

void CorrectRootLinks(const std::string&, const std::string&) {}

int ScanLinks(SaveJob&, const std::string&, LinkTable&) { return 0; }
int ExtractLinks(std::string&, LinkTable&) { return 1; }
int ExtractAttribute(std::string_view, std::string_view, bool, LinkTable&, int index) { return index; }
int ExtractCssUrls(std::string_view, LinkTable&, int index) { return index; }
int CleanLink(std::string&) { return 0; }
int UrlFromScript(std::string_view, std::string&) { return 0; }
int MakeRelative(std::string&, std::string_view) { return 0; }

int ClassifyLink(SaveJob& job, const std::string& pagePath, const std::string& pageUrl, int32_t pageLevel,
                 std::string& outPath, std::string& link, int32_t& outKind, int32_t& outLevel) {
    return ResolveLink(pagePath, pageUrl, pageLevel, job.LankLimit(), outPath, link, outKind, outLevel);
}

}  // namespace engine
