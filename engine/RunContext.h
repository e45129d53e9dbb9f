// What one run of a save keeps for itself while it works: the pages it visited, the hosts
// that did not answer, the folders it made, its HTTP session and record files, and the
// waits between tries. Shared fields are kept under one lock; the worker-only ones are not.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/HostPacer.h"
#include "engine/RobotsRules.h"

namespace platform {
class HttpSession;
class ReplaySource;
}

namespace engine {

class JobRecords;

class RunContext {
public:
    static constexpr uint32_t kDefaultWaitMs = 3000;

    // Pages found on disk count as saved only once this run has visited them: set for a save
    // whose earlier records are missing, unreadable or from a run that did not end, so that
    // the links of every page are followed and every page is recorded again.
    bool RevisitSavedPages() const;
    void SetRevisitSavedPages(bool on);
    // True the first time this run asks for `path` (each page is visited once per run).
    bool MarkPageVisited(const std::string& path);
    bool PageVisited(const std::string& path) const;

    // The blog cut-off setting, read once per run on first use.
    uint16_t BlogCutOff() const;  // 80 until the setting has been read
    bool BlogCutOffRead() const;
    void SetBlogCutOff(uint16_t value);

    void AddOutDomainLink(std::string_view url, std::string_view sourcePath);
    void TakeOutDomainLinks(std::vector<std::string>& urls, std::vector<std::string>& paths) const;
    void SetOutDomainLinks(std::vector<std::string> urls, std::vector<std::string> paths);

    // Hosts ("http://host:port", any case) that did not resolve or answer during this save:
    // their later links fail at once instead of waiting for each connection again. Marked
    // from any fetching thread, hence const.
    void MarkHostUnreachable(std::string_view url) const;
    bool HostUnreachable(std::string_view url) const;

    // Record files of the job (absent: pages are saved without records).
    JobRecords* Records() const;
    void SetRecords(JobRecords* records);

    // The waits between requests to each host, shared by every fetching thread of the save.
    HostPacer& Pacer() const { return m_pacer; }
    // The worker's HTTP session; touched by the worker thread only.
    platform::HttpSession* Http() const { return m_http; }
    void SetHttp(platform::HttpSession* http) { m_http = http; }
    // The web archive the save reads instead of the network (null: the network); set before
    // the worker starts, which gives it to the sessions it makes.
    const std::shared_ptr<platform::ReplaySource>& Replay() const { return m_replay; }
    void SetReplay(std::shared_ptr<platform::ReplaySource> replay) { m_replay = std::move(replay); }
    // Folders of the save that its links have made or found, so that each is made once;
    // touched by the worker thread only.
    std::unordered_set<std::string>& MadeFolders() { return m_madeFolders; }

    // The robots.txt rules of each host ("http://host:port", lower case) read in this save, and
    // the URLs already logged as forbidden; touched by the worker thread only.
    std::unordered_map<std::string, RobotsRules>& RobotsByHost() { return m_robots; }
    std::unordered_set<std::string>& RobotsRefusalsLogged() { return m_robotsLogged; }

    // The pause before a broken transfer is resumed, and the wait before a failed page or
    // file is asked for once more (RetryOnFailure). Tests shorten them; set before the start.
    uint32_t resumePauseMs = kDefaultWaitMs;
    uint32_t retryWaitMs = kDefaultWaitMs;

private:
    mutable std::mutex m_lock;
    bool m_revisitSavedPages = false;
    std::unordered_set<std::string> m_visitedPages;
    uint16_t m_blogCutOff = 80;
    bool m_blogCutOffRead = false;
    std::vector<std::string> m_outDomainUrls, m_outDomainPaths;
    mutable std::unordered_set<std::string> m_unreachableHosts;
    mutable HostPacer m_pacer;
    JobRecords* m_records = nullptr;
    platform::HttpSession* m_http = nullptr;
    std::shared_ptr<platform::ReplaySource> m_replay;
    std::unordered_set<std::string> m_madeFolders;
    std::unordered_map<std::string, RobotsRules> m_robots;
    std::unordered_set<std::string> m_robotsLogged;
};

}  // namespace engine
