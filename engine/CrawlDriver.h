// The new-site crawl: a depth-first walk over pages with a deferred list for pages that
// lie deeper than the recursion allows. Everything here runs on the worker thread.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/LinkTable.h"

namespace engine {

class SaveHost;
class SaveJob;

constexpr uint32_t kMaxRecursionDepth = 80;

struct DeferredPage {
    std::string path;
    std::string url;
    int32_t level = 0;
    bool answerDecides = false;  // a link whose answer says what it is
};

// What the answer to a link whose name did not say made of it: a page, a style sheet or a
// file at its stored path; NotFollowed, without a path, when the fetch failed.
struct AnswerDecision {
    int32_t kind = 0;
    std::string path;
};

// A saved page with links pointed online that may lead to the copy once their files are saved.
struct PointedOnline {
    std::string path;
    std::string linkBase;  // the address its links are read against
    // The files those links name; when all are known, the page is read again only if one of
    // them was saved.
    std::vector<std::string> targets;
    bool targetsKnown = false;
};

// State of one new-site run, owned by the driver.
struct CrawlState {
    std::deque<DeferredPage> deferred;
    std::unordered_set<std::string> deferredUrls;  // URLs now in the list (exact case)
    uint32_t recursionDepth = 0;
    // The page the run starts from is fetched again even when a copy lies on disk (the fetch
    // replaces the copy only when it succeeds).
    std::string refetchPath;
    // Pages whose links were pointed online; looked at again when the run ends.
    std::vector<PointedOnline> pointedOnline;
    // Every file this run put in place (pages and embedded files), marked true for the pages
    // it fetched and kept as saved copies: asked for again, they need no look at the disk.
    std::unordered_map<std::string, bool> filesInPlace;
    // Linked pages the guesses for fetching ahead found without a file, so that a page linked
    // from many others is looked for on disk once, not once a link; a page leaves the set when
    // its step has run. The walk itself never goes by it.
    std::unordered_set<std::string> guessedAbsent;
    // The answers heard for links whose names did not say what they are, by URL: asked once,
    // every later link to the same URL names what was stored.
    std::unordered_map<std::string, AnswerDecision> decided;
    // Why the page step that just ended failed on its own account ("" when it did not: a
    // failure then lies further down), for the failure line of the page that linked it.
    std::string stepFailure;

    // Whether this run fetched the page at `path` and kept it as a saved copy.
    bool SavedCopy(const std::string& path) const;

    // Whether a file lies at `path`: known for the files of this run, else asked of the disk.
    bool HasFile(const std::string& path) const;

    // Appends a page unless the same URL already waits in the list.
    void Defer(const std::string& path, const std::string& url, int32_t level, bool answerDecides = false);
    bool TakeFirst(DeferredPage& out);
};

// Saves the page at `startUrl` into `startPath` and everything it leads to. 1 when every
// page was saved, else 0. Also used by the update check for each page saved again; with
// `answerDecides` (a page named by the answer to a link) the answer decides again what the
// URL is, so that a page never gives way to a file of the same URL.
// `seeds` (absolute URLs, from the site's sitemaps) are followed after the start page's own
// links as if the start page linked them: the same limits decide which are saved.
int NewSiteDownload(SaveHost& host, SaveJob& job, const std::string& startPath, const std::string& startUrl,
                    int32_t level, bool answerDecides = false, const std::vector<std::string>& seeds = {});

// One page step: admission, fetch, conversion, scan, classification, rewrite, embedded
// files, recursion into linked pages and the record of the page. 1 success, 0 failure.
int CrawlPage(SaveHost& host, SaveJob& job, const std::string& localPath, const std::string& url, int32_t level,
              CrawlState& state);

// Fetches the page's embedded files (kinds 10 and 60). 1 when none failed.
int DownloadEmbeds(SaveHost& host, SaveJob& job, const LinkTable& table);

// The text used in the failure line of a linked page: URLs of 31 characters or more are
// cut to 30 followed by "･･･".
std::string ShortUrlForLog(const std::string& url);

}  // namespace engine
