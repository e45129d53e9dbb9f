// Stand-in until link rewriting lands: links to other sites' files are not relocated.
#include "engine/LinkRewriter.h"

#include "engine/LinkKind.h"

namespace engine {

int RewritePageLinks(SaveJob&, const std::string& pagePath, const std::string& pageUrl, int32_t pageLevel,
                     LinkTable& table) {
    return RelocateOutDomainEmbeds(pagePath, pageUrl, pageLevel, table);
}

int RelocateOutDomainEmbeds(const std::string&, const std::string&, int32_t, LinkTable& table) {
    for (int i = 1; i <= table.Count(); ++i)
        if (table.kinds[i] == OutDomainEmbed) table.kinds[i] = NotFollowed;
    return 0;
}

void FixDirectoryLinks(const std::string&, const std::string&, const std::vector<std::string>&,
                       const std::vector<std::string>&) {}

void FixDynamicLinks(SaveJob&, const std::string&, const std::vector<std::string>&, const std::vector<std::string>&) {}

}  // namespace engine
