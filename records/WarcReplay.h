// A save's requests answered from a web archive: the latest capture of the URL asked for,
// redirects the archive recorded followed as the HTTP client follows them, and a URL the
// archive lacks answered as a page not found.
#pragma once

#include <memory>
#include <string>

#include "platform/ReplaySource.h"
#include "records/WarcReader.h"

namespace records {

// The status a URL that is not in the archive gets.
constexpr long kWarcMissingStatus = 404;

class WarcReplay : public platform::ReplaySource {
public:
    explicit WarcReplay(std::shared_ptr<const WarcArchive> archive) : m_archive(std::move(archive)) {}
    platform::HttpResponse Answer(const platform::HttpRequest& request,
                                  const std::function<bool(bool rangeHonoured)>& bodyStart,
                                  const std::function<bool(const char*, size_t)>& sink) override;
    // The count of records left out and the first of them.
    std::string DamageNote() const override;

private:
    std::shared_ptr<const WarcArchive> m_archive;
};

// Opens the archive at `path` (.warc, .warc.gz or .wacz) and reads its index. Null with `why`
// when the file cannot be read or holds no record; the archive's Problems() list the records
// that were left out.
std::shared_ptr<WarcArchive> OpenWebArchive(const std::string& path, std::string* why);

// A Location header resolved against the URL that sent it.
std::string ResolveLocation(const std::string& base, const std::string& location);

}  // namespace records
