#include "rerevu/TitleProgress.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>

#include "platform/BackgroundTask.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileUtil.h"
#include "platform/UiLanguage.h"
#include "rerevu/PageTitles.h"

namespace rerevu {

namespace {

constexpr auto kQuietWait = std::chrono::milliseconds(500);

// One fetch at a time per process; its state lives from the call to its return.
std::mutex g_oneFetch;

struct FetchState {
    std::mutex lock;
    std::condition_variable ended;
    bool done = false;
    std::atomic<bool> stop{false};
    std::string title;
    size_t length = 0;
};

int Finished(void* context) {
    auto* state = static_cast<FetchState*>(context);
    std::lock_guard<std::mutex> guard(state->lock);
    return state->done ? 1 : 0;
}

// The running process has a Qt application object (the static pointer Qt keeps for it).
bool ProcessRunsQt() {
    auto* self = static_cast<void**>(platform::ProcessSymbol("_ZN16QCoreApplication4selfE"));
    return self && *self;
}

std::string OwnFolder() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&FetchTitleWithProgress), &info) || !info.dli_fname) return {};
    return platform::FolderOf(info.dli_fname);
}

// 1 when the window closed by itself at the end of the fetch, 0 when the user closed it,
// -1 when no window could be shown.
int ShowProgressWindow(void* owner, FetchState& state) {
    const platform::DynamicLibrary companion(OwnFolder() + kQtCompanionName);
    const auto show = companion.Function<ShowProgressFn>(kQtShowProgressExport);
    if (!show) return -1;
    return show(owner, &Finished, &state, platform::InEnglish() ? 1 : 0);
}

}  // namespace

size_t FetchTitleWithProgress(void* owner, const std::string& url, int mode, size_t maxBytes, std::string& title) {
    title.clear();
    std::unique_lock<std::mutex> only(g_oneFetch, std::try_to_lock);
    if (!only.owns_lock()) return 0;

    FetchState state;
    platform::BackgroundTask worker;
    worker.Start([&state, url, mode, maxBytes](std::stop_token) {
        std::string found;
        const size_t length = mode == 1 ? FetchMangakanTitle(url, found, maxBytes, &state.stop)
                                        : FetchPageTitle(url, found, maxBytes, &state.stop);
        std::lock_guard<std::mutex> guard(state.lock);
        state.title = std::move(found);
        state.length = length;
        state.done = true;
        state.ended.notify_all();
    });

    bool cancelled = false;
    {
        std::unique_lock<std::mutex> guard(state.lock);
        state.ended.wait_for(guard, kQuietWait, [&state] { return state.done; });
    }
    if (!Finished(&state) && ProcessRunsQt()) cancelled = ShowProgressWindow(owner, state) == 0;
    if (cancelled) state.stop = true;
    worker.Wait();  // the transfer polls the stop flag, so a cancelled fetch ends promptly
    if (cancelled) return 0;
    title = state.title;
    return state.length;
}

}  // namespace rerevu
