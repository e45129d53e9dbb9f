#include "engine/CrawlDriver.h"

#include "engine/FailureReason.h"
#include "engine/Fetcher.h"
#include "engine/HistoryNotes.h"
#include "engine/JobRecords.h"
#include "engine/LinkKind.h"
#include "engine/LinkRewriter.h"
#include "engine/LinkScanner.h"
#include "engine/LinkText.h"
#include "engine/PageFile.h"
#include "engine/PageBase.h"
#include "engine/PageCharset.h"
#include "engine/PlaceholderPages.h"
#include "engine/PlayList.h"
#include "engine/Prefetcher.h"
#include "engine/RenderStep.h"
#include "engine/RobotsCheck.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/ByteSize.h"
#include "platform/FileUtil.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace engine {

namespace {

constexpr uint32_t kNovelSiteWaitMs = 30000;

// The page step and the embedded files with the run's pool (null: no fetching ahead).
int CrawlStep(SaveHost& host, SaveJob& job, const std::string& localPath, const std::string& url, int32_t level,
              CrawlState& state, Prefetcher* prefetch, bool answerDecides = false);
int DownloadEmbedsWith(SaveHost& host, SaveJob& job, const LinkTable& table, Prefetcher* prefetch,
                       CrawlState* state);

void RecordPage(SaveJob& job, const std::string& path, const std::string& url, int32_t level, int64_t size) {
    if (JobRecords* records = job.Records()) records->RecordPage(job, path, url, level, size < 0 ? 0 : size);
}

std::string LevelLine(int32_t level, uint32_t depth) {
    return "  階層ナンバー: " + std::to_string(level) + "   (R.Func:" + (depth == 0 ? " 0" : std::to_string(depth)) +
           " )";
}

// A copy on disk counts as saved, except for the page the run starts from and, when the job
// revisits saved pages, for a page this run has not visited yet.
bool AlreadySaved(SaveJob& job, const std::string& localPath, CrawlState& state) {
    const bool startOfRun = !state.refetchPath.empty() && localPath == state.refetchPath;
    if (startOfRun) state.refetchPath.clear();
    const bool firstVisit = job.RevisitSavedPages() && job.MarkPageVisited(localPath);
    if (startOfRun || firstVisit) return false;
    if (state.SavedCopy(localPath)) return true;
    // A page that the trace selection left out where it was met deeper down is fetched when
    // it is met again within the selection (as a link of the start page).
    return IsSavedCopy(localPath) && !IsCanceledPage(localPath);
}

// Whether a linked page still needs its fetch (for fetching ahead). Only a guess: a page
// found without a file stays so for the guesses until the walk's own step for it has run.
bool StillToFetch(const SaveJob& job, const std::string& path, CrawlState& state) {
    if (state.SavedCopy(path)) return false;  // fetched in this run, so visited too
    if (state.guessedAbsent.count(path) > 0) return true;
    if (!state.HasFile(path)) {
        state.guessedAbsent.insert(path);
        return true;
    }
    return job.RevisitSavedPages() && !job.PageVisited(path);
}

// A failed fetch never replaces a copy on disk: the copy stays, and stays recorded as saved.
// Where no copy exists the failure page takes the page's place.
int PageFetchFailed(SaveJob& job, const std::string& localPath, const std::string& url, int32_t level,
                    const std::string& reason, CrawlState& state) {
    state.stepFailure = reason.empty() ? std::string(kReasonUnknown) : reason;
    if (IsSavedCopy(localPath)) {
        RecordPage(job, localPath, url, level, platform::FileSize(localPath));
        job.AppendLog("  ＤＬに失敗しました。");
        job.AppendLog(ReasonLine("  ", state.stepFailure, url));
        job.AppendLog("  保存済みのページをそのまま残します。");
        return 0;
    }
    if (!WriteFailedPage(url, localPath)) job.AppendLog("  ！失敗ページを書き込めません: " + localPath);
    RecordPage(job, localPath, url, level, 0);
    job.AppendLog("  ＤＬに失敗しました。");
    job.AppendLog(ReasonLine("  ", state.stepFailure, url));
    return 0;
}

enum class Admission { Admitted, Deferred, Skipped };

// Admission tests of a page step.
Admission AdmitPage(SaveJob& job, const std::string& localPath, const std::string& url, int32_t level,
                    CrawlState& state, bool answerDecides) {
    if (state.recursionDepth > kMaxRecursionDepth) {
        job.AppendLog("  このページのＤＬに失敗しました(検索階層が深過ぎる)。後にリトライします。");
        state.Defer(localPath, url, level, answerDecides);
        return Admission::Deferred;
    }
    if (job.Has(mode::BlogSite)) {
        uint16_t cutOff = job.BlogCutOff();
        if (cutOff != mode::BlogCutOffUnlimited && state.recursionDepth > cutOff) {
            job.AppendLog("  ブログでは、これ以上の階層追跡を中止します(実験的オプション)。");
            return Admission::Skipped;
        }
    }
    if (AlreadySaved(job, localPath, state)) {
        job.AppendLog("  このページはすでにＤＬ済みです。");
        return Admission::Skipped;
    }
    return Admission::Admitted;
}

// The link trace selection: below the first step only chosen URLs are followed.
bool InTraceSelection(const std::string& url, uint32_t depth, const std::vector<std::string>& selection) {
    if (depth <= 1 || platform::EndsWithI(url, ".css") || selection.empty()) return true;
    for (const std::string& s : selection)
        if (platform::ContainsI(url, s)) return true;
    return false;
}

bool SelectedForTrace(SaveJob& job, const std::string& url, const CrawlState& state) {
    if (state.recursionDepth <= 1 || platform::EndsWithI(url, ".css")) return true;
    return InTraceSelection(url, state.recursionDepth, job.TraceSelection());
}

// Fetching ahead only at the full CPU level: a lower level asks for a light load.
Prefetcher* AheadOf(SaveJob& job, Prefetcher* prefetch) {
    return prefetch && job.CpuSleepMs() == 0 ? prefetch : nullptr;
}

// The first try of a page or file: its fetch ahead when there was one (a failure there counts
// like a failed try of the walk, so the second tries, their requests and their log lines stay
// those of the walk alone), else a fetch now.
// With `staged`, the file stays at a temporary name, given there, for the caller to move.
int FirstTry(SaveJob& job, Prefetcher* prefetch, const std::string& url, const std::string& path,
             FetchOrigin* origin = nullptr, std::string* staged = nullptr) {
    const Prefetcher::TakeResult ahead =
        prefetch ? prefetch->Take(url, path, origin, staged) : Prefetcher::NotFetched;
    if (origin)
        for (std::string& line : std::exchange(origin->notes, {})) job.AppendLog(std::move(line));
    if (ahead != Prefetcher::NotFetched) return static_cast<int>(ahead);
    return staged ? FetchUrlToStaging(job, url, path, *staged, origin) : FetchUrlToFile(job, url, path, origin);
}

// A fetched page goes where a folder of its name is in the way: the fetch counts as failed.
int StagedPageFits(const std::string& localPath, std::string& staged) {
    if (!platform::IsDirectory(localPath)) return 1;
    platform::DiscardTemporary(std::exchange(staged, std::string()));
    return 0;
}

// Fetch of the page with its second tries. Returns 1 when the page may be converted.
// `origin` receives where the page came from (empty when unknown). The first try leaves the
// page at the temporary name given in `staged`; the others put it at its path.
// A link whose answer decides what it is keeps every try at its temporary name: until the
// answer is read, nothing may take the place of a page saved before.
int FetchPage(SaveJob& job, const std::string& localPath, const std::string& url, Prefetcher* prefetch,
              FetchOrigin& origin, std::string& staged, bool answerDecides) {
    const auto again = [&](const std::string& from) {
        return answerDecides ? FetchUrlToStaging(job, from, localPath, staged, &origin)
                             : FetchUrlToFile(job, from, localPath, &origin);
    };
    int ok = FirstTry(job, prefetch, url, localPath, &origin, &staged);
    if (ok && !StagedPageFits(localPath, staged)) {
        ok = 0;
        origin.failure = kReasonFolderInTheWay;
    }
    if (!ok && platform::EndsWithI(url, "index.html")) ok = again(url.substr(0, url.size() - 10));
    if (!ok && IsNovelSiteUrl(url)) {
        job.Pause(kNovelSiteWaitMs);
        ok = again(url);
    }
    if (ok) return 1;
    // A failed fetch leaves no partial file behind; forced conversion asks once more and
    // keeps the page as far as it arrives (or an older copy already there).
    if (!answerDecides && job.Has(mode::neglect) &&
        (platform::IsRegularFile(localPath) || FetchPartialPage(job, url, localPath))) {
        job.AppendLog("  ＤＬが正常終了しませんでしたが、変換を続行します。");
        return 1;
    }
    if (job.Has(mode::RetryOnFailure) && !job.StopRequested() && !job.HostUnreachable(url)) {
        job.AppendLog("  応答を待機中…");
        job.Pause(job.Run().retryWaitMs);
        ok = again(url);
    }
    return ok;
}

// What an answer's Content-Type makes of a link whose name did not say: a page, a style sheet,
// or else a file.
int32_t KindOfAnswer(std::string_view contentType) {
    std::string_view type = contentType.substr(0, contentType.find(';'));
    while (!type.empty() && (type.back() == ' ' || type.back() == '\t')) type.remove_suffix(1);
    while (!type.empty() && (type.front() == ' ' || type.front() == '\t')) type.remove_prefix(1);
    if (platform::EqualsI(type, "text/html") || platform::EqualsI(type, "application/xhtml+xml")) return LinkPage;
    if (platform::EqualsI(type, "text/css")) return CssData;
    return EmbedData;
}

// The linked path without the ".html" that such a link was given until its answer came.
std::string AnswerStem(const std::string& linkedPath) { return linkedPath.substr(0, linkedPath.size() - 5); }

// An answer that is neither page nor style sheet is a file under the URL's own name. It stays
// on disk as it came, never read into memory, and never takes the place of a page or folder.
int KeepAnswerAsFile(SaveJob& job, const std::string& linkedPath, const std::string& url, std::string& staged,
                     CrawlState& state) {
    const std::string path = AnswerStem(linkedPath);
    const std::string fetched = std::exchange(staged, std::string());
    if (fetched.empty() || platform::IsDirectory(path) || !platform::RenameFile(fetched, path)) {
        if (!fetched.empty()) platform::DiscardTemporary(fetched);
        state.decided[url] = {NotFollowed, {}};
        state.stepFailure = platform::IsDirectory(path) ? kReasonFolderInTheWay : kReasonUnknown;
        job.AppendLog("  ＤＬに失敗しました。");
        job.AppendLog(ReasonLine("  ", state.stepFailure, url));
        return 0;
    }
    state.filesInPlace.emplace(path, false);
    state.decided[url] = {EmbedData, path};
    const int64_t size = platform::FileSize(path);
    job.AppendLog("_Ad_  (" + platform::FormatByteSize(size < 0 ? 0 : static_cast<uint64_t>(size)) + " )");
    return 1;
}

void LogLinkCount(SaveJob& job, int n, const LinkTable& table) {
    job.AppendLog("_Ad_100％");
    if (n >= 1) {
        job.AppendLog("  " + std::to_string(n) + "個のリンク先が見つかりました。");
        if (!table.leftOnline.empty())
            job.AppendLog("  　※リンク数が上限の" + std::to_string(table.capacity - 1) + "個を超えたため、残り" +
                          std::to_string(table.leftOnline.size()) + "個のリンク先は辿らず、オンラインのまま残します。");
    } else {
        job.AppendLog("  このページにリンクはもうありません。");
    }
}

bool IsFollowed(int32_t kind) {
    return kind == LinkPage || kind == CssData || kind == ScriptData || kind == AnswerDecides;
}

// How many of a page's linked pages wait in the pool ahead of the walk at a time. The walk
// goes in depth: the pages after the first link are needed only once that link's whole
// subtree is done, so fetching many of them early would fill the pool's window with files
// needed last and leave the deeper pages, needed first, to the walk itself.
constexpr size_t kPagesAheadPerPage = 4;

// What the pool fetches ahead of the walk for one page, in the walk's order: its embedded
// files, which the walk fetches first, and a few of its linked pages at a time; as the walk
// passes a link, the next page likely to be fetched joins. They go to the pool as soon as the
// classification names them, so that the first ones arrive while the walk still classifies
// the rest. Only guesses without side effects: each step still runs its own admission and
// drops what it does not use.
class LinksAhead {
public:
    LinksAhead(SaveJob& job, const LinkTable& table, CrawlState& state, Prefetcher* prefetch)
        : m_job(job), m_table(table), m_state(state), m_prefetch(AheadOf(job, prefetch)),
          m_submitted(static_cast<size_t>(table.Count()) + 1, false) {
        const uint32_t depth = state.recursionDepth + 1;
        m_pages = m_prefetch && depth <= kMaxRecursionDepth;
        if (m_pages && job.Has(mode::BlogSite)) {
            const uint16_t cutOff = job.BlogCutOff();
            if (cutOff != mode::BlogCutOffUnlimited && depth > cutOff) m_pages = false;
        }
        if (m_pages) m_selection = job.TraceSelection();
        // Query links get their real addresses back only after the classification.
        m_early = !job.Has(mode::FollowDynamicPages);
    }

    // Link `i` has its kind and its path.
    void Classified(int i) {
        if (!m_early || !m_prefetch) return;
        m_classified = i;
        SubmitEmbed(i);
        Fill(false);
    }

    // The table is final: what the classification did not hand on yet goes now.
    void Start() {
        if (!m_prefetch) return;
        for (int i = 1; i <= m_table.Count(); ++i) SubmitEmbed(i);
        m_classified = m_table.Count();
        Fill(false);
    }

    // The walk is past link `i`: the pages after it are handed on, the nearest on top.
    void Pass(int i) {
        if (!m_prefetch) return;
        while (!m_ahead.empty() && m_ahead.front() <= i) m_ahead.pop_front();
        // A page saved on the way, through a deeper link, is fetched no more.
        std::erase_if(m_ahead, [this](int k) { return !Likely(k); });
        Fill(true);
    }

private:
    void SubmitEmbed(int i) {
        if (m_table.kinds[i] != EmbedData || m_submitted[i] || m_state.HasFile(m_table.paths[i])) return;
        m_submitted[i] = true;
        m_prefetch->SubmitEmbed(m_table.urls[i], m_table.paths[i]);
    }

    // The pool takes the page submitted last first: the nearest goes last. Deeper pages may
    // have gone on top since, so a pass hands them all on again.
    void Fill(bool again) {
        if (!m_pages) return;
        const size_t before = m_ahead.size();
        for (; m_ahead.size() < kPagesAheadPerPage && m_next <= m_classified; ++m_next)
            if (Likely(m_next)) m_ahead.push_back(m_next);
        if (m_ahead.size() == before && !again) return;
        for (auto it = m_ahead.rbegin(); it != m_ahead.rend(); ++it)
            m_prefetch->SubmitPage(m_table.urls[*it], m_table.paths[*it]);
    }

    bool Likely(int i) {
        const int32_t kind = m_table.kinds[i];
        if (!IsFollowed(kind) || !InTraceSelection(m_table.urls[i], m_state.recursionDepth + 1, m_selection))
            return false;
        if (kind == AnswerDecides && m_state.decided.count(m_table.urls[i]) > 0) return false;
        return StillToFetch(m_job, m_table.paths[i], m_state);  // saved, a placeholder, or in the way
    }

    SaveJob& m_job;
    const LinkTable& m_table;
    CrawlState& m_state;
    Prefetcher* m_prefetch;
    bool m_pages = false;
    bool m_early = false;
    std::vector<std::string> m_selection;
    std::vector<bool> m_submitted;  // embedded files handed on, by link
    std::deque<int> m_ahead;  // links handed on and not passed yet, in the walk's order
    int m_next = 1;           // the first link not looked at yet
    int m_classified = 0;     // the last link with its kind
};

struct DirectoryLinks {
    std::vector<std::string> urls;
    std::vector<std::string> paths;
};

// Classifies every link of the page; collects the links to folders.
// A link whose answer has been heard already is what that answer made of it.
void TakeDecision(const CrawlState& state, const std::string& url, int32_t& kind, std::string& path) {
    const auto it = state.decided.find(url);
    if (it == state.decided.end()) return;
    kind = it->second.kind;
    path = it->second.path;
}

// Links whose answers came while the walk followed them now name what was stored.
void ApplyDecisions(const CrawlState& state, LinkTable& table) {
    if (state.decided.empty()) return;
    for (int i = 1; i <= table.Count(); ++i)
        if (table.kinds[i] == AnswerDecides) TakeDecision(state, table.urls[i], table.kinds[i], table.paths[i]);
}

void ClassifyLinks(SaveJob& job, const std::string& localPath, const std::string& url, int32_t level,
                   LinkTable& table, DirectoryLinks& dirs, const CrawlState& state, LinksAhead* ahead = nullptr) {
    const int n = table.Count();
    const bool followDynamic = job.Has(mode::FollowDynamicPages);
    const int mark30 = static_cast<int>(n * 0.3);
    const int mark60 = static_cast<int>(n * 0.6);
    for (int i = 1; i <= n; ++i) {
        job.Pause(job.CpuSleepMs());
        std::string link = table.urls[i];
        const bool toFolder = link.empty() || link.back() == '/';
        int32_t kind = NotFollowed, linkLevel = 0;
        std::string path;
        (void)ClassifyLink(job, localPath, url, level, path, link, kind, linkLevel);
        if (kind == DynamicPage) kind = followDynamic ? LinkPage : NotFollowed;
        // Such a link with a query is a query page: followed only where query pages are; and
        // a form's value ("Go", "yes") is no address whose answer could decide.
        if (kind == AnswerDecides &&
            (table.nameMustSay[i] || (!followDynamic && link.find('?') != std::string::npos)))
            kind = NotFollowed;
        if (kind == AnswerDecides) TakeDecision(state, link, kind, path);
        // What the site's robots.txt forbids stays online, like any link not followed. Links to
        // other sites wait for the user's choice, so their hosts are not asked here.
        if (kind != NotFollowed && kind != OutDomainEmbed && kind != OutDomainPage && IsAbsoluteUrl(link) &&
            !RobotsAllowLink(job, link))
            kind = NotFollowed;
        if (toFolder && kind != NotFollowed) {
            dirs.urls.push_back(table.urls[i]);
            dirs.paths.push_back(path);
        }
        table.urls[i] = link;
        table.paths[i] = path;
        table.kinds[i] = kind;
        table.levels[i] = linkLevel;
        if (ahead) ahead->Classified(i);
        if (i == mark30) job.AppendLog("_Ad_20％･･･");
        if (i == mark60) job.AppendLog("_Ad_40％･･･");
    }
    job.AppendLog("_Ad_70％･･･");
}

// Query URLs get their local names before the classification...
void NameDynamicLinks(LinkTable& table, std::vector<std::string>& originals, std::vector<std::string>& newNames) {
    for (int i = 1; i <= table.Count(); ++i) {
        std::string name;
        if (DynamicLocalName(table.urls[i], name, originals, newNames) > 0) table.urls[i] = name;
    }
}

// ...and their real URLs back afterwards, while the local paths keep the new names.
void RestoreDynamicUrls(LinkTable& table, const std::vector<std::string>& originals) {
    size_t next = 0;
    for (int i = 1; i <= table.Count() && next < originals.size(); ++i) {
        size_t p = table.urls[i].find("__php__");
        if (p == std::string::npos) continue;
        table.urls[i] = table.urls[i].substr(0, p) + originals[next++];
    }
}

int CountTaken(const LinkTable& table) {
    int taken = 0;
    for (int i = 1; i <= table.Count(); ++i) {
        switch (table.kinds[i]) {
        case EmbedData: case LinkPage: case CssData: case ScriptData: case PlayList: case AnswerDecides: ++taken; break;
        default: break;
        }
    }
    return taken;
}

int FollowLinks(SaveHost& host, SaveJob& job, LinkTable& table, CrawlState& state, Prefetcher* prefetch,
                LinksAhead& ahead) {
    int result = 1;
    for (int i = 1; i <= table.Count(); ++i) {
        // An answer heard deeper in the walk since this page was classified is not asked again.
        if (table.kinds[i] == AnswerDecides) {
            TakeDecision(state, table.urls[i], table.kinds[i], table.paths[i]);
            if (!IsFollowed(table.kinds[i])) job.LinkDone(1);
        }
        const int32_t kind = table.kinds[i];
        if (!IsFollowed(kind)) continue;
        if (job.StopRequested()) return 0;
        state.recursionDepth += 1;
        job.AppendLog(table.urls[i] + "からＤＬ中…");
        job.AppendLog(LevelLine(table.levels[i], state.recursionDepth));
        state.stepFailure.clear();
        int r = CrawlStep(host, job, table.paths[i], table.urls[i], table.levels[i], state, prefetch,
                          kind == AnswerDecides);
        state.guessedAbsent.erase(table.paths[i]);
        state.recursionDepth -= 1;
        if (r == 0) {
            result = 0;
            job.AppendLog("ページ「" + ShortUrlForLog(table.urls[i]) + "」のコンプリートに失敗。");
            job.AppendLog(ReasonLine("  ", state.stepFailure.empty() ? kReasonBelow : state.stepFailure,
                                     table.urls[i]));
        }
        state.stepFailure.clear();
        job.LinkDone(1);
        ahead.Pass(i);
    }
    return result;
}

// The pages the retries take next go to the pool, the nearest on top, as a page's links do.
void SubmitDeferredPages(SaveJob& job, CrawlState& state, Prefetcher* prefetch) {
    Prefetcher* ahead = AheadOf(job, prefetch);
    if (!ahead) return;
    const size_t n = std::min(state.deferred.size(), kPagesAheadPerPage);
    for (size_t i = n; i-- > 0;)
        if (StillToFetch(job, state.deferred[i].path, state))
            ahead->SubmitPage(state.deferred[i].url, state.deferred[i].path);
}

// `failure` receives why the file did not come.
int FetchEmbed(SaveJob& job, const std::string& url, const std::string& path, Prefetcher* prefetch,
               std::string& failure, FetchOrigin& origin) {
    int ok = FirstTry(job, prefetch, url, path, &origin);
    if (!ok && job.Has(mode::RetryOnFailure) && !job.StopRequested() && !job.HostUnreachable(url)) {
        job.AppendLog("    応答を待機中…");
        job.Pause(job.Run().retryWaitMs);
        ok = FetchUrlToFile(job, url, path, &origin);
    }
    if (!ok) failure = std::move(origin.failure);
    return ok;
}

// The address the page's links are read against: its own, or its <base href>.
std::string LinkBaseOf(const std::string& localPath, const std::string& url, std::string_view text) {
    if (platform::EndsWithI(localPath, ".css") || platform::EndsWithI(localPath, ".js")) return url;
    const std::string href = BaseHrefOf(text.substr(0, kBaseHeadBytes));
    if (href.empty()) return url;
    const std::string base = JoinUrl(url, href);
    return IsAbsoluteUrl(base) ? base : url;
}

// Every link of the page, the ones past the table's last slot included, reaches the copy or
// the site online (read against `linkBase`). Scripts keep their text. True when it changed
// the text.
bool PointPageAtCopy(SaveJob& job, const std::string& localPath, const std::string& linkBase, const LinkTable& table,
                     const CrawlState& state, std::string& text) {
    if (platform::EndsWithI(localPath, ".js") || job.StopRequested()) return false;
    const std::string dataFolder = job.LogFolder();
    if (dataFolder.empty()) return false;
    const WillBeSaved deferred = [&state](const std::string& u) { return state.deferredUrls.count(u) > 0; };
    const FileKnown exists = [&state](const std::string& path) { return state.HasFile(path); };
    const bool pointed = PointLinksAtCopyText(text, localPath, linkBase, dataFolder, table, deferred, exists);
    return DisableBaseHref(text) || pointed;
}

// A page with links pointed online is looked at again at the end of the run, when one of the
// files they name was saved by then. Only a few names per page are kept; a page with more is
// always looked at.
constexpr size_t kRelinkTargetsKept = 8;

void NotePointedOnline(SaveJob& job, const std::string& localPath, const std::string& linkBase,
                       std::string_view text, CrawlState& state) {
    PointedOnline page{localPath, linkBase, {}, false};
    page.targetsKnown = RelinkTargets(text, localPath, linkBase, job.LogFolder(), kRelinkTargetsKept, page.targets);
    if (page.targetsKnown && page.targets.empty()) return;  // nothing there could change
    state.pointedOnline.push_back(std::move(page));
}

bool AnySaved(const std::vector<std::string>& paths) {
    return std::any_of(paths.begin(), paths.end(), [](const std::string& p) { return platform::IsRegularFile(p); });
}

// The page step after its fetch: conversion, scan, classification, rewrite, embedded files,
// recursion into linked pages and the record of the page.
int SaveFetchedPage(SaveHost& host, SaveJob& job, const std::string& localPath, const std::string& url,
                    int32_t level, CrawlState& state, Prefetcher* prefetch, const FetchOrigin& origin,
                    PageText& page);

int CrawlStep(SaveHost& host, SaveJob& job, const std::string& localPath, const std::string& url, int32_t level,
              CrawlState& state, Prefetcher* prefetch, bool answerDecides) {
    if (job.StopRequested()) {
        state.stepFailure = kReasonStopped;
        return 0;
    }
    if (const Admission admission = AdmitPage(job, localPath, url, level, state, answerDecides);
        admission != Admission::Admitted) {
        // A page left for the retries keeps what was fetched ahead of it for then.
        if (prefetch && admission == Admission::Deferred) prefetch->Keep(localPath);
        else if (prefetch) prefetch->Drop(localPath);
        return 1;
    }
    if (!SelectedForTrace(job, url, state)) {
        if (prefetch) prefetch->Drop(localPath);
        if (!IsSavedCopy(localPath) && !WriteCanceledPage(url, localPath))
            job.AppendLog("  ！キャンセルページを書き込めません: " + localPath);
        return 1;
    }
    job.AppendSimpleLog(url);

    FetchOrigin origin;
    PageText page;
    if (!FetchPage(job, localPath, url, prefetch, origin, page.staged, answerDecides)) {
        // Such a link that failed leaves no failure page: its links keep the online address.
        if (!answerDecides || IsSavedCopy(localPath)) {
            NoteFetchFailed(job, url, localPath, true, &origin);
            return PageFetchFailed(job, localPath, url, level, origin.failure, state);
        }
        state.decided[url] = {NotFollowed, {}};
        state.stepFailure = origin.failure.empty() ? std::string(kReasonUnknown) : origin.failure;
        job.AppendLog("  ＤＬに失敗しました。");
        job.AppendLog(ReasonLine("  ", state.stepFailure, url));
        return 0;
    }
    if (!answerDecides) return SaveFetchedPage(host, job, localPath, url, level, state, prefetch, origin, page);
    // The answer decides before anything reads the file, so a big file is never held in memory.
    const int32_t kind = KindOfAnswer(origin.contentType);
    if (kind == EmbedData) return KeepAnswerAsFile(job, localPath, url, page.staged, state);
    const std::string path = kind == CssData ? AnswerStem(localPath) + ".css" : localPath;
    state.decided[url] = {kind, path};
    return SaveFetchedPage(host, job, path, url, level, state, prefetch, origin, page);
}

int SaveFetchedPage(SaveHost& host, SaveJob& job, const std::string& localPath, const std::string& url,
                    int32_t level, CrawlState& state, Prefetcher* prefetch, const FetchOrigin& origin,
                    PageText& page) {
    const std::string fetched = page.staged.empty() ? localPath : page.staged;
    if (job.Has(mode::NotFoundTitleCheck) && IsNotFoundPage(fetched)) {
        NoteFetchFailed(job, url, localPath, true, &origin);
        (void)page.Save(job, localPath);  // kept as it came
        RecordPage(job, localPath, url, level, 0);
        job.AppendLog("  ページタイトルに404(NotFound)が見つかりました。ＤＬ失敗として扱います。");
        state.stepFailure = kReasonNotFoundTitle;
        return 0;
    }
    page.Read(localPath);
    NoteFetchedPage(job, url, localPath, origin, page.text, page.readable, fetched);
    if (page.readable) {
        bool& savedCopy = state.filesInPlace[localPath];
        savedCopy = savedCopy || IsSavedCopyText(page.text);
    }
    // The document a page's scripts build replaces the fetched text before anything reads it.
    std::string contentType = origin.contentType;
    if (page.readable && IsSavedCopyText(page.text) &&
        RenderFetchedPage(job, IsAbsoluteUrl(origin.url) ? origin.url : url, page.text, contentType))
        page.changed = true;
    const int64_t pageSize = page.readable ? static_cast<int64_t>(page.text.size()) : platform::FileSize(fetched);

    LinkTable table;
    // Read before the conversion, which makes the <base> tag's own address relative.
    // A redirected page is stored under the address that was linked; its links are read
    // against the address it came from.
    const std::string linkBase = LinkBaseOf(localPath, IsAbsoluteUrl(origin.url) ? origin.url : url, page.text);
    page.changed |= ConvertPageText(job, page.text, linkBase);
    bool lineEndsChanged = false;
    const int n = page.readable ? ScanLinksText(page.text, table, lineEndsChanged) : 0;
    page.changed |= lineEndsChanged;
    LogLinkCount(job, n, table);
    if (n < 1) {
        (void)page.Save(job, localPath);
        RecordPage(job, localPath, url, level, pageSize);
        return 1;
    }

    LinkPathsToUtf8(table, CharsetOfText(page.text, contentType));
    if (linkBase != url) RebaseLinks(table, linkBase, url);
    const bool followDynamic = job.Has(mode::FollowDynamicPages);
    std::vector<std::string> originals, newNames;
    if (followDynamic) NameDynamicLinks(table, originals, newNames);
    DirectoryLinks dirs;
    LinksAhead ahead(job, table, state, prefetch);
    ClassifyLinks(job, localPath, url, level, table, dirs, state, &ahead);
    if (followDynamic) RestoreDynamicUrls(table, originals);
    page.changed |= RewritePageLinks(job, page.text, localPath, url, level, table) == 1;
    job.AppendLog("_Ad_100％");
    job.AddFound(static_cast<uint32_t>(CountTaken(table)));

    ahead.Start();
    int result = DownloadEmbedsWith(host, job, table, prefetch, &state);
    page.Park(job, localPath);
    result &= FollowLinks(host, job, table, state, prefetch, ahead);
    page.Unpark(localPath);
    ApplyDecisions(state, table);

    if (!dirs.urls.empty()) {
        const FileKnown exists = [&state](const std::string& path) { return state.HasFile(path); };
        page.changed |= FixDirectoryLinksText(url, page.text, dirs.urls, dirs.paths, exists);
    }
    if (followDynamic && !originals.empty()) page.changed |= FixDynamicLinksText(page.text, originals, newNames);
    const bool pointed = PointPageAtCopy(job, localPath, linkBase, table, state, page.text);
    page.changed |= pointed;
    if (page.Save(job, localPath) && pointed) NotePointedOnline(job, localPath, linkBase, page.text, state);
    RecordPage(job, localPath, url, level, pageSize);
    return result;
}

// The pages of the sitemaps join the walk as links of the start page would: each passes the
// same classification (hosts, folder, level, extensions, robots.txt), none widens it. A page
// this run has saved through its links already is passed over without a word.
int FollowSeeds(SaveHost& host, SaveJob& job, const std::string& startPath, const std::string& startUrl,
                int32_t level, const std::vector<std::string>& seeds, CrawlState& state, Prefetcher* prefetch) {
    LinkTable table;
    for (const std::string& seed : seeds) {
        if (table.Full()) break;
        std::string link = seed;
        if (MakeRelative(link, startUrl)) table.Add(std::move(link), seed);
    }
    if (table.Count() == 0) return 1;
    job.AppendLog("サイトマップのページを調べています…");
    const bool followDynamic = job.Has(mode::FollowDynamicPages);
    std::vector<std::string> originals, newNames;
    if (followDynamic) NameDynamicLinks(table, originals, newNames);
    DirectoryLinks dirs;
    ClassifyLinks(job, startPath, startUrl, level, table, dirs, state);
    if (followDynamic) RestoreDynamicUrls(table, originals);
    for (int i = 1; i <= table.Count(); ++i)
        if (IsFollowed(table.kinds[i]) && state.SavedCopy(table.paths[i])) table.kinds[i] = NotFollowed;
    job.AppendLog("_Ad_100％");
    job.AddFound(static_cast<uint32_t>(CountTaken(table)));
    LinksAhead ahead(job, table, state, prefetch);
    ahead.Start();
    const int result = DownloadEmbedsWith(host, job, table, prefetch, &state);
    return FollowLinks(host, job, table, state, prefetch, ahead) & result;
}

int DownloadEmbedsWith(SaveHost& host, SaveJob& job, const LinkTable& table, Prefetcher* prefetch,
                       CrawlState* state) {
    int result = 1;
    bool announced = false;
    for (int i = 1; i <= table.Count(); ++i) {
        const int32_t kind = table.kinds[i];
        if (kind != EmbedData && kind != PlayList) continue;
        const std::string& path = table.paths[i];
        FetchOrigin origin;
        if (!job.StopRequested() && !(state ? state->HasFile(path) : platform::FileExists(path))) {
            if (!announced) job.AppendLog("  埋め込みデータをＤＬ中…");
            announced = true;
            job.AppendLog("    " + platform::NameOf(path));
            if (kind == PlayList) {
                (void)HandlePlayList(host, job, table.urls[i], path, table.levels[i]);
            } else if (std::string failure; FetchEmbed(job, table.urls[i], path, prefetch, failure, origin)) {
                if (state) state->filesInPlace.emplace(path, false);
                const int64_t size = platform::FileSize(path);
                NoteFetchedFile(job, table.urls[i], path, origin, size);
                job.AppendLog("_Ad_  (" + platform::FormatByteSize(size < 0 ? 0 : static_cast<uint64_t>(size)) + " )");
            } else {
                NoteFetchFailed(job, table.urls[i], path, false, &origin);
                job.AppendLog("    ！ダウンロードに失敗");
                job.AppendLog(ReasonLine("    ", failure, table.urls[i]));
                result = 0;
            }
        } else if (prefetch && !job.StopRequested()) {
            // A file that arrived by another entry of the table needs nothing fetched ahead.
            prefetch->Drop(path);
        }
        job.LinkDone(1);
    }
    if (announced) job.AppendLog("  埋め込みデータのＤＬを完了。");
    return result;
}

}  // namespace

void CrawlState::Defer(const std::string& path, const std::string& url, int32_t level, bool answerDecides) {
    if (!deferredUrls.insert(url).second) return;
    deferred.push_back({path, url, level, answerDecides});
}

bool CrawlState::SavedCopy(const std::string& path) const {
    const auto it = filesInPlace.find(path);
    return it != filesInPlace.end() && it->second;
}

bool CrawlState::HasFile(const std::string& path) const {
    return filesInPlace.count(path) > 0 || platform::FileExists(path);
}

bool CrawlState::TakeFirst(DeferredPage& out) {
    if (deferred.empty()) return false;
    out = std::move(deferred.front());
    deferred.pop_front();
    deferredUrls.erase(out.url);
    return true;
}

std::string ShortUrlForLog(const std::string& url) {
    return url.size() >= 31 ? url.substr(0, 30) + "･･･" : url;
}

int NewSiteDownload(SaveHost& host, SaveJob& job, const std::string& startPath, const std::string& startUrl,
                    int32_t level, bool answerDecides, const std::vector<std::string>& seeds) {
    CrawlState state;
    state.refetchPath = startPath;
    // Owned by this run: its end deletes whatever was fetched ahead and not taken.
    // The pool hashes what it fetched for the history, off the walk's thread.
    Prefetcher prefetch(job, {}, KeepsHistory(job));
    // The page the user asked for is saved whatever robots.txt says; the log says it said no.
    if (IsAbsoluteUrl(startUrl) && !RobotsAllowUrl(job, startUrl))
        job.AppendLog("  ！robots.txt はこのページの取得を禁じていますが、開始ページのため取得します: " + startUrl);
    int result = CrawlStep(host, job, startPath, startUrl, level, state, &prefetch, answerDecides);
    if (!seeds.empty() && !job.StopRequested())
        result &= FollowSeeds(host, job, startPath, startUrl, level, seeds, state, &prefetch);
    if (!state.deferred.empty()) {
        job.AppendLog("===");
        job.AppendLog("エラーページのリトライを開始します。");
    }
    DeferredPage page;
    while (!job.StopRequested()) {
        SubmitDeferredPages(job, state, &prefetch);
        if (!state.TakeFirst(page)) break;
        state.recursionDepth = 0;
        job.AppendLog(page.url + "からＤＬ中…");
        job.AppendLog(LevelLine(page.level, 0));
        (void)CrawlStep(host, job, page.path, page.url, page.level, state, &prefetch, page.answerDecides);
        state.guessedAbsent.erase(page.path);
    }
    // Files saved after a page that linked them: that page's links lead to them again.
    if (!job.StopRequested())
        for (const PointedOnline& page : state.pointedOnline)
            if (!page.targetsKnown || AnySaved(page.targets))
                (void)RelinkToSavedFiles(page.path, page.linkBase, job.LogFolder());
    return result;
}

int CrawlPage(SaveHost& host, SaveJob& job, const std::string& localPath, const std::string& url, int32_t level,
              CrawlState& state) {
    return CrawlStep(host, job, localPath, url, level, state, nullptr);
}

int DownloadEmbeds(SaveHost& host, SaveJob& job, const LinkTable& table) {
    return DownloadEmbedsWith(host, job, table, nullptr, nullptr);
}

}  // namespace engine
