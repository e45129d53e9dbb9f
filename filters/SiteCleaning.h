// Advertisement removal from every page of a saved site: the worker of the ad-removal window
// and the record it shares with that window.
#pragma once

#include <cstdint>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

namespace filters {

// One cleaned page as the window lists it.
struct CleanedPage {
    std::string relativePath;  // below the saved site's present folder
    int result = 0;            // CutAdvFromHtml's result
};

// What the window copies out in one go.
struct SiteCleaningSnapshot {
    uint32_t done = 0;
    uint32_t total = 0;
    bool ended = false;
    std::string error;                 // the record could not be read
    std::vector<CleanedPage> newPages; // pages finished since the previous snapshot
};

// Shared by the worker and the window; every member is used under the one lock.
class SiteCleaningJob {
public:
    void Begin(uint32_t total);
    void AddPage(CleanedPage page);
    void Fail(std::string message);
    void End();
    // Copies the state out; the pages handed over are not handed over again.
    SiteCleaningSnapshot TakeSnapshot();

private:
    std::mutex m_lock;
    SiteCleaningSnapshot m_state;
};

// The count text: "処理済HTMLファイル数", CR LF, "i ／ n", CR LF, "･･･ p％終了".
std::string CleaningCountText(uint32_t done, uint32_t total);
int CleaningPercent(uint32_t done, uint32_t total);
// The list's result column.
std::string CleaningResultText(int result);

// True for an HTML page: by its name, or, under another name, by how the file begins. Style
// sheets and scripts, which the saved-site log lists too, are no pages.
bool IsHtmlPageFile(const std::string& path);

// Worker thread: cleans in place every HTML page listed in the saved-site log of the record at
// `qdxPath`, sleeping `sleepMs` after each, until done or stopped; other listed files are
// counted and left as they are. Returns 1 when the record was read, else 0 (the job then
// holds the reader's message; the record is never deleted here).
[[nodiscard]] int CleanSavedSite(const std::string& qdxPath, uint32_t sleepMs, SiteCleaningJob& job,
                                 std::stop_token stop);

}  // namespace filters
