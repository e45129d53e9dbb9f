#include "engine/HostFile.h"

#include <memory>

#include "engine/RobotsRules.h"
#include "engine/SaveJob.h"

namespace engine {

namespace {

constexpr int kHostFileTimeoutSec = 30;

}  // namespace

platform::HttpResponse FetchHostFile(SaveJob& job, const std::string& url, size_t maxBytes, std::string& bytes) {
    platform::HttpRequest request;
    request.url = url;
    request.agent = std::string(kRobotsProductToken);
    request.connectTimeoutSec = kHostFileTimeoutSec;
    request.receiveTimeoutSec = kHostFileTimeoutSec;
    request.stopRequested = [&job] { return job.StopRequested(); };
    std::unique_ptr<platform::HttpSession> own;
    platform::HttpSession* http = job.Http();
    if (!http) {
        own = std::make_unique<platform::HttpSession>();
        http = own.get();
    }
    // A request to the host like any other: it keeps the save's interval.
    const NamedOptions named = job.Named();
    HostPacer& pacer = job.Run().Pacer();
    pacer.WaitTurn(url, static_cast<uint32_t>(named.waitMs), named.waitRandom, [&job](uint32_t ms) { job.Pause(ms); });
    platform::HttpResponse response = http->FetchToMemory(request, bytes, maxBytes);
    pacer.RequestEnded(url);
    return response;
}

}  // namespace engine
