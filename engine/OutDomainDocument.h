// The list document of the links to other sites: an XHTML page that is also an XML document
// in the program's own namespace, written in Shift-JIS with CR LF line ends.
#pragma once

#include <string>
#include <vector>

namespace engine {

constexpr const char* kOutDomainFolderName = "外部パスリンク";
constexpr const char* kOutDomainListName = "_外部ドメインへのリンク一覧.html";
constexpr const char* kOutDomainNamespace = "https://sitrova.invalid/qdotlk";

// One link of the list (text in UTF-8).
struct OutDomainItem {
    bool saved = false;
    std::string title;       // of the saved page; "" for none
    std::string localName;   // in the link folder
    std::string url;         // the destination as shown
    std::vector<std::string> sources;  // pages of the site, relative to the link folder
};

// The whole document in UTF-8.
std::string OutDomainDocumentText(const std::vector<OutDomainItem>& items);
// UTF-8 to Shift-JIS for a markup document: a character Shift-JIS cannot hold becomes a
// numeric character reference, so nothing is lost.
std::string MarkupToCp932(const std::string& utf8);

}  // namespace engine
