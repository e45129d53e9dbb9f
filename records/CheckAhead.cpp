#include "records/CheckAhead.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "engine/SaveJob.h"
#include "engine/UrlModel.h"
#include "platform/Clock.h"
#include "platform/FileUtil.h"
#include "platform/HttpClient.h"

namespace records {

// Ends a request when the walk goes away or the job is stopped.
class CheckAhead::Cancel : public engine::FetchCancel {
public:
    explicit Cancel(const CheckAhead& owner) : m_owner(owner) {}
    bool Cancelled() const override { return m_owner.m_shutdown.load() || m_owner.m_job.StopRequested(); }
    void Pause(uint32_t ms) const override {
        for (uint32_t waited = 0; waited < ms && !Cancelled(); waited += 50) platform::SleepMs(std::min<uint32_t>(50, ms - waited));
    }

private:
    const CheckAhead& m_owner;
};

CheckAhead::CheckAhead(engine::SaveJob& job, std::vector<AheadItem> items, int threads)
    : m_job(job), m_items(std::move(items)), m_results(m_items.size()), m_states(m_items.size(), State::Pending) {
    const int wanted = std::min<int>(threads, static_cast<int>(m_items.size()));
    try {
        for (int i = 0; i < wanted; ++i) m_threads.emplace_back([this] { ThreadMain(); });
    } catch (const std::system_error&) {
        // Without threads the walk asks each item itself when it takes it.
    }
}

CheckAhead::~CheckAhead() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_shutdown = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads) thread.join();
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_states[i] == State::Done && m_results[i].fetched == engine::FetchDone)
            platform::DiscardTemporary(m_items[i].temp);
}

AheadResult CheckAhead::Ask(platform::HttpSession& http, const AheadItem& item) {
    AheadResult result;
    if (!engine::IsAbsoluteUrl(item.url)) return result;
    const Cancel cancel(*this);
    result.fetched = engine::FetchUrlIfChangedVia(http, m_job, item.url, item.path, item.temp,
                                                  item.ask ? &item.known : nullptr, &cancel, &result.heard);
    return result;
}

void CheckAhead::ThreadMain() {
    // Each thread keeps its own connections alive, with the save's client settings (and so
    // its cookies).
    const platform::HttpSession* save = m_job.Http();
    platform::HttpSession http(save ? save->Settings() : platform::DefaultHttpSettings());
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] {
            return m_shutdown || m_next >= m_items.size() || m_next < m_taken + kWindow;
        });
        if (m_shutdown || m_next >= m_items.size()) return;
        const size_t i = m_next++;
        if (m_states[i] != State::Pending || m_items[i].own) continue;
        m_states[i] = State::Running;
        lock.unlock();
        AheadResult result = Ask(http, m_items[i]);
        lock.lock();
        const bool dropped = m_states[i] == State::Dropped;
        if (dropped && result.fetched == engine::FetchDone) platform::DiscardTemporary(m_items[i].temp);
        if (!dropped) {
            m_results[i] = std::move(result);
            m_states[i] = State::Done;
        }
        m_changed.notify_all();
    }
}

void CheckAhead::DropBefore(size_t i) {
    for (size_t j = m_taken; j < i && j < m_items.size(); ++j) {
        if (m_states[j] == State::Done && m_results[j].fetched == engine::FetchDone)
            platform::DiscardTemporary(m_items[j].temp);
        if (m_states[j] != State::Taken) m_states[j] = State::Dropped;
    }
}

AheadResult CheckAhead::Take(size_t i) {
    std::unique_lock<std::mutex> lock(m_lock);
    if (i >= m_items.size()) return {};
    DropBefore(i);
    m_taken = std::max(m_taken, i);
    m_changed.notify_all();
    if (m_threads.empty() || m_items[i].own) {
        m_states[i] = State::Taken;
        lock.unlock();
        platform::HttpSession* own = m_job.Http();
        platform::HttpSession session;
        AheadResult result = Ask(own ? *own : session, m_items[i]);
        engine::SettleDeadHost(m_job, m_items[i].url, result.heard);
        for (std::string& line : std::exchange(result.heard.notes, {})) m_job.AppendLog(std::move(line));
        return result;
    }
    m_changed.wait(lock, [&] { return m_states[i] == State::Done; });
    m_states[i] = State::Taken;
    m_taken = i + 1;
    m_changed.notify_all();
    AheadResult result = std::move(m_results[i]);
    lock.unlock();
    engine::SettleDeadHost(m_job, m_items[i].url, result.heard);
    for (std::string& line : std::exchange(result.heard.notes, {})) m_job.AppendLog(std::move(line));
    return result;
}

}  // namespace records
