#include "engine/RunContext.h"

#include <utility>

#include "engine/LinkText.h"
#include "platform/ByteString.h"

namespace engine {

using Guard = std::lock_guard<std::mutex>;

bool RunContext::RevisitSavedPages() const { Guard g(m_lock); return m_revisitSavedPages; }
void RunContext::SetRevisitSavedPages(bool on) { Guard g(m_lock); m_revisitSavedPages = on; }
bool RunContext::MarkPageVisited(const std::string& path) { Guard g(m_lock); return m_visitedPages.insert(path).second; }
bool RunContext::PageVisited(const std::string& path) const { Guard g(m_lock); return m_visitedPages.count(path) != 0; }

uint16_t RunContext::BlogCutOff() const { Guard g(m_lock); return m_blogCutOff; }
bool RunContext::BlogCutOffRead() const { Guard g(m_lock); return m_blogCutOffRead; }
void RunContext::SetBlogCutOff(uint16_t v) { Guard g(m_lock); m_blogCutOff = v; m_blogCutOffRead = true; }

void RunContext::AddOutDomainLink(std::string_view url, std::string_view sourcePath) {
    Guard g(m_lock);
    m_outDomainUrls.emplace_back(url);
    m_outDomainPaths.emplace_back(sourcePath);
}

void RunContext::TakeOutDomainLinks(std::vector<std::string>& urls, std::vector<std::string>& paths) const {
    Guard g(m_lock);
    urls = m_outDomainUrls;
    paths = m_outDomainPaths;
}

void RunContext::SetOutDomainLinks(std::vector<std::string> urls, std::vector<std::string> paths) {
    Guard g(m_lock);
    m_outDomainUrls = std::move(urls);
    m_outDomainPaths = std::move(paths);
}

void RunContext::MarkHostUnreachable(std::string_view url) const {
    std::string host = platform::AsciiLowerCopy(SchemeAndHost(url));
    if (host.empty()) return;
    Guard g(m_lock);
    m_unreachableHosts.insert(std::move(host));
}

bool RunContext::HostUnreachable(std::string_view url) const {
    const std::string host = platform::AsciiLowerCopy(SchemeAndHost(url));
    Guard g(m_lock);
    return !host.empty() && m_unreachableHosts.count(host) > 0;
}

JobRecords* RunContext::Records() const { Guard g(m_lock); return m_records; }
void RunContext::SetRecords(JobRecords* records) { Guard g(m_lock); m_records = records; }

}  // namespace engine
