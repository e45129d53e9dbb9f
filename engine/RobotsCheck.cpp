#include "engine/RobotsCheck.h"

#include "engine/HostFile.h"
#include "engine/LinkText.h"
#include "engine/RobotsRules.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"

namespace engine {

namespace {

// "2", "1.5", "0.25": the delay as the file gave it.
std::string SecondsText(int64_t ms) {
    std::string text = std::to_string(ms / 1000);
    if (const int64_t rest = ms % 1000; rest != 0) {
        std::string fraction = std::to_string(rest + 1000).substr(1);
        while (fraction.back() == '0') fraction.pop_back();
        text += "." + fraction;
    }
    return text;
}

RobotsRules ReadRobots(SaveJob& job, const std::string& host) {
    const std::string robotsUrl = host + "/robots.txt";
    std::string text;
    const platform::HttpResponse response = FetchHostFile(job, robotsUrl, kRobotsMaxBytes + 1, text);
    if (response.result == platform::HttpOk) {
        RobotsRules rules = ParseRobots(text);
        if (rules.malformed)
            job.AppendLog("  robots.txt を一部しか読めませんでした（" + rules.problem + "）: " + robotsUrl);
        return rules;
    }
    // No robots.txt (4xx) leaves the site open; so does one that cannot be read, since the
    // user asked for this site to be kept.
    const bool missing = response.result == platform::HttpStatusError && response.status >= 400 && response.status < 500;
    if (!missing && response.result != platform::HttpCancelled)
        job.AppendLog("  robots.txt を読めないため、制限なしで取得します: " + robotsUrl);
    return {};
}

const RobotsRules* RulesFor(SaveJob& job, const std::string& url) {
    const std::string host = platform::AsciiLowerCopy(SchemeAndHost(url));
    if (host.rfind("http://", 0) != 0 && host.rfind("https://", 0) != 0) return nullptr;
    auto& known = job.Run().RobotsByHost();
    if (auto it = known.find(host); it != known.end()) return &it->second;
    const RobotsRules& rules = known.emplace(host, ReadRobots(job, host)).first->second;
    if (rules.crawlDelayMs > 0) {
        job.AppendLog("  Crawl-delay: " + SecondsText(rules.crawlDelayMs) + " 秒（" + host + "）");
        // The host's own wish paces every later request to it, the fetch-ahead threads' too.
        job.Run().Pacer().SetHostMinimumMs(host, static_cast<uint32_t>(rules.crawlDelayMs));
    }
    return &rules;
}

}  // namespace

bool RobotsAllowUrl(SaveJob& job, const std::string& url) {
    if (job.Named().ignoreRobots) return true;
    const RobotsRules* rules = RulesFor(job, url);
    return !rules || rules->Allows(RobotsPathOf(url));
}

bool RobotsAllowLink(SaveJob& job, const std::string& url) {
    if (RobotsAllowUrl(job, url)) return true;
    if (job.Run().RobotsRefusalsLogged().insert(url).second) job.AppendLog("  robots.txt により取得しません: " + url);
    return false;
}

std::vector<std::string> RobotsSitemaps(SaveJob& job, const std::string& url) {
    if (!job.Named().ignoreRobots) {
        const RobotsRules* rules = RulesFor(job, url);
        return rules ? rules->sitemaps : std::vector<std::string>();
    }
    const std::string host = platform::AsciiLowerCopy(SchemeAndHost(url));
    if (host.rfind("http://", 0) != 0 && host.rfind("https://", 0) != 0) return {};
    return ReadRobots(job, host).sitemaps;
}

}  // namespace engine
