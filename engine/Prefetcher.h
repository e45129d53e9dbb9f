// Fetching ahead of the crawl. The crawl walks one page at a time; while it converts a page
// or waits for one file, a few threads of this pool fetch the files it will ask for next, by
// the rules of FetchUrlToFile, each into a staging name beside its place (path + ".pre"). The
// crawl takes a staged file when it reaches it, so files, logs and counters stay exactly those
// of the walk alone.
//
// One pool belongs to one crawl run; the crawl's worker thread is its only caller. The pool
// threads read the job (its options and stop request) and share nothing else with the crawl
// but this pool's own lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine/Fetcher.h"

namespace platform {
class HttpSession;
}

namespace engine {

class SaveJob;

struct PrefetchLimits {
    int threads = 4;
    // Files fetched or being fetched but not yet taken, so that disk use stays bounded. A walk
    // in depth leaves a few pages fetched ahead on each level it went down through (the crawl
    // keeps four links of a page ahead), so the pages' window holds that many for the deepest
    // walk: with less, the pages of the lower levels fill it and the walk, far below, fetches
    // its own pages again.
    size_t pagesAhead = 256;
    size_t embedsAhead = 16;
};

class Prefetcher {
public:
    enum TakeResult : int {
        NotFetched = -1,  // no fetch ahead of this file (not begun, or kept and failed): fetch it now
        Failed = 0,       // fetched ahead, and the fetch failed
        Fetched = 1,      // the file now lies at its path
    };

    // With `hashFiles`, each file fetched ahead comes with its content hash (FetchOrigin::hash),
    // worked out on the pool's threads rather than the crawl's.
    explicit Prefetcher(const SaveJob& job, PrefetchLimits limits = {}, bool hashFiles = false);
    // Cancels what is under way, waits for the pool threads and deletes every file staged
    // and not taken, so that a stopped or finished crawl leaves no staging file behind.
    ~Prefetcher();
    Prefetcher(const Prefetcher&) = delete;
    Prefetcher& operator=(const Prefetcher&) = delete;

    // The staging name of a file fetched ahead.
    static std::string StagingPath(const std::string& path);

    // Embedded files of the page at hand, in the order the crawl takes them; they go before
    // any page, first in first out. A path that has a ticket already is left as it is, and so
    // is one whose staging name a file of the site bears.
    void SubmitEmbed(const std::string& url, const std::string& path);
    // Pages the crawl reaches later. The page submitted last is fetched first (a walk in
    // depth comes to it soonest); a page that waits already moves to the top.
    void SubmitPage(const std::string& url, const std::string& path);

    // The outcome for `path`, fetched from `url`. Waits for a fetch under way; a staged file is
    // moved into place. A ticket of another URL is dropped.
    // `origin`, when given, receives where a file fetched ahead came from. With `staged`, a
    // file fetched ahead stays at its staging name, given there, for the caller to move.
    [[nodiscard]] TakeResult Take(const std::string& url, const std::string& path, FetchOrigin* origin = nullptr,
                                  std::string* staged = nullptr);
    // The crawl will not use the file at `path` (the page is skipped): its ticket goes and a
    // staged file is deleted.
    void Drop(const std::string& path);
    // The crawl comes back to the page at `path` later (it lies too deep for now): a fetch
    // under way or done stays for then, no longer counted among the files fetched ahead; one
    // not begun, or failed, is forgotten, and so the page is fetched again then.
    void Keep(const std::string& path);

    // Requests that reached a pool thread so far (for tests and measurements).
    size_t Started() const;

private:
    enum class State { Pending, Running, Done };
    struct Ticket {
        std::string url;
        std::string path;
        bool embed = false;
        State state = State::Pending;
        int ok = 0;
        FetchOrigin origin;
        uint64_t order = 0;               // key in its queue while pending
        std::atomic<bool> abandoned{false};  // read by the running fetch without the lock
        bool kept = false;                   // its place among those fetched ahead is given up
    };
    using TicketMap = std::unordered_map<std::string, std::unique_ptr<Ticket>>;
    class TicketCancel;

    static bool StagingTaken(const std::string& path);
    void StartThreadsLocked();
    void ThreadMain();
    Ticket* NextLocked();
    bool ShouldWakeLocked() const;
    void RunTicket(Ticket& ticket, platform::HttpSession& http);
    void UnqueueLocked(Ticket& ticket);
    // A ticket that ran no longer counts among the files fetched ahead.
    void ReleaseLocked(Ticket& ticket);
    // Ends a ticket that is not running; returns the staged file to delete ("" for none).
    std::string EraseLocked(TicketMap::iterator it);
    // Drops or marks the ticket; returns the staged file to delete ("" for none).
    std::string AbandonLocked(TicketMap::iterator it);
    void PauseUnlessCancelled(const Ticket& ticket, uint32_t ms) const;
    bool Cancelled(const Ticket& ticket) const;

    const SaveJob& m_job;
    const PrefetchLimits m_limits;
    const bool m_hashFiles;

    mutable std::mutex m_lock;
    std::condition_variable m_work;  // pool threads: a ticket may start, or shut down
    std::condition_variable m_done;  // the crawl: a ticket has finished
    mutable std::condition_variable m_cancel;  // running fetches: shut down, or a ticket abandoned
    std::atomic<bool> m_shutdown{false};
    TicketMap m_tickets;                     // by local path
    std::map<uint64_t, Ticket*> m_embedQueue;  // pending embeds, oldest first
    std::map<uint64_t, Ticket*> m_pageQueue;   // pending pages, newest last
    uint64_t m_nextOrder = 0;
    size_t m_embedsAhead = 0;  // running or done, not taken
    size_t m_pagesAhead = 0;
    size_t m_started = 0;
    int m_idle = 0;               // pool threads waiting for a ticket
    bool m_crawlWaiting = false;  // the crawl waits in Take
    std::vector<std::jthread> m_threads;
    // Hosts a fetch ahead found dead, with the reason it heard: the pool asks them no more and
    // gives their later files that reason, for the walk to settle in its order.
    std::unordered_map<std::string, std::string> m_deadHosts;
};

}  // namespace engine
