#include "engine/Prefetcher.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <system_error>

#include "engine/Fetcher.h"
#include "engine/LinkText.h"
#include "engine/RenderStep.h"
#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/ByteString.h"
#include "platform/ContentHash.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"

namespace engine {

namespace {

// How often a pause between resumed reads looks at the job's stop request, whose own wake-up
// this pool cannot hear.
constexpr auto kStopPollInterval = std::chrono::milliseconds(50);

}  // namespace

class Prefetcher::TicketCancel : public FetchCancel {
public:
    TicketCancel(const Prefetcher& owner, const Ticket& ticket) : m_owner(owner), m_ticket(ticket) {}
    bool Cancelled() const override { return m_owner.Cancelled(m_ticket); }
    void Pause(uint32_t ms) const override { m_owner.PauseUnlessCancelled(m_ticket, ms); }

private:
    const Prefetcher& m_owner;
    const Ticket& m_ticket;
};

Prefetcher::Prefetcher(const SaveJob& job, PrefetchLimits limits, bool hashFiles)
    : m_job(job), m_limits(limits), m_hashFiles(hashFiles) {}

Prefetcher::~Prefetcher() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_shutdown = true;
    }
    m_work.notify_all();
    m_cancel.notify_all();
    m_threads.clear();  // joins; a running fetch sees the shutdown and ends
    for (const auto& [path, ticket] : m_tickets)
        if (ticket->state == State::Done && ticket->ok) platform::DiscardTemporary(StagingPath(path));
}

std::string Prefetcher::StagingPath(const std::string& path) { return path + ".pre"; }

// A file of the site may bear the staging name; it is neither overwritten nor deleted.
bool Prefetcher::StagingTaken(const std::string& path) { return platform::FileExists(StagingPath(path)); }

void Prefetcher::SubmitEmbed(const std::string& url, const std::string& path) {
    if (StagingTaken(path)) return;
    bool wake = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_shutdown || m_limits.threads <= 0) return;
        auto [it, inserted] = m_tickets.try_emplace(path);
        if (!inserted) return;
        it->second = std::make_unique<Ticket>();
        Ticket& ticket = *it->second;
        ticket.url = url;
        ticket.path = path;
        ticket.embed = true;
        ticket.order = m_nextOrder++;
        m_embedQueue.emplace(ticket.order, &ticket);
        StartThreadsLocked();
        wake = ShouldWakeLocked();
    }
    if (wake) m_work.notify_one();
}

void Prefetcher::SubmitPage(const std::string& url, const std::string& path) {
    {
        // A page linked again while it waits only moves up: its staging name was looked at
        // when it was first submitted.
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_shutdown || m_limits.threads <= 0) return;
        const auto it = m_tickets.find(path);
        if (it != m_tickets.end()) {
            Ticket& ticket = *it->second;
            if (ticket.embed || ticket.state != State::Pending) return;
            // Needed sooner now than when it was first submitted.
            m_pageQueue.erase(ticket.order);
            ticket.order = m_nextOrder++;
            m_pageQueue.emplace(ticket.order, &ticket);
            return;
        }
    }
    if (StagingTaken(path)) return;
    bool wake = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_shutdown || m_limits.threads <= 0) return;
        auto [it, inserted] = m_tickets.try_emplace(path);
        if (!inserted) return;  // only the crawl submits, and it is here
        it->second = std::make_unique<Ticket>();
        Ticket& ticket = *it->second;
        ticket.url = url;
        ticket.path = path;
        ticket.order = m_nextOrder++;
        m_pageQueue.emplace(ticket.order, &ticket);
        StartThreadsLocked();
        wake = ShouldWakeLocked();
    }
    if (wake) m_work.notify_one();
}

Prefetcher::TakeResult Prefetcher::Take(const std::string& url, const std::string& path, FetchOrigin* origin,
                                        std::string* staged) {
    if (origin) *origin = {};
    TakeResult result = NotFetched;
    std::string discard;
    bool wake = false;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        auto it = m_tickets.find(path);
        if (it == m_tickets.end()) return NotFetched;
        Ticket* ticket = it->second.get();
        if (ticket->url != url || ticket->abandoned) {
            discard = AbandonLocked(it);
        } else if (ticket->state == State::Pending) {
            // Not begun: fetching it at once beats waiting for a thread to come free.
            (void)EraseLocked(it);
        } else {
            m_crawlWaiting = true;
            m_done.wait(lock, [ticket] { return ticket->state == State::Done; });
            m_crawlWaiting = false;
            // The retries of a page kept for them try again rather than inherit a failure.
            result = ticket->ok ? Fetched : ticket->kept ? NotFetched : Failed;
            if (result == Failed) SettleDeadHost(m_job, url, ticket->origin);
            // A failure that is not used leaves nothing, not even its log lines: the page's
            // fetch of the retries is its first.
            if (origin && result != NotFetched) *origin = std::move(ticket->origin);  // the ticket goes below
            // The staged file is moved into place below rather than deleted.
            ReleaseLocked(*ticket);
            m_tickets.erase(path);
        }
        wake = ShouldWakeLocked();
    }
    if (wake) m_work.notify_one();
    if (!discard.empty()) platform::DiscardTemporary(discard);
    if (result == Fetched && staged) {
        *staged = StagingPath(path);
    } else if (result == Fetched) {
        const std::string from = StagingPath(path);
        if (!platform::RenameFile(from, path)) {
            platform::DiscardTemporary(from);
            result = Failed;
        }
    }
    return result;
}

void Prefetcher::Drop(const std::string& path) {
    std::string discard;
    bool wake = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_tickets.find(path);
        if (it == m_tickets.end()) return;
        discard = AbandonLocked(it);
        wake = ShouldWakeLocked();
    }
    if (wake) m_work.notify_one();
    m_cancel.notify_all();
    if (!discard.empty()) platform::DiscardTemporary(discard);
}

void Prefetcher::Keep(const std::string& path) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_tickets.find(path);
        if (it == m_tickets.end()) return;
        Ticket& ticket = *it->second;
        if (ticket.state == State::Pending || (ticket.state == State::Done && !ticket.ok)) {
            (void)EraseLocked(it);
            return;
        }
        ReleaseLocked(ticket);
        ticket.kept = true;
        wake = ShouldWakeLocked();
    }
    if (wake) m_work.notify_one();
}

size_t Prefetcher::Started() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_started;
}

void Prefetcher::StartThreadsLocked() {
    if (!m_threads.empty()) return;
    // Started with the first ticket: a crawl that never fetches ahead costs no threads. Should
    // the system refuse threads, the tickets stay pending and the crawl fetches them itself.
    try {
        for (int i = 0; i < m_limits.threads; ++i) m_threads.emplace_back([this] { ThreadMain(); });
    } catch (const std::system_error&) {
    }
}

Prefetcher::Ticket* Prefetcher::NextLocked() {
    if (!m_embedQueue.empty() && m_embedsAhead < m_limits.embedsAhead) {
        auto first = m_embedQueue.begin();
        Ticket* ticket = first->second;
        m_embedQueue.erase(first);
        ++m_embedsAhead;
        return ticket;
    }
    if (!m_pageQueue.empty() && m_pagesAhead < m_limits.pagesAhead) {
        auto last = std::prev(m_pageQueue.end());
        Ticket* ticket = last->second;
        m_pageQueue.erase(last);
        ++m_pagesAhead;
        return ticket;
    }
    return nullptr;
}

// Pool thread.
void Prefetcher::ThreadMain() {
    // Each thread keeps its own connections alive, with the save's client settings (and so
    // its cookies).
    const platform::HttpSession* save = m_job.Http();
    platform::HttpSession http(save ? save->Settings() : platform::DefaultHttpSettings());
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        Ticket* ticket = nullptr;
        ++m_idle;
        m_work.wait(lock, [&] { return m_shutdown || (ticket = NextLocked()) != nullptr; });
        --m_idle;
        if (m_shutdown) return;
        ticket->state = State::Running;
        ++m_started;
        lock.unlock();
        RunTicket(*ticket, http);
        lock.lock();
    }
}

// Pool thread, called without the lock; returns without it.
void Prefetcher::RunTicket(Ticket& ticket, platform::HttpSession& http) {
    const TicketCancel cancel(*this, ticket);
    FetchOrigin origin;
    const std::string host = platform::AsciiLowerCopy(SchemeAndHost(ticket.url));
    bool dead = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (const auto it = m_deadHosts.find(host); it != m_deadHosts.end()) {
            origin.failure = it->second;
            origin.unreachable = dead = true;
        }
    }
    const int ok = dead || cancel.Cancelled() ? 0
                                              : FetchUrlToFileVia(http, m_job, ticket.url, ticket.path,
                                                                  StagingPath(ticket.path), &cancel, &origin,
                                                                  m_hashFiles);
    // Hashed as it came in, unless it was resumed or rewritten after.
    if (ok && m_hashFiles && origin.hash.empty()) origin.hash = platform::FileContentHash(StagingPath(ticket.path));
    // A page that lies on disk can go to the renderer now, while the walk is elsewhere.
    if (ok && !ticket.embed && !cancel.Cancelled())
        RenderFetchedAhead(m_job, IsAbsoluteUrl(origin.url) ? origin.url : ticket.url, StagingPath(ticket.path),
                           origin.contentType);
    std::string discard;
    bool crawlWaiting = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!ok && origin.unreachable && !host.empty()) m_deadHosts.try_emplace(host, origin.failure);
        ticket.state = State::Done;
        ticket.ok = ok;
        ticket.origin = std::move(origin);
        if (ticket.abandoned) discard = EraseLocked(m_tickets.find(ticket.path));
        crawlWaiting = m_crawlWaiting;
    }
    if (crawlWaiting) m_done.notify_one();
    // An abandoned ticket freed its place; this thread looks for work itself next.
    if (!discard.empty()) platform::DiscardTemporary(discard);
}

// An idle pool thread is woken only when a ticket may start, so that the crawl thread does
// not pay for wake-ups of threads that would find nothing to do.
bool Prefetcher::ShouldWakeLocked() const {
    if (m_idle == 0) return false;
    return (!m_embedQueue.empty() && m_embedsAhead < m_limits.embedsAhead) ||
           (!m_pageQueue.empty() && m_pagesAhead < m_limits.pagesAhead);
}

void Prefetcher::ReleaseLocked(Ticket& ticket) {
    if (!ticket.kept) (ticket.embed ? m_embedsAhead : m_pagesAhead) -= 1;
}

void Prefetcher::UnqueueLocked(Ticket& ticket) {
    (ticket.embed ? m_embedQueue : m_pageQueue).erase(ticket.order);
}

std::string Prefetcher::EraseLocked(TicketMap::iterator it) {
    Ticket& ticket = *it->second;
    std::string discard;
    if (ticket.state == State::Pending) {
        UnqueueLocked(ticket);
    } else {
        ReleaseLocked(ticket);
        if (ticket.ok) discard = StagingPath(ticket.path);
    }
    m_tickets.erase(it);
    return discard;
}

std::string Prefetcher::AbandonLocked(TicketMap::iterator it) {
    Ticket& ticket = *it->second;
    if (ticket.state != State::Running) return EraseLocked(it);
    // The thread that runs it deletes what it fetched; until then the path keeps its ticket,
    // so no second fetch ahead can write the same staging name.
    ticket.abandoned = true;
    return {};
}

bool Prefetcher::Cancelled(const Ticket& ticket) const {
    return m_shutdown || ticket.abandoned || m_job.StopRequested();
}

void Prefetcher::PauseUnlessCancelled(const Ticket& ticket, uint32_t ms) const {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
    while (!Cancelled(ticket)) {
        const Clock::time_point now = Clock::now();
        if (now >= until) return;
        std::unique_lock<std::mutex> lock(m_lock);
        m_cancel.wait_until(lock, std::min(until, now + kStopPollInterval),
                            [&] { return m_shutdown || ticket.abandoned; });
    }
}

}  // namespace engine
