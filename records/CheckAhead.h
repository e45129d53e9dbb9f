// Asking ahead in an update: while the check handles one page or file (and saves a changed
// one again), a few threads already ask the server about the next ones, each into its own
// temporary name. The check takes the outcomes in its own order, so its log, its records and
// its result stay those of a check that asks one at a time.
//
// One object belongs to one walk on the worker thread, its only caller; the threads read the
// job (its options and stop request) and share nothing else but this object's lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/Fetcher.h"

namespace engine {
class SaveJob;
}

namespace records {

struct AheadItem {
    std::string url;   // "" or not a web address: nothing is asked
    std::string path;  // the name the checks judge the file by
    std::string temp;  // where the body goes; deleted unless taken
    engine::Validators known;
    bool ask = false;  // a conditional request with `known`
    bool own = false;  // not asked ahead: the walk asks it when it takes it (a name met twice)
};

struct AheadResult {
    int fetched = engine::FetchFailed;  // FetchDone, FetchNotModified or FetchFailed
    engine::FetchOrigin heard;
};

class CheckAhead {
public:
    static constexpr int kThreads = 6;
    static constexpr size_t kWindow = 24;  // items asked but not yet taken, at most

    CheckAhead(engine::SaveJob& job, std::vector<AheadItem> items, int threads = kThreads);
    // Ends what is under way, waits for the threads and deletes every body not taken.
    ~CheckAhead();
    CheckAhead(const CheckAhead&) = delete;
    CheckAhead& operator=(const CheckAhead&) = delete;

    // The outcome of item `i`, waiting for it when needed; items are taken in rising order, and
    // those passed over are dropped (their bodies deleted). Worker thread.
    AheadResult Take(size_t i);

private:
    enum class State { Pending, Running, Done, Taken, Dropped };
    class Cancel;

    void ThreadMain();
    AheadResult Ask(platform::HttpSession& http, const AheadItem& item);
    void DropBefore(size_t i);

    engine::SaveJob& m_job;
    std::vector<AheadItem> m_items;
    std::vector<AheadResult> m_results;
    std::vector<State> m_states;
    std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_next = 0;   // the next item a thread starts
    size_t m_taken = 0;  // the walk's position
    std::atomic<bool> m_shutdown{false};
    std::vector<std::thread> m_threads;
};

}  // namespace records
